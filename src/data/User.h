#pragma once

#include <QString>

#include <array>
#include <functional>

class QIODevice;

// The user's grades, kept in USER.QXV (in the program folder, or in the learner's data folder
// where the program folder is write-protected, see Benutzerordner): a first line with two quoted
// texts that the trainer carries along unchanged, then one grade a line for topics 1 to 11.
// Grade 1: not yet quizzed; 2: below 80 % right; 3: from 80 %; 4: from 99 %.
struct Benutzerwertung {
    static constexpr int AnzahlThemen = 11;

    QString Kopf1 = QStringLiteral(" ");
    QString Kopf2 = QStringLiteral(" ");

    qint16 Ergebnis(int thema) const;
    // Numbers outside 1 to 11 are ignored.
    void setzeErgebnis(int thema, qint16 note);

    // False if the data ends before the eleventh grade; then the record is unchanged.
    bool lese(QIODevice& geraet);
    // The exact bytes of USER.QXV, Windows-1252 with CR LF.
    QByteArray alsDatei() const;

    bool operator==(const Benutzerwertung&) const = default;

private:
    std::array<qint16, AnzahlThemen + 1> m_ergebnis = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

// The program's one set of grades.
Benutzerwertung& Benutzer();

namespace User {

// The file the grades are saved to this run.
QString dateiname();

// Reads USER.QXV. If it is missing, cannot be read or ends too early, ersterStart is
// called (the trainer shows its About dialog there) and the defaults are taken.
// Returns whether the file was read.
bool LadeBenutzer(const std::function<void()>& ersterStart);

// Writes USER.QXV beside, then puts it in place, so that a failure at any point leaves
// the old file as it was. On failure, fehler (if given) says why.
bool SpeichereBenutzer(QString* fehler = nullptr);

// The same into a device; false if the device took fewer bytes than it was given.
bool schreibe(const Benutzerwertung& wertung, QIODevice& geraet);

} // namespace User
