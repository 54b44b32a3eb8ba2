#include "frmLernstand.h"

#include "Balken.h"
#include "Katalog.h"
#include "Twips.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <cmath>

namespace {

QLabel* zelle(QWidget* eltern, const QString& text, int left, int top, int width, bool fett, Qt::Alignment ausrichtung)
{
    auto* label = new QLabel(text, eltern);
    label->setTextFormat(Qt::PlainText);
    Twips::setze(label, left, top, width, 255);
    label->setFont(arial(9, fett));
    label->setAlignment(ausrichtung | Qt::AlignVCenter);
    return label;
}

// The key to the bar's colours, drawn as the bars are.
class Legende : public QWidget {
public:
    explicit Legende(QWidget* eltern) : QWidget(eltern)
    {
        setAccessibleName(QStringLiteral("Grün: zuletzt richtig, Rot: zuletzt falsch, Grau: noch nie beantwortet"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter maler(this);
        maler.setFont(arial(8));
        int x = 0;
        for (const auto& [farbe, text] :
             {std::pair{Balken::richtigFarbe(), QStringLiteral("zuletzt richtig")},
              std::pair{Balken::falschFarbe(), QStringLiteral("zuletzt falsch")},
              std::pair{Balken::nieFarbe(), QStringLiteral("noch nie beantwortet")}}) {
            const QRect feld(x, (height() - 11) / 2, 11, 11);
            maler.fillRect(feld, farbe);
            maler.setPen(palette().color(QPalette::WindowText));
            maler.drawRect(feld.adjusted(0, 0, -1, -1));
            const int textBreite = maler.fontMetrics().horizontalAdvance(text);
            maler.drawText(QRect(x + 16, 0, textBreite + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text);
            x += 16 + textBreite + 18;
        }
    }
};

} // namespace

frmLernstand::frmLernstand(QWidget* eltern, const Lernstand& stand, const Pruefungsregel& regel)
    : Uebungsfenster(eltern, QStringLiteral("frmLernstand"), QStringLiteral("Lernstand"), 8985, 6690)
{

    bez_Titel = new QLabel(QStringLiteral("Ihr Lernstand"), this);
    bez_Titel->setObjectName(QStringLiteral("bez_Titel"));
    Twips::setze(bez_Titel, 240, 120, 8505, 375);
    bez_Titel->setFont(arial(12, true));
    bez_Titel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // Columns: topic, questions, answered at least once, right the last time, the bar.
    const Qt::Alignment links = Qt::AlignLeft, rechts = Qt::AlignRight;
    zelle(this, QStringLiteral("Thema"), 240, 600, 2820, true, links);
    zelle(this, QStringLiteral("Fragen"), 3120, 600, 780, true, rechts);
    zelle(this, QStringLiteral("beantwortet"), 3960, 600, 1260, true, rechts);
    zelle(this, QStringLiteral("zuletzt richtig"), 5280, 600, 1560, true, rechts);

    for (int t = 1; t <= 12; ++t) {
        const bool summe = t == 12;
        const Lernstand::Thema& zeile = summe ? stand.gesamt : stand.themen[t];
        const int top = summe ? 4260 : 900 + (t - 1) * 300;
        const QString titel = summe ? QStringLiteral("Alle Themen")
                              : zeile.titel.isEmpty() ? QStringLiteral("(Themendatei QXV.%1 fehlt)").arg(t)
                                                      : zeile.titel;
        bez_Thema[t] = zelle(this, titel, 240, top, 2820, summe, links);
        bez_Fragen[t] = zelle(this, QString::number(zeile.fragen), 3120, top, 780, summe, rechts);
        bez_Beantwortet[t] = zelle(this, QString::number(zeile.beantwortet), 3960, top, 1260, summe, rechts);
        bez_Richtig[t] = zelle(this, QString::number(zeile.richtig), 5280, top, 1560, summe, rechts);
        Balken_Stand[t] = new Balken(this);
        Twips::setze(Balken_Stand[t], 7020, top + 15, 1725, 225);
        Balken_Stand[t]->setze(zeile.richtig, zeile.falsch, zeile.fragen - zeile.beantwortet);
        Balken_Stand[t]->setAccessibleName(QStringLiteral("%1: %2 zuletzt richtig, %3 zuletzt falsch, %4 noch nie beantwortet")
                                               .arg(titel)
                                               .arg(zeile.richtig)
                                               .arg(zeile.falsch)
                                               .arg(zeile.fragen - zeile.beantwortet));
        bez_Thema[t]->setObjectName(QStringLiteral("bez_Thema%1").arg(t));
        bez_Fragen[t]->setObjectName(QStringLiteral("bez_Fragen%1").arg(t));
        bez_Beantwortet[t]->setObjectName(QStringLiteral("bez_Beantwortet%1").arg(t));
        bez_Richtig[t]->setObjectName(QStringLiteral("bez_Richtig%1").arg(t));
        Balken_Stand[t]->setObjectName(QStringLiteral("Balken_Stand%1").arg(t));
    }

    // A line above the total.
    auto* linie = new QFrame(this);
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);
    Twips::setze(linie, 240, 4200, 8505, 30);

    auto* legende = new Legende(this);
    legende->setObjectName(QStringLiteral("Legende"));
    Twips::setze(legende, 240, 4620, 8505, 255);

    bez_Chance = new QLabel(this);
    bez_Chance->setObjectName(QStringLiteral("bez_Chance"));
    Twips::setze(bez_Chance, 240, 4980, 8505, 420);
    bez_Chance->setFont(arial(14, true));
    bez_Chance->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Rounded down, so that 99.6 % never reads as a certain pass.
    bez_Chance->setText(QStringLiteral("Chance, die Prüfung heute zu bestehen: %1 %")
                            .arg(int(std::floor(stand.bestehenschance * 100))));

    bez_Grundlage = new QLabel(grundlage(stand, regel), this);
    bez_Grundlage->setObjectName(QStringLiteral("bez_Grundlage"));
    Twips::setze(bez_Grundlage, 240, 5400, 8505, 660);
    bez_Grundlage->setFont(arial(9));
    bez_Grundlage->setWordWrap(true);
    bez_Grundlage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    cmd_Schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    cmd_Schliessen->setObjectName(QStringLiteral("cmd_Schliessen"));
    Twips::setze(cmd_Schliessen, 7410, 6180, 1335, 375);
    cmd_Schliessen->setDefault(true);
    cmd_Schliessen->setFocus();
    connect(cmd_Schliessen, &QPushButton::clicked, this, &QDialog::accept);

    for (QLabel* label : {bez_Titel, bez_Chance, bez_Grundlage})
        label->setTextFormat(Qt::PlainText);
}

QString frmLernstand::grundlage(const Lernstand& stand, const Pruefungsregel& regel)
{
    QString satz = QStringLiteral("Geschätzt aus allen Ihren Antworten zu jeder Frage und der Zeit seither, für einen "
                                  "Bogen von %1 Fragen mit höchstens %2 falschen; eine nie beantwortete Frage zählt wie "
                                  "Ihre ersten Antworten.")
                       .arg(regel.fragen)
                       .arg(regel.maxFalsch);
    if (!stand.verlaufGelesen)
        return QStringLiteral("Der Antwortverlauf kann nicht gelesen werden; keine Frage zählt als beantwortet. ") + satz;
    if (stand.gesamt.beantwortet * 2 < stand.gesamt.fragen)
        return QStringLiteral("Die Schätzung ist noch grob: Sie haben erst %1 von %2 Fragen beantwortet. ")
                   .arg(stand.gesamt.beantwortet)
                   .arg(stand.gesamt.fragen) +
               satz;
    return satz;
}
