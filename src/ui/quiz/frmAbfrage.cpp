#include "frmAbfrage.h"

#include "Bilder.h"
#include "Bildfeld.h"
#include "Bildknopf.h"
#include "Katalog.h"
#include "Laufstand.h"
#include "Meldung.h"
#include "Textfeld.h"
#include "Twips.h"
#include "Verlaufsmeldung.h"
#include "frmAbfrageEnde.h"
#include "practice/Erlaeuterungsaufruf.h"

#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

namespace {

// Box pictures.
constexpr int kLeer = 1;
constexpr int kAngekreuzt = 2;
constexpr int kRichtig = 3;
constexpr int kFalsch = 5;
constexpr int kPfeil = 6;

void faerbe(QLabel* label, const QColor& farbe)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, farbe);
    label->setPalette(p);
}

} // namespace

int frmAbfrage::pauseMs = 650;
QRandomGenerator* frmAbfrage::zufall = nullptr;

namespace {
QList<int> alleFragen()
{
    QList<int> fragen;
    for (int n = 1; n <= katalog().AnzahlFragen; ++n)
        fragen << n;
    return fragen;
}

std::array<QString, 12> titelDerBank()
{
    std::array<QString, 12> titel;
    if (katalog().ThemaNr >= 1 && katalog().ThemaNr <= Katalog::AnzahlThemen)
        titel[katalog().ThemaNr] = katalog().Thema;
    return titel;
}
} // namespace

QList<Katalogfrage> frmAbfrage::ausBank(const QList<int>& nummern)
{
    QList<Katalogfrage> fragen;
    for (int n : nummern)
        fragen << Katalogfrage::ausBank(katalog(), n);
    return fragen;
}

frmAbfrage::frmAbfrage(QWidget* eltern)
    : frmAbfrage(eltern, ausBank(alleFragen()), titelDerBank(), Verlauf::Modus::Abfrage)
{
}

frmAbfrage::frmAbfrage(QWidget* eltern, const QList<Katalogfrage>& fragen, const std::array<QString, 12>& titel,
                       Verlauf::Modus modus)
    : Modalfenster(eltern, QStringLiteral("frmAbfrage"), QStringLiteral("Kontrolle"), 7905, 6150), m_fragen(fragen),
      m_titel(titel), m_modus(modus), m_verlauf(modus)
{
    erzeugeSteuerelemente();
    verbindeEreignisse();

    Auswahl = 0;
    lauf().AktFrage = 1;
    lauf().AnzFalsch = 0;
    lauf().AnzRichtig = 0;
    ZeigeStatistik();
    ZeigeFrage();
    cmd_Kontrolle->setFocus();
}

