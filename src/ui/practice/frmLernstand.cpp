#include "frmLernstand.h"

#include "Balken.h"
#include "Chancenkurve.h"
#include "Katalog.h"
#include "Twips.h"

#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
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

// Where the chance lies with a chance of 80 %, its ends written as the figure is.
QString bereich(double unten, double oben)
{
    if (oben < 0.01)
        return QStringLiteral("unter 1 %");
    if (unten > 0.99)
        return QStringLiteral("über 99 %");
    if (unten < 0.01 && oben > 0.99)
        return QStringLiteral("zwischen unter 1 % und über 99 %");
    if (unten < 0.01)
        return QStringLiteral("höchstens ") + frmLernstand::prozent(oben);
    if (oben > 0.99)
        return QStringLiteral("mindestens ") + frmLernstand::prozent(unten);
    if (frmLernstand::prozent(unten) == frmLernstand::prozent(oben))
        return QStringLiteral("etwa ") + frmLernstand::prozent(unten);
    return QStringLiteral("zwischen %1 und %2").arg(frmLernstand::prozent(unten), frmLernstand::prozent(oben));
}

// The learner's own exam sheets against the chance shown before each: the chances of several
// sheets add up to how many were to be expected passed.
QString boegen(const QList<Lernstand::Bogen>& liste)
{
    if (liste.isEmpty())
        return QString();
    if (liste.size() == 1)
        return QStringLiteral("Ihr Prüfungsbogen: %1, bei einer Chance vorher von %2.")
            .arg(liste.first().bestanden ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden"),
                 frmLernstand::prozent(liste.first().vorhergesagt));
    int bestanden = 0;
    double erwartet = 0;
    for (const Lernstand::Bogen& bogen : liste) {
        bestanden += bogen.bestanden ? 1 : 0;
        erwartet += bogen.vorhergesagt;
    }
    return QStringLiteral(
               "Ihre Prüfungsbögen: %1 von %2 bestanden; nach der Chance vor jedem Bogen waren %3 zu erwarten.")
        .arg(bestanden)
        .arg(liste.size())
        .arg(QLocale(QLocale::German, QLocale::Germany).toString(erwartet, 'f', 1));
}

} // namespace

frmLernstand::frmLernstand(QWidget* eltern, const Lernstand& stand, const Pruefungsregel& regel)
    : Uebungsfenster(eltern, QStringLiteral("frmLernstand"), QStringLiteral("Lernstand"), 8985, 9645)
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

    const auto zeile = [this](const QString& name, int top, int height) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        Twips::setze(label, 240, top, 8505, height);
        label->setFont(arial(9));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        return label;
    };

    bez_Chance = zeile(QStringLiteral("bez_Chance"), 4980, 420);
    bez_Chance->setFont(arial(14, true));
    bez_Chance->setText(QStringLiteral("Chance, die Prüfung heute zu bestehen: ") + prozent(stand.bestehenschance));

    bez_Spanne = zeile(QStringLiteral("bez_Spanne"), 5400, 255);
    if (stand.gesamt.fragen > 0)
        bez_Spanne->setText((stand.grob ? QStringLiteral("Noch grob geschätzt: wahrscheinlich ")
                                        : QStringLiteral("Recht sicher geschätzt: wahrscheinlich ")) +
                            bereich(stand.chanceUnten, stand.chanceOben));

    bez_Grundlage = zeile(QStringLiteral("bez_Grundlage"), 5685, 660);
    bez_Grundlage->setText(grundlage(stand, regel));

    const QDate heute = stand.tage.isEmpty() ? QDate::currentDate() : stand.tage.last().datum;
    bez_Faellig = zeile(QStringLiteral("bez_Faellig"), 6405, 255);
    if (stand.faellig > 0) {
        bez_Faellig->setText((stand.faellig == 1 ? QStringLiteral("Heute fällig: 1 Frage;")
                                                 : QStringLiteral("Heute fällig: %1 Fragen;").arg(stand.faellig)) +
                             QStringLiteral(" „Heute üben“ (rechte Maustaste) fragt ") +
                             (stand.faellig > regel.heute ? QStringLiteral("die %1 wichtigsten ab.").arg(regel.heute)
                                                          : QStringLiteral("sie ab.")));
    } else {
        bez_Faellig->setText(QStringLiteral("Heute ist keine Frage fällig.") +
                             (stand.naechsteFaellig.isValid()
                                  ? QStringLiteral(" ") + naechste(stand.naechsteFaellig, heute)
                                  : QString()));
    }

    bez_Kurve = zeile(QStringLiteral("bez_Kurve"), 6780, 255);
    bez_Kurve->setText(QStringLiteral("Ihre Chance an den letzten %1 Tagen; über der gestrichelten Linie bestehen Sie "
                                      "eher als nicht")
                           .arg(stand.tage.size()));

    Kurve_Chance = new Chancenkurve(this);
    Kurve_Chance->setObjectName(QStringLiteral("Kurve_Chance"));
    Twips::setze(Kurve_Chance, 240, 7050, 8505, 1650);
    Kurve_Chance->setze(stand.tage);

    bez_Boegen = zeile(QStringLiteral("bez_Boegen"), 8775, 255);
    bez_Boegen->setText(boegen(stand.boegen));

    cmd_Schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    cmd_Schliessen->setObjectName(QStringLiteral("cmd_Schliessen"));
    Twips::setze(cmd_Schliessen, 7410, 9150, 1335, 375);
    cmd_Schliessen->setDefault(true);
    cmd_Schliessen->setFocus();
    connect(cmd_Schliessen, &QPushButton::clicked, this, &QDialog::accept);

    bez_Titel->setTextFormat(Qt::PlainText);
}

