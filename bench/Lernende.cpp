// Simulated learners for the calibration bench. They are deliberately not the program's recall
// model: a different story of memory, so that the bench shows whether the chance to pass holds
// for learners the model was not written for. What they assume:
//
// Memory (base-level activation, after the ACT-R account of spacing):
// - Every exposure to a question leaves a trace: an answer in a quiz or drill (the program shows
//   the solution after it), a handed-in exam sheet (its review), reading the question with its
//   solution in the learn window. Right and wrong answers leave the same trace.
// - A question's activation at time t is ln(B + sum_j (t - t_j)^-d_j): B a lasting strength from
//   before the program (0 for most questions), t_j the traces. Forgetting is a power law.
// - A trace's decay is d_j = c * exp(m_j) + alpha, m_j the activation when it was laid: a question
//   seen again while still fresh gains a trace that fades fast, so spaced practice lasts longer
//   than massed practice. alpha differs by learner (0.14 to 0.24), c = 0.217.
// - Time between sessions counts as a fortieth (h = 0.025) of time within one: "psychological
//   time", without which day-long gaps would forget far too much.
// - Recall is logistic in activation minus the question's threshold, noise s = 0.25. The threshold
//   varies by topic (sd 0.25), by question (sd 0.45), by learner (strength, sd 0.35) and by learner
//   and question (sd 0.2).
// Answering:
// - Recalled: right unless the learner slips, a chance per question between 0 and 8 %.
// - Not recalled: a guess, right with a chance per question between 10 and 40 % (some wrong answers
//   are more attractive than others, some questions give themselves away).
// - Known at first sight: per learner and question, with a logit of the learner's share (mean -1.6,
//   sd 0.8: most learners know 5 to 40 % of the questions before) plus the question's (sd 0.8,
//   easy questions more often); such a question has a lasting strength recalled with 50 to 95 %.
// - The answers of one exam sheet are independent given the memory at that moment.
// Studying:
// - Study phases of 2 to 7 weeks, pauses of 1 to 9 weeks between them; after a phase one learner in
//   seven stops for good. In a phase a learner studies on 25 to 85 % of the days (the first day
//   always), one to three sessions a day in the late afternoon or evening.
// - A session quizzes a whole topic in random order (new topics first, in order, mostly), then,
//   for most learners, drills that topic's questions last answered wrong right away, one to three
//   rounds while some remain. Some sessions only drill a topic's mistakes; later quizzes take the
//   topic quizzed longest ago, the one with most mistakes, or any.
// - About a third of the learners read a new topic in the learn window before its first quiz: this
//   leaves traces but no history, as in the program.
// - Now and then, once six topics were quizzed, an exam sheet at the end of a study day (3 to 25 %
//   of study days, by learner), written at hand-in as the program does.
#include "Lernende.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace Lernende {

namespace {

constexpr double kC = 0.217;
constexpr double kRauschen = 0.25;
constexpr double kSchwelle = -1.45;
constexpr double kTag = 86400;

double logistisch(double x) { return 1 / (1 + std::exp(-x)); }

double normalAus(QRandomGenerator& zufall)
{
    // Box-Muller: the same numbers on every platform, unlike std::normal_distribution.
    const double u = 1 - zufall.generateDouble();
    const double v = zufall.generateDouble();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * M_PI * v);
}

} // namespace

Fragen Fragen::aus(const Gesamtkatalog& katalog, quint32 saat)
{
    const quint32 samen[] = {saat, 0x46524147u};
    QRandomGenerator zufall(samen, 2);
    Fragen f;
    f.groessen = katalog.groessen();
    for (int t = 1; t <= 11; ++t) {
        const double thema = 0.25 * normalAus(zufall);
        for (const Katalogfrage& k : katalog.fragen[t]) {
            Frage q;
            q.thema = t;
            q.nummer = k.nummer;
            q.loesung = k.loesung;
            q.kennung = k.kennung;
            const double eigen = normalAus(zufall);
            q.schwelle = kSchwelle + thema + 0.45 * eigen;
            q.raten = 0.1 + 0.3 * zufall.generateDouble();
            q.patzer = 0.08 * zufall.generateDouble();
            q.bekannt = 0.8 * normalAus(zufall) - 0.6 * eigen;
            f.alle.push_back(q);
        }
    }
    return f;
}

