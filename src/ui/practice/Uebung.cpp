#include "Uebung.h"

#include "Katalog.h"
#include "Meldung.h"
#include "Themenstart.h"
#include "Verlauf.h"
#include "frmLernstand.h"
#include "frmPruefung.h"
#include "frmRueckblick.h"
#include "quiz/frmAbfrage.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>

namespace {

void verlaufUnlesbar(QWidget* eltern, const QString& titel)
{
    Meldung::zeige(eltern,
                   QStringLiteral("Der Antwortverlauf\n%1\nkann nicht gelesen werden !")
                       .arg(QDir::toNativeSeparators(Verlauf::dateiname())),
                   titel);
}

} // namespace

namespace Uebung {

void fehlerUeben(QWidget* eltern, int thema)
{
    const QString titel = QStringLiteral("Fehler üben");
    if (!ladeThemaMitMeldung(eltern, thema))
        return;
    QList<QByteArray> kennungen;
    for (int n = 1; n <= katalog().AnzahlFragen; ++n)
        kennungen << Verlauf::kennung(katalog(), n);
    bool gelesen = true;
    const QList<int> fragen = Verlauf::fehlerfragen(thema, kennungen, &gelesen);
    if (!gelesen) {
        verlaufUnlesbar(eltern, titel);
        return;
    }
    if (fragen.isEmpty()) {
        Meldung::zeige(eltern,
                       QStringLiteral("In diesem Thema gibt es keine Fragen, die Sie zuletzt falsch beantwortet haben !"),
                       titel);
        return;
    }
    std::array<QString, 12> themen;
    themen[thema] = katalog().Thema;
    frmAbfrage fenster(eltern, frmAbfrage::ausBank(fragen), themen, Verlauf::Modus::Fehler);
    fenster.exec();
}

void rueckblick(QWidget* eltern, int thema)
{
    const QString titel = QStringLiteral("Rückblick");
    bool gelesen = true;
    const QList<Verlauf::Eintrag> lauf = Verlauf::letzterLauf(thema, &gelesen);
    if (!gelesen) {
        verlaufUnlesbar(eltern, titel);
        return;
    }
    if (lauf.isEmpty()) {
        Meldung::zeige(eltern, QStringLiteral("Dieses Thema haben Sie noch nicht abgefragt !"), titel);
        return;
    }
    if (!ladeThemaMitMeldung(eltern, thema))
        return;
    frmRueckblick fenster(eltern, lauf);
    fenster.exec();
}

void pruefung(QWidget* eltern)
{
    const QString titel = QStringLiteral("Prüfungssimulation");
    const Pruefungsregel regel = Pruefungsregel::ausDatei(Pruefungsregel::dateiname());
    const Gesamtkatalog gesamt = Gesamtkatalog::lade();
    const int vorhanden = gesamt.anzahl();
    if (vorhanden == 0) {
        Meldung::zeige(eltern, QStringLiteral("Die Themendateien enthalten keine Fragen !"), titel);
        return;
    }
    if (vorhanden < regel.fragen)
        Meldung::zeige(eltern,
                       QStringLiteral("Die Themendateien enthalten nur %1 Fragen statt %2.\nDer Prüfungsbogen enthält "
                                      "alle %1 Fragen.")
                           .arg(vorhanden)
                           .arg(regel.fragen),
                       titel);
    const QList<Bogenfrage> bogen = Pruefung::ziehe(gesamt.groessen(), regel.fragen, *QRandomGenerator::global());
    frmPruefung fenster(eltern, gesamt, regel, bogen);
    fenster.exec();
}

void lernstand(QWidget* eltern)
{
    const Pruefungsregel regel = Pruefungsregel::ausDatei(Pruefungsregel::dateiname());
    const Lernstand stand = Lernstand::berechne(Gesamtkatalog::lade(), regel, QDateTime::currentDateTimeUtc());
    frmLernstand fenster(eltern, stand, regel);
    fenster.exec();
}

} // namespace Uebung