QString frmLernstand::prozent(double chance)
{
    if (chance < 0.01)
        return QStringLiteral("unter 1 %");
    if (chance > 0.99)
        return QStringLiteral("über 99 %");
    return QStringLiteral("%1 %").arg(std::clamp<long>(std::lround(chance * 100), 1, 99));
}

QString frmLernstand::grundlage(const Lernstand& stand, const Pruefungsregel& regel)
{
    QString vorweg;
    if (!stand.verlaufGelesen)
        vorweg = QStringLiteral("Der Antwortverlauf kann nicht gelesen werden; keine Frage zählt als beantwortet. ");
    else if (stand.gesamt.beantwortet * 2 < stand.gesamt.fragen)
        vorweg = QStringLiteral("Sie haben erst %1 von %2 Fragen beantwortet. ")
                     .arg(stand.gesamt.beantwortet)
                     .arg(stand.gesamt.fragen);
    if (stand.gesamt.fragen == 0)
        return vorweg + QStringLiteral("Die Themendateien enthalten keine Fragen.");
    // The sheet actually drawn: a catalogue smaller than the rule gives a smaller one.
    const int fragen = std::min(regel.fragen, stand.gesamt.fragen);
    const int erlaubt = regel.fuerBogen(fragen).maxFalsch;
    const double chance = stand.bestehenschance;
    const QString wieviele = chance < 0.01   ? QStringLiteral("kaum einen")
                             : chance > 0.99 ? QStringLiteral("fast alle")
                                             : QStringLiteral("etwa %1").arg(std::lround(chance * 100));
    const QString fehler = erlaubt <= 0   ? QStringLiteral("ohne falsche Antwort")
                           : erlaubt == 1 ? QStringLiteral("mit höchstens einer falschen Antwort")
                                          : QStringLiteral("mit höchstens %1 falschen Antworten").arg(erlaubt);
    return vorweg + QStringLiteral("Das heißt: Von 100 Prüfungsbögen mit %1 würden Sie heute %2 %3 bestehen, geschätzt "
                                   "aus Ihren bisherigen Antworten und daraus, wie lange sie zurückliegen.")
                        .arg(fragen == 1 ? QStringLiteral("1 Frage") : QStringLiteral("%1 Fragen").arg(fragen),
                             wieviele, fehler);
}

QString frmLernstand::wann(const QDateTime& zeit, const QDate& heute)
{
    // Never a minute early: a question due at 18:29:30 is written as due at 18:30.
    const qint64 minute = 60000;
    const QDateTime ortszeit =
        QDateTime::fromMSecsSinceEpoch((zeit.toMSecsSinceEpoch() + minute - 1) / minute * minute).toLocalTime();
    const QDate datum = ortszeit.date();
    const qint64 tage = heute.daysTo(datum);
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    QString tag;
    bool nah = true;
    if (tage <= 0) {
        tag = QStringLiteral("heute");
    } else if (tage == 1) {
        tag = QStringLiteral("morgen");
    } else if (tage == 2) {
        tag = QStringLiteral("übermorgen");
    } else {
        nah = false;
        tag = deutsch.toString(datum, tage < 7                       ? QStringLiteral("dddd, d. MMMM")
                                      : datum.year() == heute.year() ? QStringLiteral("d. MMMM")
                                                                     : QStringLiteral("d. MMMM yyyy"));
    }
    // A question due from midnight on is due all that day.
    if (ortszeit.time() == QTime(0, 0))
        return QStringLiteral("ab ") + tag;
    const QString uhrzeit = ortszeit.time().toString(QStringLiteral("H:mm"));
    if (nah)
        return QStringLiteral("%1 ab %2 Uhr").arg(tag, uhrzeit);
    return QStringLiteral("am %1%2 ab %3 Uhr").arg(tag, tage < 7 ? QStringLiteral(",") : QString(), uhrzeit);
}

QString frmLernstand::naechste(const QDateTime& zeit, const QDate& heute)
{
    return QStringLiteral("Die nächste Frage ist %1 fällig.").arg(wann(zeit, heute));
}
