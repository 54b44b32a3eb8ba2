#include "frmPruefung.h"

#include "Meldung.h"
#include "Textfeld.h"
#include "Twips.h"
#include "Verlaufsmeldung.h"
#include "frmPruefungsergebnis.h"
#include "quiz/Bildfeld.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>

namespace {

qint64 steteUhr()
{
    static QElapsedTimer uhr = [] {
        QElapsedTimer u;
        u.start();
        return u;
    }();
    return uhr.elapsed();
}

QString alsMinuten(qint64 ms)
{
    const qint64 sekunden = (std::max<qint64>(ms, 0) + 999) / 1000;
    return QStringLiteral("%1:%2").arg(sekunden / 60).arg(sekunden % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

std::function<qint64()> frmPruefung::uhr = steteUhr;
int frmPruefung::taktMs = 250;

frmPruefung::frmPruefung(QWidget* eltern, const Gesamtkatalog& katalog, const Pruefungsregel& regel,
                         const QList<Bogenfrage>& bogen)
    : Uebungsfenster(eltern, QStringLiteral("frmPruefung"), QStringLiteral("Prüfungssimulation"), 7905, 6150),
      m_katalog(katalog), m_regel(regel), m_bogen(bogen), m_gewaehlt(bogen.size(), 0)
{
    erzeugeSteuerelemente();
    verbindeEreignisse();

    // Each question's answers in a random order, kept for the whole sheet.
    for (int i = 0; i < m_bogen.size(); ++i) {
        std::array<int, 5> reihe{0, 1, 2, 3, 4};
        std::shuffle(reihe.begin() + 1, reihe.end(), *QRandomGenerator::global());
        m_reihenfolge << reihe;
    }
    m_beginn = uhr();
    zeigeFrage(0);
    ticke();
    timer_Uhr->start();
    cmd_Weiter->setFocus();
}

void frmPruefung::erzeugeSteuerelemente()
{
    bez_Stand = new QLabel(this);
    bez_Stand->setObjectName(QStringLiteral("bez_Stand"));
    Twips::setze(bez_Stand, 240, 120, 3600, 375);
    bez_Stand->setFont(arial(12, true));
    bez_Stand->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    bez_Zeit = new QLabel(this);
    bez_Zeit->setObjectName(QStringLiteral("bez_Zeit"));
    Twips::setze(bez_Zeit, 4095, 120, 3600, 375);
    bez_Zeit->setFont(arial(12, true));
    bez_Zeit->setAlignment(Qt::AlignRight | Qt::AlignTop);

    bez_Frage = new Textfeld(Textfeld::Art::Frage, this);
    bez_Frage->setObjectName(QStringLiteral("bez_Frage"));
    Twips::setze(bez_Frage, 240, 600, 7575, 855);
    bez_Frage->setReadOnly(true);

    for (int n = 1; n <= 4; ++n) {
        Img_Kasten[n] = new Bildfeld(this);
        Img_Kasten[n]->setObjectName(QStringLiteral("Img_Kasten%1").arg(n));
        Img_Kasten[n]->setAccessibleName(QStringLiteral("Kästchen %1").arg(n));
        Twips::setze(Img_Kasten[n], 480, 1680 + (n - 1) * 960, 675, 675);
        Text_Antwort[n] = new Textfeld(Textfeld::Art::Antwort, this);
        Text_Antwort[n]->setObjectName(QStringLiteral("Text_Antwort%1").arg(n));
        Text_Antwort[n]->setAccessibleName(QStringLiteral("Antwort zu Kästchen %1").arg(n));
        Twips::setze(Text_Antwort[n], 1320, 1680 + (n - 1) * 960, 6135, 735);
    }

    bez_Beantwortet = new QLabel(this);
    bez_Beantwortet->setObjectName(QStringLiteral("bez_Beantwortet"));
    Twips::setze(bez_Beantwortet, 240, 5520, 2640, 375);
    bez_Beantwortet->setFont(arial(9.75));
    bez_Beantwortet->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmd_Zurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmd_Zurueck->setObjectName(QStringLiteral("cmd_Zurueck"));
    Twips::setze(cmd_Zurueck, 3000, 5520, 1335, 375);

    cmd_Weiter = new QPushButton(QStringLiteral("&Weiter"), this);
    cmd_Weiter->setObjectName(QStringLiteral("cmd_Weiter"));
    Twips::setze(cmd_Weiter, 4440, 5520, 1335, 375);

    cmd_Abgeben = new QPushButton(QStringLiteral("&Abgeben"), this);
    cmd_Abgeben->setObjectName(QStringLiteral("cmd_Abgeben"));
    Twips::setze(cmd_Abgeben, 6360, 5520, 1335, 375);

    for (QPushButton* knopf : {cmd_Zurueck, cmd_Weiter, cmd_Abgeben})
        knopf->setAutoDefault(false);
    for (QLabel* label : {bez_Stand, bez_Zeit, bez_Beantwortet})
        label->setTextFormat(Qt::PlainText);
    setTabOrder(cmd_Zurueck, cmd_Weiter);
    setTabOrder(cmd_Weiter, cmd_Abgeben);

    timer_Uhr = new QTimer(this);
    timer_Uhr->setObjectName(QStringLiteral("timer_Uhr"));
    timer_Uhr->setInterval(taktMs);
}

void frmPruefung::verbindeEreignisse()
{
    for (int n = 1; n <= 4; ++n)
        connect(Img_Kasten[n], &Bildfeld::geklickt, this, [this, n] { kreuze(n); });
    connect(cmd_Zurueck, &QPushButton::clicked, this, [this] { zeigeFrage(m_aktuell - 1); });
    connect(cmd_Weiter, &QPushButton::clicked, this, [this] { zeigeFrage(m_aktuell + 1); });
    connect(cmd_Abgeben, &QPushButton::clicked, this, &frmPruefung::cmd_Abgeben_Click);
    connect(timer_Uhr, &QTimer::timeout, this, &frmPruefung::ticke);
}

void frmPruefung::zeigeFrage(int index)
{
    if (index < 0 || index >= m_bogen.size())
        return;
    m_aktuell = index;
    const Katalogfrage& f = m_katalog.frage(m_bogen[index]);
    bez_Stand->setText(QStringLiteral("Frage %1 von %2").arg(index + 1).arg(m_bogen.size()));
    bez_Frage->setzeText(f.frage);
    for (int n = 1; n <= 4; ++n) {
        const int antwort = m_reihenfolge[index][n];
        Text_Antwort[n]->setzeText(f.antwort[antwort]);
        Img_Kasten[n]->Tag = QString::number(antwort);
        Img_Kasten[n]->setzeBild(m_gewaehlt[index] == antwort ? 2 : 1);
    }
    bez_Beantwortet->setText(
        QStringLiteral("Beantwortet: %1 von %2").arg(m_bogen.size() - offen()).arg(m_bogen.size()));
    // The focus stays on a button that can be pressed: at the last question, the hand-in.
    const bool fokusWeg = cmd_Weiter->hasFocus() && index + 1 == m_bogen.size();
    cmd_Zurueck->setEnabled(index > 0);
    cmd_Weiter->setEnabled(index + 1 < m_bogen.size());
    if (fokusWeg)
        cmd_Abgeben->setFocus();
    else if (cmd_Zurueck->hasFocus() && index == 0)
        cmd_Weiter->setFocus();
}

// Crossing the crossed box again leaves the question open.
void frmPruefung::kreuze(int kasten)
{
    if (m_abgegeben || kasten < 1 || kasten > 4)
        return;
    const int antwort = m_reihenfolge[m_aktuell][kasten];
    m_gewaehlt[m_aktuell] = m_gewaehlt[m_aktuell] == antwort ? 0 : antwort;
    zeigeFrage(m_aktuell);
}

int frmPruefung::offen() const { return int(std::count(m_gewaehlt.begin(), m_gewaehlt.end(), 0)); }

QString frmPruefung::offeneNummern() const
{
    QStringList teile;
    for (int i = 0; i < m_gewaehlt.size(); ++i) {
        if (m_gewaehlt[i] != 0)
            continue;
        int bis = i;
        while (bis + 1 < m_gewaehlt.size() && m_gewaehlt[bis + 1] == 0)
            ++bis;
        if (bis - i >= 2) {
            teile << QStringLiteral("%1–%2").arg(i + 1).arg(bis + 1);
        } else {
            for (int j = i; j <= bis; ++j)
                teile << QString::number(j + 1);
        }
        i = bis;
    }
    if (teile.size() <= 1)
        return teile.value(0);
    const QString letztes = teile.takeLast();
    return teile.join(QStringLiteral(", ")) + QStringLiteral(" und ") + letztes;
}

void frmPruefung::keyPressEvent(QKeyEvent* ereignis)
{
    const int taste = ereignis->key();
    if (taste >= Qt::Key_1 && taste <= Qt::Key_4 &&
        (ereignis->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        kreuze(taste - Qt::Key_1 + 1);
        return;
    }
    QDialog::keyPressEvent(ereignis);
}

qint64 frmPruefung::restMs() const { return qint64(m_regel.minuten) * 60000 - (uhr() - m_beginn); }

void frmPruefung::ticke()
{
    const qint64 rest = restMs();
    bez_Zeit->setText(QStringLiteral("Restzeit %1").arg(alsMinuten(rest)));
    bez_Zeit->setAccessibleName(QStringLiteral("Restzeit %1 Minuten").arg(alsMinuten(rest)));
    // The last five minutes in red, as a clock on the wall would not say.
    QPalette p = bez_Zeit->palette();
    p.setColor(QPalette::WindowText, rest <= 5 * 60000 ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
    bez_Zeit->setPalette(p);
    if (rest <= 0 && !m_fragt && !m_abgegeben)
        gibAb();
}

bool frmPruefung::frage(const QString& text, const QString& titel, Meldung::Knoepfe knoepfe)
{
    m_fragt = true;
    const bool ja = Meldung::zeige(this, text, titel, knoepfe) == Meldung::Antwort::Ja;
    m_fragt = false;
    // Time that ran out while the question was open hands the sheet in now.
    if (restMs() <= 0 && !m_abgegeben) {
        gibAb();
        return false;
    }
    return ja;
}

void frmPruefung::cmd_Abgeben_Click()
{
    // Which questions are open, by their numbers on the sheet, so that the learner can go back to them.
    const int n = offen();
    const QString welche = n == 1 ? QStringLiteral("Frage %1 ist").arg(offeneNummern())
                                  : QStringLiteral("Die Fragen %1 sind").arg(offeneNummern());
    if (n > 0 && !frage(QStringLiteral("%1 noch nicht beantwortet. Möchten Sie den Bogen trotzdem abgeben ?").arg(welche),
                        QStringLiteral("Abgeben ?"), Meldung::Knoepfe::JaNein))
        return;
    if (!m_abgegeben)
        gibAb();
}

void frmPruefung::reject()
{
    if (m_abgegeben) {
        QDialog::reject();
        return;
    }
    // A stray Enter must not throw the sheet away: "Nein" is the default here.
    if (frage(QStringLiteral("Möchten Sie die Prüfung wirklich aufgeben ? Ein aufgegebener Bogen wird nicht bewertet."),
              QStringLiteral("Aufgeben ?"), Meldung::Knoepfe::JaNeinVorgabeNein))
        QDialog::reject();
}

// Every answer of the sheet goes into the history, an open question as answer 0; then the
// result, and the window closes.
void frmPruefung::gibAb()
{
    m_abgegeben = true;
    timer_Uhr->stop();
    Verlauf::Schreiber verlauf(Verlauf::Modus::Pruefung);
    bool geschrieben = true;
    Pruefungsergebnis ergebnis;
    ergebnis.regel = m_regel;
    ergebnis.dauerMs = std::clamp<qint64>(uhr() - m_beginn, 0, qint64(m_regel.minuten) * 60000);
    for (int i = 0; i < m_bogen.size(); ++i) {
        const Katalogfrage& f = m_katalog.frage(m_bogen[i]);
        const int gewaehlt = m_gewaehlt[i];
        const bool richtig = gewaehlt != 0 && gewaehlt == f.loesung;
        geschrieben = verlauf.schreibe(f.thema, f.kennung, gewaehlt, richtig) && geschrieben;
        if (richtig)
            ++ergebnis.richtig;
        else if (gewaehlt == 0)
            ++ergebnis.offen;
        else
            ++ergebnis.falsch;
        if (!richtig)
            ergebnis.fehler.append({i + 1, f.thema, f.nummer, gewaehlt});
    }
    if (!geschrieben)
        meldeVerlaufNichtSchreibbar(this, verlauf.grund());
    {
        frmPruefungsergebnis fenster(this, m_katalog, ergebnis);
        fenster.exec();
    }
    accept();
}
