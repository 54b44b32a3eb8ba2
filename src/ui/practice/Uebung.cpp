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
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {

void verlaufUnlesbar(QWidget* eltern, const QString& titel)
{
    Meldung::zeige(eltern,
                   QStringLiteral("Der Antwortverlauf\n%1\nkann nicht gelesen werden !")
                       .arg(QDir::toNativeSeparators(Verlauf::dateiname())),
                   titel);
}

// The digests of the questions of the topic loaded in the bank, in file order.
QList<QByteArray> kennungenDerBank()
{
    QList<QByteArray> kennungen;
    for (int n = 1; n <= katalog().AnzahlFragen; ++n)
        kennungen << Verlauf::kennung(katalog(), n);
    return kennungen;
}

} // namespace

namespace Uebung {

void fehlerUeben(QWidget* eltern, int thema)
{
    const QString titel = QStringLiteral("Fehler üben");
    if (!ladeThemaMitMeldung(eltern, thema))
        return;
    bool gelesen = true;
    const QList<int> fragen = Verlauf::fehlerfragen(thema, kennungenDerBank(), &gelesen);
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
    // The topic's questions first: the history keeps only what they need.
    if (!ladeThemaMitMeldung(eltern, thema))
        return;
    bool gelesen = true;
    const QList<Verlauf::Eintrag> lauf = Verlauf::letzterLauf(thema, kennungenDerBank(), &gelesen);
    if (!gelesen) {
        verlaufUnlesbar(eltern, titel);
        return;
    }
    if (lauf.isEmpty()) {
        Meldung::zeige(eltern, QStringLiteral("Dieses Thema haben Sie noch nicht abgefragt !"), titel);
        return;
    }
    frmRueckblick fenster(eltern, lauf);
    fenster.exec();
}

// Topics that give the sheet no question, each with the reason, so that a learner whose
// catalogue lost a file does not take a sheet without it for the real thing.
QStringList fehlendeThemen(const Gesamtkatalog& gesamt)
{
    QStringList zeilen;
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t) {
        if (!gesamt.fragen[t].isEmpty())
            continue;
        QString name = QStringLiteral("QXV.%1").arg(t);
        const QString titel = !gesamt.titel[t].isEmpty() ? gesamt.titel[t] : katalog().DateiListe(t);
        if (!titel.isEmpty())
            name += QStringLiteral(" („%1“)").arg(titel);
        const QString grund = !QFileInfo::exists(katalog().Dateiname(t)) ? QStringLiteral("fehlt")
                              : gesamt.titel[t].isEmpty()                ? QStringLiteral("kann nicht gelesen werden")
                                                                         : QStringLiteral("enthält keine Fragen");
        zeilen << name + QLatin1Char(' ') + grund;
    }
    return zeilen;
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
    // A catalogue smaller than the sheet gives a smaller sheet, with a rule to match.
    const QList<Bogenfrage> bogen = Pruefung::ziehe(gesamt.groessen(), regel.fragen, *QRandomGenerator::global());
    const Pruefungsregel bogenregel = regel.fuerBogen(int(bogen.size()));
    QStringList absaetze;
    if (const QStringList fehlen = fehlendeThemen(gesamt); !fehlen.isEmpty())
        absaetze << QStringLiteral("Aus diesen Themen kommen keine Fragen auf den Prüfungsbogen:\n") +
                        fehlen.join(QLatin1Char('\n'));
    if (vorhanden < regel.fragen)
        absaetze << QStringLiteral("Die Themendateien enthalten nur %1 Fragen statt %2.\nDer Prüfungsbogen enthält alle %1 "
                                   "Fragen und ist\nmit höchstens %3 falschen Antworten bestanden.")
                        .arg(vorhanden)
                        .arg(regel.fragen)
                        .arg(bogenregel.maxFalsch);
    if (!absaetze.isEmpty())
        Meldung::zeige(eltern, absaetze.join(QStringLiteral("\n\n")), titel);
    frmPruefung fenster(eltern, gesamt, bogenregel, bogen);
    fenster.exec();
}

void heuteUeben(QWidget* eltern)
{
    const QString titel = QStringLiteral("Heute üben");
    const Pruefungsregel regel = Pruefungsregel::ausDatei(Pruefungsregel::dateiname());
    const Gesamtkatalog gesamt = Gesamtkatalog::lade();
    if (gesamt.anzahl() == 0) {
        Meldung::zeige(eltern, QStringLiteral("Die Themendateien enthalten keine Fragen !"), titel);
        return;
    }
    // The same computation as "Lernstand": both agree on what is due, and open as fast.
    const QDateTime jetzt = QDateTime::currentDateTimeUtc();
    const Lernstand stand = Lernstand::berechne(gesamt, regel, jetzt);
    if (!stand.verlaufGelesen) {
        verlaufUnlesbar(eltern, titel);
        return;
    }
    QStringList absaetze;
    if (const QStringList fehlen = fehlendeThemen(gesamt); !fehlen.isEmpty())
        absaetze << QStringLiteral("Aus diesen Themen kommen keine Fragen:\n") + fehlen.join(QLatin1Char('\n'));
    if (stand.faelligeFragen.isEmpty()) {
        QString text = QStringLiteral("Heute ist keine Frage fällig !");
        if (stand.naechsteFaellig.isValid())
            text += QStringLiteral("\n") + frmLernstand::naechste(stand.naechsteFaellig, jetzt.toLocalTime().date());
        Meldung::zeige(eltern, (absaetze << text).join(QStringLiteral("\n\n")), titel);
        return;
    }
    if (!absaetze.isEmpty())
        Meldung::zeige(eltern, absaetze.join(QStringLiteral("\n\n")), titel);
    // The most useful first; asked in random order, so that no topic always comes first.
    QList<Bogenfrage> auswahl = stand.faelligeFragen.mid(0, regel.heute);
    std::shuffle(auswahl.begin(), auswahl.end(), *QRandomGenerator::global());
    QList<Katalogfrage> fragen;
    for (const Bogenfrage& stelle : auswahl)
        fragen << gesamt.frage(stelle);
    frmAbfrage fenster(eltern, fragen, gesamt.titel, Verlauf::Modus::Heute);
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
