#include "frmRueckblick.h"

#include "Fragenliste.h"
#include "Katalog.h"
#include "Twips.h"

#include <QDateTime>
#include <QHash>
#include <QLabel>
#include <QPushButton>

namespace {

QString modusText(Verlauf::Modus modus)
{
    switch (modus) {
    case Verlauf::Modus::Fehler:
        return QStringLiteral("Fehler üben");
    case Verlauf::Modus::Heute:
        return QStringLiteral("Heute üben");
    case Verlauf::Modus::Pruefung: // never reviewed here: the exam result reviews its sheet
    case Verlauf::Modus::Abfrage:
        break;
    }
    return QStringLiteral("Abfrage");
}

} // namespace

frmRueckblick::frmRueckblick(QWidget* eltern, const QList<Verlauf::Eintrag>& lauf)
    : Uebungsfenster(eltern, QStringLiteral("frmRueckblick"), QStringLiteral("Rückblick"), 7905, 6150)
{

    bez_Titel = new QLabel(this);
    bez_Titel->setObjectName(QStringLiteral("bez_Titel"));
    Twips::setze(bez_Titel, 240, 120, 7455, 375);
    bez_Titel->setFont(arial(12, true));
    bez_Titel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    bez_Lauf = new QLabel(this);
    bez_Lauf->setObjectName(QStringLiteral("bez_Lauf"));
    Twips::setze(bez_Lauf, 240, 480, 7455, 300);
    bez_Lauf->setFont(arial(9.75));
    bez_Lauf->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    LView_Fragen = new Fragenliste(this);
    LView_Fragen->setObjectName(QStringLiteral("LView_Fragen"));
    Twips::setze(LView_Fragen, 240, 840, 7455, 4560);
    LView_Fragen->setAccessibleName(QStringLiteral("Fragen des letzten Laufs"));

    bez_Hinweis = new QLabel(QStringLiteral("Falsch beantwortete Fragen stehen oben."), this);
    bez_Hinweis->setObjectName(QStringLiteral("bez_Hinweis"));
    Twips::setze(bez_Hinweis, 240, 5580, 5520, 375);
    bez_Hinweis->setFont(arial(9));
    bez_Hinweis->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmd_Schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    cmd_Schliessen->setObjectName(QStringLiteral("cmd_Schliessen"));
    Twips::setze(cmd_Schliessen, 6360, 5520, 1335, 375);
    cmd_Schliessen->setDefault(true);

    for (QLabel* label : {bez_Titel, bez_Lauf, bez_Hinweis})
        label->setTextFormat(Qt::PlainText);
    setTabOrder(LView_Fragen, cmd_Schliessen);

    connect(cmd_Schliessen, &QPushButton::clicked, this, &QDialog::accept);

    fuelle(lauf);
    LView_Fragen->setFocus();
    if (LView_Fragen->count() > 0)
        LView_Fragen->setCurrentRow(0);
}

void frmRueckblick::fuelle(const QList<Verlauf::Eintrag>& lauf)
{
    const Katalog& bank = katalog();
    bez_Titel->setText(bank.Thema);

    QHash<QByteArray, int> nummer;
    for (int n = 1; n <= bank.AnzahlFragen; ++n)
        nummer.insert(Verlauf::kennung(bank, n), n);
    Erlaeuterungsdateien erlaeuterungen;

    // The wrong answers first, each group in the order asked.
    int falsch = 0;
    for (bool richtigeRunde : {false, true}) {
        for (const Verlauf::Eintrag& e : lauf) {
            if (e.richtig != richtigeRunde)
                continue;
            falsch += e.richtig ? 0 : 1;
            const int n = nummer.value(e.frage);
            if (n == 0) {
                LView_Fragen->fuegeHinzu(QStringLiteral("Diese Frage wurde inzwischen in der Themendatei geändert."),
                                         e.richtig ? QStringLiteral("Sie hatten sie richtig beantwortet.")
                                                   : QStringLiteral("Sie hatten sie falsch beantwortet."),
                                         QString(), e.richtig ? Fragenliste::Urteil::Richtig : Fragenliste::Urteil::Falsch);
                continue;
            }
            LView_Fragen->fuegeHinzu(
                QStringLiteral("Frage %1: %2").arg(n).arg(alsAnzeige(bank.Frage(n))),
                (e.richtig ? QStringLiteral("Ihre Antwort, richtig: ") : QStringLiteral("Ihre Antwort: ")) +
                    (e.antwort == 0 ? QStringLiteral("(keine)") : alsAnzeige(bank.Antwort(n, e.antwort))),
                QStringLiteral("Richtige Antwort: ") + alsAnzeige(bank.Antwort(n, bank.Loesung(n))),
                e.richtig ? Fragenliste::Urteil::Richtig : Fragenliste::Urteil::Falsch,
                e.richtig ? std::nullopt
                          : erlaeuterungen.suche(bank.ThemaNr, bank.Frage(n), bank.Antwort(n, bank.Loesung(n))));
        }
    }

    const QDateTime beginn = QDateTime::fromString(lauf.value(0).lauf, Qt::ISODateWithMs).toLocalTime();
    bez_Lauf->setText(QStringLiteral("%1 am %2 um %3 Uhr: %4 %5 beantwortet, davon %6 falsch")
                          .arg(modusText(lauf.value(0).modus), beginn.toString(QStringLiteral("dd.MM.yyyy")),
                               beginn.toString(QStringLiteral("HH:mm")))
                          .arg(lauf.size())
                          .arg(lauf.size() == 1 ? QStringLiteral("Frage") : QStringLiteral("Fragen"))
                          .arg(falsch));
}
