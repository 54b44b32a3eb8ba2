#pragma once

#include "Meldung.h"
#include "Verlauf.h"

#include <QDir>

// Tells the learner, once in a run of the program, that the answer history cannot be written,
// and why where the file was refused to keep their files safe; the practice goes on without it.
inline void meldeVerlaufNichtSchreibbar(QWidget* eltern, const QString& grund = QString())
{
    if (Verlauf::Schreiber::gemeldet())
        return;
    Verlauf::Schreiber::setzeGemeldet(true);
    QString text = QStringLiteral("Der Antwortverlauf\n%1\nkann nicht gespeichert werden !")
                       .arg(QDir::toNativeSeparators(Verlauf::dateiname()));
    if (!grund.isEmpty())
        text += QStringLiteral("\n\n") + grund;
    Meldung::zeige(eltern, text, QStringLiteral("Antwortverlauf"));
}
