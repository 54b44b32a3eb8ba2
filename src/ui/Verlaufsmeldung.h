#pragma once

#include "Meldung.h"
#include "Verlauf.h"

#include <QDir>

// Tells the learner, once in a run of the program, that the answer history cannot be written;
// the practice goes on without it.
inline void meldeVerlaufNichtSchreibbar(QWidget* eltern)
{
    if (Verlauf::Schreiber::gemeldet())
        return;
    Verlauf::Schreiber::setzeGemeldet(true);
    Meldung::zeige(eltern,
                   QStringLiteral("Der Antwortverlauf\n%1\nkann nicht gespeichert werden !")
                       .arg(QDir::toNativeSeparators(Verlauf::dateiname())),
                   QStringLiteral("Antwortverlauf"));
}
