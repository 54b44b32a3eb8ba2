#include "frmPruefungsergebnis.h"

#include "Fragenliste.h"
#include "Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

QString mitEinheit(qint64 n, const char* eine, const char* mehrere)
{
    return n == 1 ? QStringLiteral("1 %1").arg(QLatin1String(eine)) : QStringLiteral("%1 %2").arg(n).arg(QLatin1String(mehrere));
}

} // namespace

QString frmPruefungsergebnis::dauer(qint64 ms)
{
    const qint64 sekunden = std::max<qint64>(ms, 0) / 1000;
    const QString minuten = mitEinheit(sekunden / 60, "Minute", "Minuten");
    const QString rest = mitEinheit(sekunden % 60, "Sekunde", "Sekunden");
    if (sekunden < 60)
        return rest;
    return sekunden % 60 == 0 ? minuten : minuten + QLatin1Char(' ') + rest;
}

frmPruefungsergebnis::frmPruefungsergebnis(QWidget* eltern, const Gesamtkatalog& katalog,
                                           const Pruefungsergebnis& ergebnis)
    : Uebungsfenster(eltern, QStringLiteral("frmPruefungsergebnis"), QStringLiteral("Prüfungsergebnis"), 7905, 6150)
{

    const bool bestanden = ergebnis.bestanden();
    Label1 = new QLabel(bestanden ? QStringLiteral("Bestanden") : QStringLiteral("Nicht bestanden"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Twips::setze(Label1, 240, 120, 7455, 615);
    Label1->setFont(arial(24, false, true));
    QPalette farbe = Label1->palette();
    farbe.setColor(QPalette::WindowText, bestanden ? QColor(0, 153, 51) : QColor(255, 0, 0));
    Label1->setPalette(farbe);

    bez_Zahlen = new QLabel(QStringLiteral("Richtig: %1     Falsch: %2     Offen: %3")
                                .arg(ergebnis.richtig)
                                .arg(ergebnis.falsch)
                                .arg(ergebnis.offen),
                            this);
    bez_Zahlen->setObjectName(QStringLiteral("bez_Zahlen"));
    Twips::setze(bez_Zahlen, 240, 780, 7455, 330);
    bez_Zahlen->setFont(arial(11.25, true));

    const int fragen = ergebnis.richtig + ergebnis.falsch + ergebnis.offen;
    const int maxFalsch = ergebnis.regel.maxFalsch;
    const QString grenze = maxFalsch <= 0   ? QStringLiteral("ohne falsche oder offene Antwort")
                           : maxFalsch == 1 ? QStringLiteral("mit höchstens einer falschen oder offenen Antwort")
                                            : QStringLiteral("mit höchstens %1 falschen oder offenen Antworten").arg(maxFalsch);
    bez_Regel = new QLabel(QStringLiteral("Bestanden ist ein Bogen von %1 %2. Bearbeitungszeit: %3 von %4.")
                               .arg(mitEinheit(fragen, "Frage", "Fragen"), grenze, dauer(ergebnis.dauerMs),
                                    mitEinheit(ergebnis.regel.minuten, "Minute", "Minuten")),
                           this);
    bez_Regel->setObjectName(QStringLiteral("bez_Regel"));
    Twips::setze(bez_Regel, 240, 1140, 7455, 480);
    bez_Regel->setFont(arial(9.75));
    bez_Regel->setWordWrap(true);

    bez_Liste = new QLabel(ergebnis.fehler.isEmpty() ? QStringLiteral("Alle Fragen sind richtig beantwortet.")
                                                     : QStringLiteral("Falsch oder nicht beantwortet:"),
                           this);
    bez_Liste->setObjectName(QStringLiteral("bez_Liste"));
    Twips::setze(bez_Liste, 240, 1680, 7455, 255);
    bez_Liste->setFont(arial(9.75, true));

    LView_Fragen = new Fragenliste(this);
    LView_Fragen->setObjectName(QStringLiteral("LView_Fragen"));
    Twips::setze(LView_Fragen, 240, 1980, 7455, 3420);
    LView_Fragen->setAccessibleName(QStringLiteral("Falsch oder nicht beantwortete Fragen"));

    cmd_Schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    cmd_Schliessen->setObjectName(QStringLiteral("cmd_Schliessen"));
    Twips::setze(cmd_Schliessen, 6360, 5520, 1335, 375);
    cmd_Schliessen->setDefault(true);

    for (QLabel* label : {Label1, bez_Zahlen, bez_Regel, bez_Liste}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    bez_Liste->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTabOrder(LView_Fragen, cmd_Schliessen);
    connect(cmd_Schliessen, &QPushButton::clicked, this, &QDialog::accept);

    Erlaeuterungsdateien erlaeuterungen;
    for (const Pruefungsergebnis::Fehler& f : ergebnis.fehler) {
        const Katalogfrage& frage = katalog.frage({f.thema, f.frage});
        LView_Fragen->fuegeHinzu(
            QStringLiteral("Frage %1 (%2, Nr. %3): %4")
                .arg(f.nummer)
                .arg(katalog.titel[f.thema])
                .arg(f.frage)
                .arg(alsAnzeige(frage.frage)),
            f.gewaehlt == 0 ? QStringLiteral("Nicht beantwortet")
                            : QStringLiteral("Ihre Antwort: ") + alsAnzeige(frage.antwort[f.gewaehlt]),
            QStringLiteral("Richtige Antwort: ") + alsAnzeige(frage.richtigeAntwort()),
            f.gewaehlt == 0 ? Fragenliste::Urteil::Offen : Fragenliste::Urteil::Falsch,
            erlaeuterungen.suche(f.thema, frage.frage, frage.richtigeAntwort()));
    }
    if (LView_Fragen->count() > 0) {
        LView_Fragen->setCurrentRow(0);
        LView_Fragen->setFocus();
    } else {
        cmd_Schliessen->setFocus();
    }
}
