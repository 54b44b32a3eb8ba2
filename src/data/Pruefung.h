#pragma once

#include <QList>
#include <QString>

class QIODevice;

// The rules of the simulated exam sheet, from the small rule file PRUEFUNG.QXV beside the topic files:
// Windows-1252, one rule a line, a quoted name and a number ("Fragen",24 / "Minuten",30 / "Fehler",5).
// Names are matched without regard to case; blank, unknown and garbled lines are skipped. A value that is
// missing, not a number or absurd keeps its default. Sensible means: questions 1..330 (the whole catalogue),
// minutes 1..600, wrong answers 0..questions-1 (all wrong never passes; on a sheet of fewer than six
// questions the default becomes questions-1). Only the first 4 KiB of the file are read.
struct Pruefungsregel {
    int fragen = 24;                                     // questions on a sheet
    int minuten = 30;                                    // time allowed
    int maxFalsch = 5;                                   // most wrong (or open) answers that still pass
    static Pruefungsregel lese(QIODevice& geraet);       // defaults for what is missing, unreadable or absurd
    static Pruefungsregel ausDatei(const QString& pfad); // a missing or unreadable file gives the defaults
    bool bestanden(int falschOderOffen) const;           // falschOderOffen <= maxFalsch

    // PRUEFUNG.QXV in the program folder.
    static QString dateiname();
};