void frmAbfrage::erzeugeSteuerelemente()
{
    bez_Frage = new Textfeld(Textfeld::Art::Frage, this);
    bez_Frage->setObjectName(QStringLiteral("bez_Frage"));
    Twips::setze(bez_Frage, 240, 600, 7575, 855);

    cmd_Kontrolle = new QPushButton(QStringLiteral("&Kontrolle"), this);
    cmd_Kontrolle->setObjectName(QStringLiteral("cmd_Kontrolle"));
    Twips::setze(cmd_Kontrolle, 4080, 5520, 1335, 375);

    // A precise timer: the pause must never be shorter than it says.
    timer_NFrage = new QTimer(this);
    timer_NFrage->setObjectName(QStringLiteral("timer_NFrage"));
    timer_NFrage->setTimerType(Qt::PreciseTimer);
    timer_NFrage->setSingleShot(true);
    timer_NFrage->setInterval(pauseMs);

    cmd_Abbrechen = new Bildknopf(this);
    cmd_Abbrechen->setObjectName(QStringLiteral("cmd_Abbrechen"));
    Twips::setze(cmd_Abbrechen, 7080, 5520, 375, 375);

    for (int n = 4; n >= 1; --n) {
        Text_Antwort[n] = new Textfeld(Textfeld::Art::Antwort, this);
        Text_Antwort[n]->setObjectName(QStringLiteral("Text_Antwort%1").arg(n));
        // Tells a screen reader which box the text beside it belongs to.
        Text_Antwort[n]->setAccessibleName(QStringLiteral("Antwort zu Kästchen %1").arg(n));
        Twips::setze(Text_Antwort[n], 1320, 1680 + (n - 1) * 960, 6135, 735);
    }

    cmd_NFrage = new QPushButton(QStringLiteral("&Nächste Frage"), this);
    cmd_NFrage->setObjectName(QStringLiteral("cmd_NFrage"));
    Twips::setze(cmd_NFrage, 5520, 5520, 1335, 375);
    cmd_NFrage->setEnabled(false);

    bez_FrInsgesamt = new QLabel(QStringLiteral(" "), this);
    bez_FrInsgesamt->setObjectName(QStringLiteral("bez_FrInsgesamt"));
    Twips::setze(bez_FrInsgesamt, 1320, 5520, 375, 375);
    bez_FrInsgesamt->setToolTip(QStringLiteral("Fragen Insgesamt"));
    bez_FrInsgesamt->setAccessibleDescription(QStringLiteral("Zahl der Fragen des Themas"));

    bez_FrFalsch = new QLabel(QStringLiteral(" "), this);
    bez_FrFalsch->setObjectName(QStringLiteral("bez_FrFalsch"));
    Twips::setze(bez_FrFalsch, 960, 5520, 375, 375);
    bez_FrFalsch->setToolTip(QStringLiteral("Falsche Antworten"));
    bez_FrFalsch->setAccessibleDescription(QStringLiteral("Zahl der falsch beantworteten Fragen"));
    faerbe(bez_FrFalsch, QColor(255, 0, 0));

    bez_FrRichtig = new QLabel(QStringLiteral(" "), this);
    bez_FrRichtig->setObjectName(QStringLiteral("bez_FrRichtig"));
    Twips::setze(bez_FrRichtig, 600, 5520, 375, 375);
    bez_FrRichtig->setToolTip(QStringLiteral("Richtige Antworten"));
    bez_FrRichtig->setAccessibleDescription(QStringLiteral("Zahl der richtig beantworteten Fragen"));
    faerbe(bez_FrRichtig, QColor(0, 128, 0));

    for (QLabel* zaehler : {bez_FrInsgesamt, bez_FrFalsch, bez_FrRichtig}) {
        zaehler->setFont(arial(11.25, true));
        zaehler->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    bez_RichtigFalsch = new QLabel(this);
    bez_RichtigFalsch->setObjectName(QStringLiteral("bez_RichtigFalsch"));
    Twips::setze(bez_RichtigFalsch, 1920, 5520, 1695, 495);
    bez_RichtigFalsch->setFont(arial(21.75));
    bez_RichtigFalsch->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    bez_RichtigFalsch->setAccessibleDescription(QStringLiteral("Urteil über die gewählte Antwort"));

    for (int n = 4; n >= 1; --n) {
        Img_Kasten[n] = new Bildfeld(this);
        Img_Kasten[n]->setObjectName(QStringLiteral("Img_Kasten%1").arg(n));
        Img_Kasten[n]->setAccessibleName(QStringLiteral("Kästchen %1").arg(n));
        Twips::setze(Img_Kasten[n], 480, 1680 + (n - 1) * 960, 675, 675);
    }

    bez_Titel = new QLabel(QStringLiteral("(Titel)"), this);
    bez_Titel->setObjectName(QStringLiteral("bez_Titel"));
    Twips::setze(bez_Titel, 240, 120, 7455, 375);
    bez_Titel->setFont(arial(12, true));
    bez_Titel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    for (QLabel* label : {bez_FrInsgesamt, bez_FrFalsch, bez_FrRichtig, bez_RichtigFalsch, bez_Titel})
        label->setTextFormat(Qt::PlainText);

    setTabOrder(cmd_Kontrolle, cmd_NFrage);
}

void frmAbfrage::verbindeEreignisse()
{
    for (int n = 1; n <= 4; ++n)
        connect(Img_Kasten[n], &Bildfeld::geklickt, this, [this, n] { Img_Kasten_Click(n); });
    cmd_Kontrolle->installEventFilter(this);
    connect(cmd_Kontrolle, &QPushButton::clicked, this, &frmAbfrage::cmd_Kontrolle_Click);
    connect(timer_NFrage, &QTimer::timeout, this, &frmAbfrage::timer_NFrage_Timer);
    connect(cmd_NFrage, &QPushButton::clicked, this, &frmAbfrage::cmd_NFrage_Click);
    connect(cmd_Abbrechen, &QPushButton::clicked, this, &frmAbfrage::cmd_Abbrechen_Click);
    // The explanation once the verdict is shown, not before.
    Erlaeuterungsaufruf::anhaengen(this, bez_Frage, [this]() -> std::optional<Katalogfrage> {
        if (bez_RichtigFalsch->text().isEmpty())
            return std::nullopt;
        return aktuelleFrage();
    });
}

void frmAbfrage::ZeigeFrage()
{
    const Katalogfrage& frage = aktuelleFrage();
    Auswahl = 0;
    for (int n = 1; n <= 4; ++n) {
        Img_Kasten[n]->setzeBild(kLeer);
        Img_Kasten[n]->setVisible(true);
        Img_Kasten[n]->setEnabled(true);
    }
    bez_RichtigFalsch->setText(QString());
    bez_Titel->setText(frage.thema >= 1 && frage.thema <= 11 ? m_titel[frage.thema] : QString());
    bez_Frage->setzeText(frage.frage);
    for (int n = 1; n <= 4; ++n)
        Img_Kasten[n]->Tag.clear();

    // Each answer goes to a free box drawn at random, which makes every order of the four
    // equally likely. The generator is seeded once, from the system, not from the clock.
    QRandomGenerator* quelle = zufall ? zufall : QRandomGenerator::global();
    for (int i = 1; i <= 4; ++i) {
        int r;
        do {
            r = int(quelle->bounded(4)) + 1;
        } while (!Img_Kasten[r]->Tag.isEmpty());
        Text_Antwort[r]->setzeText(frage.antwort[i]);
        Img_Kasten[r]->Tag = QString::number(i);
    }
}

void frmAbfrage::ZeigeStatistik()
{
    bez_FrRichtig->setText(QString::number(lauf().AnzRichtig));
    bez_FrFalsch->setText(QString::number(lauf().AnzFalsch));
    bez_FrInsgesamt->setText(QString::number(anzahl()));
    // A screen reader hears what the colour and the tooltip say.
    for (QLabel* zaehler : {bez_FrRichtig, bez_FrFalsch, bez_FrInsgesamt})
        zaehler->setAccessibleName(zaehler->toolTip() + QStringLiteral(": ") + zaehler->text());
}

void frmAbfrage::Img_Kasten_Click(int index)
{
    for (int k = 1; k <= 4; ++k)
        Img_Kasten[k]->setzeBild(k == index ? kAngekreuzt : kLeer);
    Auswahl = index;
}

// The plain digits 1 to 4 on "&Kontrolle" (on the number pad too) cross a box as a click would;
// with Ctrl or Alt held they are some other command and cross nothing. The key goes on as usual.
bool frmAbfrage::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == cmd_Kontrolle && ereignis->type() == QEvent::KeyPress) {
        const auto* druck = static_cast<QKeyEvent*>(ereignis);
        const int taste = druck->key();
        if (taste >= Qt::Key_1 && taste <= Qt::Key_4 && (druck->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            Img_Kasten_Click(taste - Qt::Key_1 + 1);
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void frmAbfrage::cmd_Kontrolle_Click()
{
    if (Auswahl == 0) {
        Meldung::zeige(this, QStringLiteral("Sie wollen es noch nicht einmal versuchen ?"),
                       QStringLiteral("Keine Auswahl "));
        return;
    }
    cmd_Kontrolle->setEnabled(false);
    Auswertung(Auswahl);
}

// Judges the box by its tag, the answer's number in the file, wherever the shuffle put it.
// A correct-answer number outside 1 to 4 matches no box: wrong, and no arrow.
void frmAbfrage::Auswertung(int index)
{
    const int loesung = aktuelleFrage().loesung;
    for (int k = 1; k <= 4; ++k)
        Img_Kasten[k]->setEnabled(false);

    if (Img_Kasten[index]->Tag.toInt() == loesung) {
        ++lauf().AnzRichtig;
        faerbe(bez_RichtigFalsch, QColor(0, 255, 0));
        bez_RichtigFalsch->setText(QStringLiteral("Richtig !"));
        for (int k = 1; k <= 4; ++k) {
            if (k == index)
                Img_Kasten[k]->setzeBild(kRichtig);
            else
                Img_Kasten[k]->setVisible(false);
        }
    } else {
        faerbe(bez_RichtigFalsch, QColor(255, 0, 0));
        bez_RichtigFalsch->setText(QStringLiteral("Falsch !"));
        ++lauf().AnzFalsch;
        for (int k = 1; k <= 4; ++k) {
            if (Img_Kasten[k]->Tag.toInt() == loesung)
                Img_Kasten[k]->setzeBild(kPfeil);
            else if (k == index)
                Img_Kasten[k]->setzeBild(kFalsch);
            else
                Img_Kasten[k]->setVisible(false);
        }
    }
    ZeigeStatistik();
    if (lauf().AktFrage == anzahl())
        cmd_NFrage->setText(QStringLiteral("Ergebnis ..."));
    merke(index, Img_Kasten[index]->Tag.toInt() == loesung);
    timer_NFrage->start();
}

const Katalogfrage& frmAbfrage::aktuelleFrage() const
{
    static const Katalogfrage keine;
    const int i = lauf().AktFrage - 1;
    return i >= 0 && i < m_fragen.size() ? m_fragen[i] : keine;
}

// The answer goes into the history with its number in the file.
void frmAbfrage::merke(int index, bool richtig)
{
    const Katalogfrage& frage = aktuelleFrage();
    if (!m_verlauf.schreibe(frage.thema, frage.kennung, Img_Kasten[index]->Tag.toInt(), richtig))
        meldeVerlaufNichtSchreibbar(this, m_verlauf.grund());
}

void frmAbfrage::timer_NFrage_Timer()
{
    cmd_NFrage->setEnabled(true);
    cmd_NFrage->setFocus();
}

void frmAbfrage::cmd_NFrage_Click()
{
    if (lauf().AktFrage == anzahl()) {
        {
            const bool benoten = m_modus == Verlauf::Modus::Abfrage;
            // A practice across topics is of no one topic, whichever the bank holds.
            QString satz;
            if (m_modus == Verlauf::Modus::Heute)
                satz = anzahl() == 1
                           ? QStringLiteral("Sie haben 1 Frage beantwortet, die heute fällig war.")
                           : QStringLiteral("Sie haben %1 Fragen beantwortet, die heute fällig waren.").arg(anzahl());
            frmAbfrageEnde ergebnis(this, anzahl(), benoten, satz);
            // The grade is kept before the learner sees it.
            if (benoten)
                emit benotet();
            ergebnis.exec();
        }
        accept();
        return;
    }
    ++lauf().AktFrage;
    cmd_NFrage->setEnabled(false);
    cmd_Kontrolle->setEnabled(true);
    cmd_Kontrolle->setFocus();
    ZeigeFrage();
}

void frmAbfrage::cmd_Abbrechen_Click()
{
    if (Meldung::zeige(this, QStringLiteral("Möchten Sie die Abfrage wirklich beenden ?"), QStringLiteral("Beenden ?"),
                       Meldung::Knoepfe::JaNein) == Meldung::Antwort::Ja)
        reject();
}
