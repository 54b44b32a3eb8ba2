#pragma once

#include <QString>

#include <array>

class QIODevice;

// The question bank: one topic at a time, loaded from the topic files QXV.1 to QXV.11 in
// the program folder. A topic file starts with a header of three fields (title, a second
// text nobody reads, a count nobody trusts) and holds up to 30 records of six fields:
// question, four answers, number of the correct answer. In the texts "*" stands for a
// double quote, which a field cannot hold, and "##" in an answer for a line break.
class Katalog {
public:
    static constexpr int MaxFragen = 30;
    static constexpr int AnzahlThemen = 11;

    enum class Ladeergebnis { Geladen, NummerUngueltig, DateiNichtLesbar };
    // Beschaedigt: the title runs on past any sensible length, as when its closing quote is missing.
    enum class Dateizustand { Gelesen, Fehlt, Leer, Beschaedigt };

    // Topic file name prefix: program folder, separator, "QXV.".
    QString DateiPfad;
    QString Thema;
    qint16 AnzahlFragen = 0;
    qint16 ThemaNr = 0;

    // Out-of-range numbers give an empty text or 0 instead of reading past the arrays.
    const QString& Frage(int n) const;
    const QString& Antwort(int n, int k) const;
    qint16 Loesung(int n) const;
    const QString& DateiListe(int i) const;
    Dateizustand Zustand(int i) const;

    QString Dateiname(int nr) const { return DateiPfad + QString::number(nr); }
    void bildeDateiPfad();

    // Loads topic nr (1 to 11) from its file. Questions above the new count keep the
    // texts of an earlier topic; nobody reads them. An unreadable file, or one whose title runs
    // on past the field bound, changes nothing.
    Ladeergebnis LadeThema(qint16 nr);
    // The same from an open device, as a topic file's bytes; false, and nothing changed, if the
    // title runs on past the field bound.
    bool LadeThema(QIODevice& geraet, qint16 nr);

    // Reads the title of every topic file for the topic list, and nothing after the header.
    void LadeDateiListe();

    // The title of a topic file; *gelesen says whether the data held a field at all, *beschaedigt
    // whether the title ran on past the field bound (then it is empty).
    static QString leseTitel(QIODevice& geraet, bool* gelesen, bool* beschaedigt = nullptr);

    // A question's and an answer's text as the bank holds it, from the field as the file has it:
    // "*" becomes a double quote, and in an answer "##" a line break. Explanation files use the same.
    static QString alsFrage(QString feld);
    static QString alsAntwort(QString feld);

private:
    std::array<QString, MaxFragen + 1> m_frage;
    std::array<std::array<QString, 5>, MaxFragen + 1> m_antwort;
    std::array<qint16, MaxFragen + 1> m_loesung{};
    std::array<QString, AnzahlThemen + 1> m_dateiListe;
    std::array<Dateizustand, AnzahlThemen + 1> m_zustand{};
};

// The program's one question bank.
Katalog& katalog();