Lernender::Lernender(const Fragen& fragen, const Optionen& optionen, quint32 saat, quint32 nummer)
    : m_fragen(fragen), m_optionen(optionen)
{
    const quint32 samen[] = {saat, nummer, 0x4c45524eu};
    m_zufall = QRandomGenerator(samen, 3);

    m_staerke = 0.35 * normal();
    m_alpha = gleich(0.14, 0.24);
    m_vorwissen = -1.6 + 0.8 * normal();
    m_lerntage = gleich(0.25, 0.85);
    m_drill = chance(0.8) ? gleich(0.5, 1.0) : 0.0;
    m_runden = 1 + int(m_zufall.bounded(3));
    m_pruefung = gleich(0.03, 0.25);
    m_lernfenster = chance(0.35) && m_optionen.lernfenster ? gleich(0.5, 1.0) : 0.0;
    m_fehlerSitzung = gleich(0.1, 0.35);

    m_stand.resize(m_fragen.alle.size());
    m_erste.assign(12, 0);
    for (std::size_t i = 0; i < m_fragen.alle.size(); ++i) {
        const Fragen::Frage& f = m_fragen.alle[i];
        if (f.nummer == 1)
            m_erste[f.thema] = int(i);
        Stand& s = m_stand[i];
        s.schwelle = f.schwelle - m_staerke + 0.2 * normal();
        if (chance(logistisch(m_vorwissen + f.bekannt)))
            s.vorwissen = std::exp(s.schwelle + kRauschen * (1.5 + 0.9 * normal()));
    }

    // Day 0 between 5 January and 1 February 2026, at midnight UTC.
    m_start = double(QDateTime(QDate(2026, 1, 5), QTime(0, 0), Qt::UTC).toSecsSinceEpoch()) +
              kTag * double(m_zufall.bounded(28));
    m_jetzt = m_start;
    m_phaseBis = int(gleich(14, 50));
    m_abgefragtAm.assign(12, -1);
}

double Lernender::normal() { return normalAus(m_zufall); }

double Lernender::gleich(double von, double bis) { return von + (bis - von) * m_zufall.generateDouble(); }

bool Lernender::chance(double p) { return m_zufall.generateDouble() < p; }

double Lernender::summe(const Stand& s, double psych) const
{
    double summe = s.vorwissen;
    for (const Spur& spur : s.spuren)
        summe += std::pow(std::max(psych - spur.zeit, 1.0), -spur.zerfall);
    return summe;
}

double Lernender::erinnert(const Stand& s, double psych) const
{
    const double a = summe(s, psych);
    if (a <= 0)
        return 0;
    return logistisch((std::log(a) - s.schwelle) / kRauschen);
}

double Lernender::richtigChance(int i, double psych) const
{
    const Fragen::Frage& f = m_fragen.alle[i];
    const double r = erinnert(m_stand[i], psych);
    return r * (1 - f.patzer) + (1 - r) * f.raten;
}

void Lernender::sieh(int i)
{
    Stand& s = m_stand[i];
    s.spuren.push_back({m_psych, kC * summe(s, m_psych) + m_alpha});
}

bool Lernender::antworte(int i)
{
    const bool richtig = chance(richtigChance(i, m_psych));
    sieh(i);
    m_stand[i].zuletzt = richtig ? 1 : 0;
    return richtig;
}

void Lernender::warte(double sekunden, bool aktiv)
{
    m_jetzt += sekunden;
    m_psych += (aktiv ? 1.0 : m_optionen.zeitfaktor) * sekunden;
}

