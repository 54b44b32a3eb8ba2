#pragma once

#include <QList>
#include <QString>

class QIODevice;
class QRandomGenerator;

// The rules of the simulated exam sheet, from the small rule file PRUEFUNG.QXV beside the topic files:
// Windows-1252, one rule a line, a quoted name and a number ("Fragen",24 / "Minuten",30 / "Fehler",5 /
// "Heute",20).
// Names are matched without regard to case; blank, unknown and garbled lines are skipped. A value that is
// missing, not a number or absurd keeps its default. Sensible means: questions 1..330 (the whole catalogue),
// minutes 1..600, wrong answers 0..questions-1 (all wrong never passes; on a sheet of fewer than six
// questions the default becomes questions-1), questions of a practice of what is due 1..100. Only the
// first 4 KiB of the file are read.
struct Pruefungsregel {
    int fragen = 24;                                     // questions on a sheet
    int minuten = 30;                                    // time allowed
    int maxFalsch = 5;                                   // most wrong (or open) answers that still pass
    int heute = 20;                                      // most questions of one "Heute üben"
    static Pruefungsregel lese(QIODevice& geraet);       // defaults for what is missing, unreadable or absurd
    static Pruefungsregel ausDatei(const QString& pfad); // a missing or unreadable file gives the defaults
    bool bestanden(int falschOderOffen) const;           // falschOderOffen <= maxFalsch

    // The rule for a sheet that holds only `gezogen` questions, because the topics hold fewer
    // than the rule asks: the allowed wrong answers shrink in proportion (rounded down), and a
    // sheet never passes with every answer wrong. A full sheet keeps the rule as it is.
    Pruefungsregel fuerBogen(int gezogen) const;

    // PRUEFUNG.QXV in the program folder.
    static QString dateiname();
};

struct Bogenfrage {
    int thema; // 1..11
    int frage; // 1..30 in its topic file

    bool operator==(const Bogenfrage&) const = default;
};

namespace Pruefung {

// How many questions each topic gives to a sheet of `bogen` questions: in proportion to the topic's size
// (groessen[0] is topic 1), by the largest remainder method. Topics whose remainders tie for the last
// places share them at random, so that no topic is always the one left short: `anzahl` holds what is
// certain, and `offen` of the topics in `gleichauf` (indices into groessen) get one question more.
// Topics of size 0 give none. If the topics hold fewer than `bogen` questions in all, every question is
// taken.
struct Verteilung {
    QList<int> anzahl;
    QList<int> gleichauf;
    int offen = 0;

    int fragen() const; // on the sheet
};
Verteilung verteile(const QList<int>& groessen, int bogen);

// A sheet: the counts of verteile() with its ties settled at random, each topic's questions drawn without
// repetition, the whole sheet in a random order.
QList<Bogenfrage> ziehe(const QList<int>& groessen, int bogen, QRandomGenerator& zufall);

// The former rule for a question's chance to be answered right, kept to compare the recall model
// (Erinnerung, Lernstand) with: the right answers among its last three (oldest first; true = right), plus a
// guess (1/4) of weight one, over one more than their number. A question never answered is a guess, 1/4;
// three right in a row give 0.8125, three wrong 0.0625, and time does not count.
double trefferchance(const QList<bool>& antworten);

// The chance that a sheet drawn by ziehe() passes (at most regel.fuerBogen(its size).maxFalsch wrong
// answers), when question q of topic t is answered right with chance treffer[t-1][q-1] independently
// (treffer[t-1].size() is topic t's size). Exact, without sampling: per topic over every equally likely
// draw of its share, the topics' counts of wrong answers added up, averaged over every equally likely
// settling of tied remainders.
double bestehenschance(const QList<QList<double>>& treffer, const Pruefungsregel& regel);

} // namespace Pruefung
