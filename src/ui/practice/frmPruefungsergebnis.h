#pragma once

#include "Gesamtkatalog.h"
#include "Pruefung.h"

#include "Uebungsfenster.h"

class Fragenliste;
class QLabel;
class QPushButton;

// What a handed-in sheet came to.
struct Pruefungsergebnis {
    struct Fehler {
        int nummer; // on the sheet, from 1
        int thema;
        int frage;
        int gewaehlt; // 0: left open
    };
    Pruefungsregel regel;
    int richtig = 0;
    int falsch = 0;
    int offen = 0;
    qint64 dauerMs = 0;
    QList<Fehler> fehler; // in the order of the sheet

    // Open answers count as wrong.
    bool bestanden() const { return regel.bestanden(falsch + offen); }
};

// The result of a simulated exam: passed or not by the rule, the counts, the time taken, and
// the review of every question answered wrong or left open, with its explanation.
class frmPruefungsergebnis : public Uebungsfenster {
    Q_OBJECT
public:
    frmPruefungsergebnis(QWidget* eltern, const Gesamtkatalog& katalog, const Pruefungsergebnis& ergebnis);

    // "12 Minuten 5 Sekunden", "1 Minute", "26 Sekunden": the time taken, in words.
    static QString dauer(qint64 ms);

    QLabel* Label1;
    QLabel* bez_Zahlen;
    QLabel* bez_Regel;
    QLabel* bez_Liste;
    Fragenliste* LView_Fragen;
    QPushButton* cmd_Schliessen;
};