void Lernender::gehZu(double sekunden)
{
    if (sekunden > m_jetzt)
        warte(sekunden - m_jetzt, false);
}

QString Lernender::zeitText() const
{
    return QDateTime::fromSecsSinceEpoch(qint64(m_jetzt), Qt::UTC).toString(Qt::ISODate);
}

QString Lernender::laufText() const
{
    return QDateTime::fromMSecsSinceEpoch(qint64(m_jetzt * 1000), Qt::UTC).toString(Qt::ISODateWithMs);
}

void Lernender::schreibe(const QString& lauf, Verlauf::Modus modus, int i, bool richtig, const QString& zeit)
{
    const Fragen::Frage& f = m_fragen.alle[i];
    Verlauf::Eintrag e;
    e.zeit = zeit;
    e.lauf = lauf;
    e.modus = modus;
    e.thema = f.thema;
    e.frage = f.kennung;
    // A wrong answer is one of the other three, which one does not matter here.
    e.antwort = richtig ? f.loesung : (f.loesung + int(m_zufall.bounded(3))) % 4 + 1;
    e.richtig = richtig;
    m_verlauf.append(e);
}

QList<int> Lernender::fehlerfragen(int thema) const
{
    QList<int> fragen;
    for (int n = 0; n < m_fragen.groessen[thema - 1]; ++n)
        if (m_stand[m_erste[thema] + n].zuletzt == 0)
            fragen.append(m_erste[thema] + n);
    return fragen;
}

void Lernender::lernen(int thema)
{
    for (int n = 0; n < m_fragen.groessen[thema - 1]; ++n) {
        warte(gleich(5, 15), true);
        sieh(m_erste[thema] + n);
    }
}

void Lernender::abfrage(int thema)
{
    QList<int> fragen;
    for (int n = 0; n < m_fragen.groessen[thema - 1]; ++n)
        fragen.append(m_erste[thema] + n);
    for (qsizetype i = fragen.size() - 1; i > 0; --i)
        std::swap(fragen[i], fragen[m_zufall.bounded(int(i) + 1)]);
    warte(gleich(3, 10), true);
    const QString lauf = laufText();
    for (int i : fragen) {
        warte(gleich(8, 25), true);
        schreibe(lauf, Verlauf::Modus::Abfrage, i, antworte(i), zeitText());
    }
    m_abgefragtAm[thema] = int((m_jetzt - m_start) / kTag);
}

void Lernender::fehlerUeben(int thema)
{
    const QList<int> fragen = fehlerfragen(thema);
    warte(gleich(3, 15), true);
    const QString lauf = laufText();
    for (int i : fragen) {
        warte(gleich(8, 25), true);
        schreibe(lauf, Verlauf::Modus::Fehler, i, antworte(i), zeitText());
    }
}

void Lernender::pruefung()
{
    warte(gleich(60, 600), false);
    QList<Bogenfrage> blatt = Pruefung::ziehe(m_fragen.groessen, m_optionen.bogen, m_zufall);
    const QString lauf = laufText();
    QList<bool> richtig;
    for (const Bogenfrage& b : blatt) {
        warte(gleich(20, 60), true);
        richtig.append(chance(richtigChance(m_erste[b.thema] + b.frage - 1, m_psych)));
    }
    // Written and reviewed at hand-in: the review shows every solution.
    warte(gleich(10, 60), true);
    const QString zeit = zeitText();
    for (int k = 0; k < blatt.size(); ++k) {
        const int i = m_erste[blatt[k].thema] + blatt[k].frage - 1;
        schreibe(lauf, Verlauf::Modus::Pruefung, i, richtig[k], zeit);
        sieh(i);
        m_stand[i].zuletzt = richtig[k] ? 1 : 0;
    }
}

