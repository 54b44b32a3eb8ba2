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
    // Numbers outside 1 to 11 are ignored. The topic counts as graded in this run.
    void setzeErgebnis(int thema, qint16 note);
    bool benotet(int thema) const;

    // The record to save over what the file holds now: its texts and grades, with the topics
    // graded in this run taken from this one, so that a second writer of the file (another
    // trainer, another computer on a shared folder) loses nothing.
    Benutzerwertung ueber(const Benutzerwertung& datei) const;

    // False if the data ends before the eleventh grade; then the record is unchanged.
    bool lese(QIODevice& geraet);
    // The exact bytes of USER.QXV, Windows-1252 with CR LF.
    QByteArray alsDatei() const;

    // The same texts and grades, as the file would hold them.
    bool operator==(const Benutzerwertung& andere) const;

private:
    std::array<qint16, AnzahlThemen + 1> m_ergebnis = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<bool, AnzahlThemen + 1> m_benotet{};
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
// the old file as it was. What the file holds at that moment is read first: only the topics
// graded in this run are written over it, and the program's record becomes what was written.
// A file that cannot be read is kept as USER.QXV.defekt (an older one replaced) before it is
// replaced. On failure, fehler (if given) says why; grund (if given) holds the learner's German
// reason where writing was refused to keep the file safe (see Dateischutz), else stays empty.
bool SpeichereBenutzer(QString* fehler = nullptr, QString* grund = nullptr);

// Whether the learner has been told that the grades cannot be saved, since the last save that
// worked: they are told once, not after every result.
bool fehlerGemeldet();
void setzeFehlerGemeldet(bool gemeldet);

// The most of a damaged USER.QXV that is kept: far more than any such file, grades or not.
constexpr qint64 DefektHoechstens = 1024 * 1024;

// The same into a device; false if the device took fewer bytes than it was given.
bool schreibe(const Benutzerwertung& wertung, QIODevice& geraet);

} // namespace User
