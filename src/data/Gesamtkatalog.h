#pragma once

#include "Pruefung.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

class Katalog;

// All eleven topics at once, for the exam sheet and the learning progress. The main window
// reads only the titles; this is read when one of those windows opens.
struct Katalogfrage {
    int thema = 0;
    int nummer = 0;
    QString frage;
    std::array<QString, 5> antwort; // 1 to 4
    int loesung = 0;
    QByteArray kennung;

    // Question n of the topic loaded in the bank.
    static Katalogfrage ausBank(const Katalog& bank, int n);
    // The right answer's text; empty for a correct-answer number outside 1 to 4.
    QString richtigeAntwort() const { return loesung >= 1 && loesung <= 4 ? antwort[loesung] : QString(); }
};

struct Gesamtkatalog {
    std::array<QString, 12> titel;             // 1 to 11; empty for a file that cannot be read
    std::array<QList<Katalogfrage>, 12> fragen; // 1 to 11

    // From the topic files beside the program; a missing or unreadable file gives no questions.
    static Gesamtkatalog lade();

    QList<int> groessen() const;
    int anzahl() const;
    const Katalogfrage& frage(const Bogenfrage& stelle) const { return fragen[stelle.thema][stelle.frage - 1]; }
};