int Lernender::waehleThema()
{
    int aeltestes = 1, meisteFehler = 1;
    for (int t = 1; t <= 11; ++t) {
        if (m_abgefragtAm[t] < m_abgefragtAm[aeltestes])
            aeltestes = t;
        if (fehlerfragen(t).size() > fehlerfragen(meisteFehler).size())
            meisteFehler = t;
    }
    const double z = m_zufall.generateDouble();
    if (z < 0.5)
        return aeltestes;
    if (z < 0.8)
        return meisteFehler;
    return 1 + int(m_zufall.bounded(11));
}

void Lernender::lebe(int tag)
{
    if (m_aufgehoert)
        return;
    bool ersterTag = tag == 0;
    if (tag >= m_phaseBis && m_optionen.pausen) {
        if (m_lernphase) {
            if (chance(1.0 / 7)) {
                m_aufgehoert = true;
                return;
            }
            m_lernphase = false;
            m_phaseBis = tag + int(gleich(7, 64));
        } else {
            m_lernphase = true;
            m_phaseBis = tag + int(gleich(14, 50));
            ersterTag = true;
        }
    }
    if (!m_lernphase || (!ersterTag && !chance(m_lerntage)))
        return;

    gehZu(m_start + tag * kTag + gleich(15, 19) * 3600);
    const int sitzungen = 1 + chance(0.4) + chance(0.15);
    for (int s = 0; s < sitzungen; ++s) {
        if (s > 0)
            warte(gleich(2, 40) * 60, false);
        QList<int> neu;
        for (int t = 1; t <= 11; ++t)
            if (m_abgefragtAm[t] < 0)
                neu.append(t);
        int thema = 0;
        if (!neu.isEmpty() && chance(0.8)) {
            thema = chance(0.7) ? neu.first() : neu[m_zufall.bounded(int(neu.size()))];
            if (chance(m_lernfenster))
                lernen(thema);
        } else if (chance(m_fehlerSitzung)) {
            int meisteFehler = 1;
            for (int t = 2; t <= 11; ++t)
                if (fehlerfragen(t).size() > fehlerfragen(meisteFehler).size())
                    meisteFehler = t;
            if (!fehlerfragen(meisteFehler).isEmpty()) {
                fehlerUeben(meisteFehler);
                continue;
            }
        }
        if (thema == 0)
            thema = waehleThema();
        abfrage(thema);
        if (chance(m_drill))
            for (int runde = 0; runde < m_runden && !fehlerfragen(thema).isEmpty(); ++runde)
                fehlerUeben(thema);
    }
    int abgefragt = 0;
    for (int t = 1; t <= 11; ++t)
        abgefragt += m_abgefragtAm[t] >= 0;
    if (abgefragt >= 6 && chance(m_pruefung))
        pruefung();
    m_letzterLerntag = tag;
}

QDateTime Lernender::tagesende(int tag) const
{
    return QDateTime::fromSecsSinceEpoch(qint64(m_start + tag * kTag + kTag - 1), Qt::UTC);
}

QList<QList<double>> Lernender::treffer(const QDateTime& zeit) const
{
    const double psych = m_psych + m_optionen.zeitfaktor * std::max(0.0, double(zeit.toSecsSinceEpoch()) - m_jetzt);
    QList<QList<double>> treffer(11);
    for (std::size_t i = 0; i < m_fragen.alle.size(); ++i)
        treffer[m_fragen.alle[i].thema - 1].append(richtigChance(int(i), psych));
    return treffer;
}

QString Lernender::beschreibung() const
{
    int vorher = 0;
    for (const Stand& s : m_stand)
        vorher += s.vorwissen > 0;
    return QStringLiteral("strength %1, decay %2, known before %3, study days %4, drill %5 x%6, sheets %7, "
                          "learn window %8")
        .arg(m_staerke, 0, 'f', 2)
        .arg(m_alpha, 0, 'f', 3)
        .arg(vorher)
        .arg(m_lerntage, 0, 'f', 2)
        .arg(m_drill, 0, 'f', 2)
        .arg(m_runden)
        .arg(m_pruefung, 0, 'f', 2)
        .arg(m_lernfenster, 0, 'f', 2);
}

} // namespace Lernende
