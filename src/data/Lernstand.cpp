#include "Lernstand.h"

#include "Benutzerordner.h"
#include "Dateischutz.h"
#include "Feldleser.h"
#include "Katalog.h"
#include "Parallel.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <optional>
#include <vector>

using Erinnerung::Anpassung;
using Erinnerung::Antwort;
using Erinnerung::Parameter;
using Erinnerung::Spur;

namespace {

constexpr qint64 kTag = 86400;
constexpr int kTage = 60;
constexpr qsizetype kHoechstensBoegen = 200;
// A question answered in more runs than this keeps its latest ones: what a thousand answers
// back did is long overlaid by what came after, and memory stays bounded whatever the file holds.
constexpr qsizetype kHoechstensJeFrage = 1000;
// Due: the chance to know a question falls below this by the end of the day.
constexpr double kZiel = 0.9;
// Draws for the range: enough for its ends to settle within a point or two.
constexpr int kZuege = 256;
constexpr double kGrob = 0.2;
// How far, on the logit scale, the model's chances for one learner lie off the learner's own,
// all questions alike (one standard deviation). The bench of simulated learners shows each
// question right on average, but a learner's chance to pass off by 8 points on average: the
// sheet is steep, and what the model gets wrong of a learner it gets wrong for all their
// questions. Without it the 80 % range held the true chance on half the days; with it, on
// four in five.
constexpr double kModellfehler = 0.2;
// A gain in the chance to pass below this says nothing about which question to take first.
constexpr double kSpuerbar = 1e-6;

// Milliseconds since 1970 of a time as the history writes it (2026-12-07T14:32:05Z, perhaps
// with milliseconds before the Z); nothing for anything else. Far faster than QDateTime's
// parser, which a history of 100,000 answers would feel.
std::optional<qint64> millisekunden(QByteArrayView s)
{
    if (s.size() < 20 || s.back() != 'Z' || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' ||
        s[16] != ':')
        return std::nullopt;
    const auto zahl = [&](int von, int laenge) {
        int wert = 0;
        for (int i = von; i < von + laenge; ++i) {
            const char c = s[i];
            if (c < '0' || c > '9')
                return -1;
            wert = wert * 10 + (c - '0');
        }
        return wert;
    };
    const int jahr = zahl(0, 4), monat = zahl(5, 2), tag = zahl(8, 2);
    const int stunde = zahl(11, 2), minute = zahl(14, 2), sekunde = zahl(17, 2);
    int milli = 0;
    if (s.size() > 20) {
        if (s[19] != '.' || s.size() != 24 || (milli = zahl(20, 3)) < 0)
            return std::nullopt;
    }
    static constexpr int kMonatstage[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool schaltjahr = jahr % 4 == 0 && (jahr % 100 != 0 || jahr % 400 == 0);
    if (jahr < 1 || monat < 1 || monat > 12 || tag < 1 || tag > kMonatstage[monat - 1] ||
        (monat == 2 && tag == 29 && !schaltjahr) || stunde < 0 || stunde > 23 || minute < 0 || minute > 59 ||
        sekunde < 0 || sekunde > 59)
        return std::nullopt;
    // Days since 1970 of the proleptic Gregorian calendar, counted from March so that the leap
    // day falls last in its year.
    const int j = monat <= 2 ? jahr - 1 : jahr;
    const int era = j / 400;
    const int jahrDerEra = j - era * 400;
    const int tagDesJahres = (153 * (monat + (monat > 2 ? -3 : 9)) + 2) / 5 + tag - 1;
    const int tagDerEra = jahrDerEra * 365 + jahrDerEra / 4 - jahrDerEra / 100 + tagDesJahres;
    const qint64 tage = qint64(era) * 146097 + tagDerEra - 719468;
    return ((tage * 24 + stunde) * 60 + minute) * 60000 + sekunde * 1000 + milli;
}

std::optional<qint64> sekunden(QByteArrayView s)
{
    const auto ms = millisekunden(s);
    return ms ? std::optional<qint64>(*ms / 1000) : std::nullopt;
}

quint64 alsZahl(QByteArrayView hex)
{
    quint64 wert = 0;
    for (char c : hex)
        wert = wert << 4 | quint64(c <= '9' ? c - '0' : c - 'a' + 10);
    return wert;
}

double logit(double p) { return std::log(p / (1 - p)); }
double logistisch(double x) { return 1 / (1 + std::exp(-x)); }

// An exam sheet as the history holds it: its lines, written when it was handed in.
struct Blatt {
    qint64 lauf = 0;
    qint64 beginn = 0;
    int fragen = 0;
    int falsch = 0;
};

// The history reduced to what the model needs, taken in line by line: each catalogue question's
// counted answers (the first of each run), its latest answer, and the exam sheets.
class Sammlung {
public:
    Sammlung(const Gesamtkatalog& katalog, qint64 jetzt) : m_jetzt(jetzt)
    {
        for (int t = 1; t <= Katalog::AnzahlThemen; ++t) {
            erster[t] = int(stellen.size());
            for (const Katalogfrage& f : katalog.fragen[t]) {
                const int i = int(stellen.size());
                stellen << Bogenfrage{t, f.nummer};
                m_gleich.push_back(-1);
                // The same text twice in one topic: both share one history, as they share a digest.
                const auto schon = m_index[t].constFind(alsZahl(f.kennung));
                if (schon == m_index[t].cend()) {
                    m_index[t].insert(alsZahl(f.kennung), i);
                } else {
                    int letzte = schon.value();
                    while (m_gleich[letzte] >= 0)
                        letzte = m_gleich[letzte];
                    m_gleich[letzte] = i;
                }
            }
        }
        erster[Katalog::AnzahlThemen + 1] = int(stellen.size());
        antworten.resize(stellen.size());
        m_frage.resize(stellen.size());
    }

    void nimm(const Verlauf::Zeile& e)
    {
        const auto zeit = sekunden(e.zeit);
        if (!zeit || *zeit > m_jetzt)
            return;
        // A run is known by when it began, to the millisecond; hashing the text would cost more,
        // and the lines of a run follow each other.
        if (e.lauf != m_laufText) {
            m_laufText = e.lauf.toByteArray();
            const auto beginn = millisekunden(e.lauf);
            m_lauf = beginn ? *beginn : qint64(qHash(e.lauf));
        }
        const qint64 lauf = m_lauf;
        if (e.modus == Verlauf::Modus::Pruefung)
            blatt(lauf, e, *zeit);
        if (e.thema < 1 || e.thema > Katalog::AnzahlThemen)
            return;
        const auto stelle = m_index[e.thema].constFind(alsZahl(e.frage));
        if (stelle == m_index[e.thema].cend())
            return;
        for (int i = stelle.value(); i >= 0; i = m_gleich[i]) {
            Frage& f = m_frage[i];
            f.beantwortet = true;
            f.letzteRichtig = e.richtig;
            if (f.gezaehlt && f.lauf == lauf)
                continue;
            f.gezaehlt = true;
            f.lauf = lauf;
            QList<Antwort>& liste = antworten[i];
            if (liste.size() >= kHoechstensJeFrage)
                liste.remove(0, kHoechstensJeFrage / 10);
            liste.append({*zeit, e.richtig});
        }
    }

    // In time order: lines appended after the clock was set back still fall into place.
    void schliesse()
    {
        const auto frueher = [](const Antwort& a, const Antwort& b) { return a.zeit < b.zeit; };
        for (QList<Antwort>& liste : antworten) {
            if (!std::is_sorted(liste.begin(), liste.end(), frueher))
                std::stable_sort(liste.begin(), liste.end(), frueher);
        }
        std::stable_sort(boegen.begin(), boegen.end(),
                         [](const Blatt& a, const Blatt& b) { return a.beginn < b.beginn; });
    }

    bool beantwortet(int i) const { return m_frage[i].beantwortet; }
    bool letzteRichtig(int i) const { return m_frage[i].letzteRichtig; }

    QList<Bogenfrage> stellen;                           // question i of the catalogue
    std::array<int, Katalog::AnzahlThemen + 2> erster{}; // topic t's first question i
    QList<QList<Antwort>> antworten;
    QList<Blatt> boegen;

private:
    struct Frage {
        bool beantwortet = false;
        bool letzteRichtig = false;
        bool gezaehlt = false;
        qint64 lauf = 0;
    };

    void blatt(qint64 lauf, const Verlauf::Zeile& e, qint64 zeit)
    {
        // The lines of one sheet follow each other; another program's run may come between.
        for (qsizetype i = boegen.size() - 1; i >= std::max<qsizetype>(0, boegen.size() - 8); --i) {
            if (boegen[i].lauf == lauf) {
                ++boegen[i].fragen;
                boegen[i].falsch += e.richtig ? 0 : 1;
                return;
            }
        }
        boegen.append({lauf, sekunden(e.lauf).value_or(zeit), 1, e.richtig ? 0 : 1});
        if (boegen.size() > kHoechstensBoegen)
            boegen.removeFirst();
    }

    qint64 m_jetzt;
    QByteArray m_laufText;
    qint64 m_lauf = 0;
    std::array<QHash<quint64, int>, Katalog::AnzahlThemen + 1> m_index;
    std::vector<int> m_gleich;
    std::vector<Frage> m_frage;
};

QList<QList<double>> nachThemen(const Sammlung& s, const QList<double>& chancen)
{
    QList<QList<double>> themen;
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t)
        themen << chancen.mid(s.erster[t], s.erster[t + 1] - s.erster[t]);
    return themen;
}

// Every question followed through its answers up to now: its state, its chance now and how
// that moves with the model's parameters, and its chance at each of the given earlier times
// (ascending; NaN before its first answer).
struct Verfolgt {
    std::vector<Spur> spuren;
    std::vector<Erinnerung::Vektor> ableitungen;
    QList<double> jetzt;
    std::vector<QList<double>> damals;
};

Verfolgt verfolge(const Sammlung& s, const Parameter& parameter, const QList<double>& ersteJe, qint64 zeit,
                  const QList<qint64>& zeiten)
{
    const int n = int(s.antworten.size());
    Verfolgt v;
    v.spuren.assign(n, Spur(parameter));
    v.ableitungen.resize(n);
    v.jetzt.resize(n);
    v.damals.assign(zeiten.size(), QList<double>(n, std::nan("")));
    // Each list its own before the parts write into it side by side.
    for (QList<double>& damals : v.damals)
        damals.detach();
    inTeilen(n, 32, [&](int von, int bis) {
        for (int i = von; i < bis; ++i) {
            Parameter p = parameter;
            p.erste = ersteJe[i];
            Erinnerung::Ableitungsspur spur(p);
            const QList<Antwort>& liste = s.antworten[i];
            qsizetype k = 0;
            for (qsizetype z = 0; z < zeiten.size(); ++z) {
                while (k < liste.size() && liste[k].zeit < zeiten[z])
                    spur.antworte(liste[k++]);
                if (spur.spur().beantwortet())
                    v.damals[z][i] = spur.spur().treffer(zeiten[z]);
            }
            while (k < liste.size())
                spur.antworte(liste[k++]);
            v.spuren[i] = spur.spur();
            v.ableitungen[i] = spur.ableitung(zeit);
            v.jetzt[i] = spur.spur().treffer(zeit);
        }
    });
    return v;
}

// The range of the chance to pass: the model's parameters (and the share of first answers
// right) drawn from how uncertain they still are, each question's chance moved with them as
// far as its derivative says (on the logit scale, so that it stays a chance), and the sheet
// computed exactly for every draw. Uncertainty that is a question's own averages out over a
// sheet; what all questions share does not, and that is what is drawn. A learner's memory is
// not the model's either: every question of a learner is off the same way by kModellfehler.
struct Spanne {
    double unten = 0;
    double oben = 1;
    // How wide the range would be without the model's own error: what more answers can narrow.
    double breiteAusDaten = 1;
};

Spanne spanne(const Sammlung& s, const Pruefungsregel& regel, const Anpassung& anpassung, double ersteVarianz,
              const Verfolgt& v)
{
    const int n = int(v.jetzt.size());
    // The covariance of all the parameters, and its Cholesky factor.
    constexpr int m = Erinnerung::Gefittet + 1;
    std::array<double, m * m> c{};
    c[0] = ersteVarianz;
    for (int a = 0; a < m - 1; ++a)
        for (int b = 0; b < m - 1; ++b)
            c[(a + 1) * m + b + 1] = anpassung.kovarianz[a * (m - 1) + b];
    std::array<double, m * m> l{};
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j <= i; ++j) {
            double summe = c[i * m + j];
            for (int k = 0; k < j; ++k)
                summe -= l[i * m + k] * l[j * m + k];
            if (i == j)
                l[i * m + i] = summe > 0 ? std::sqrt(summe) : 0;
            else
                l[i * m + j] = l[j * m + j] > 0 ? summe / l[j * m + j] : 0;
        }
    }

    QList<double> basis(n);
    for (int i = 0; i < n; ++i)
        basis[i] = logit(v.jetzt[i]);
    // A fixed seed: the same history shows the same range every time.
    QRandomGenerator zufall(20261207);
    std::vector<std::array<double, m>> verschiebung(kZuege);
    for (std::array<double, m>& d : verschiebung) {
        std::array<double, m> z;
        d.fill(0);
        for (int j = 0; j < m; j += 2) {
            const double r = std::sqrt(-2 * std::log(1 - zufall.generateDouble()));
            const double w = 2 * std::numbers::pi * zufall.generateDouble();
            z[j] = r * std::cos(w);
            if (j + 1 < m)
                z[j + 1] = r * std::sin(w);
        }
        for (int i = 0; i < m; ++i)
            for (int k = 0; k <= i; ++k)
                d[i] += l[i * m + k] * z[k];
    }
    std::vector<double> versatz(kZuege);
    for (double& x : versatz) {
        const double r = std::sqrt(-2 * std::log(1 - zufall.generateDouble()));
        x = kModellfehler * r * std::cos(2 * std::numbers::pi * zufall.generateDouble());
    }
    std::vector<double> ergebnisse(kZuege), ausDaten(kZuege);
    inTeilen(kZuege, 16, [&](int von, int bis) {
        QList<double> gezogen(n), ohneFehler(n);
        for (int zug = von; zug < bis; ++zug) {
            const std::array<double, m>& d = verschiebung[zug];
            for (int i = 0; i < n; ++i) {
                double wert = basis[i];
                for (int j = 0; j < m; ++j)
                    wert += v.ableitungen[i][j] * d[j];
                ohneFehler[i] = logistisch(wert);
                gezogen[i] = logistisch(wert + versatz[zug]);
            }
            ergebnisse[zug] = Pruefung::bestehenschance(nachThemen(s, gezogen), regel);
            ausDaten[zug] = Pruefung::bestehenschance(nachThemen(s, ohneFehler), regel);
        }
    });
    const auto quantil = [](std::vector<double>& werte, double q) {
        std::sort(werte.begin(), werte.end());
        const double stelle = q * (werte.size() - 1);
        const size_t unten = size_t(stelle);
        const size_t oben = std::min(unten + 1, werte.size() - 1);
        return werte[unten] + (stelle - double(unten)) * (werte[oben] - werte[unten]);
    };
    return {quantil(ergebnisse, 0.1), quantil(ergebnisse, 0.9), quantil(ausDaten, 0.9) - quantil(ausDaten, 0.1)};
}

// The learner's first answers so far, over all topics and by topic: what a question never
// answered is taken to hold. Topics differ, so within a topic its own first answers count,
// drawn toward the share over all topics as if ErsteGewicht more had given that.
struct Erstantworten {
    int richtig = 0;
    int anzahl = 0;
    std::array<int, Katalog::AnzahlThemen + 2> richtigIn{}, anzahlIn{};

    void nimm(int thema, bool r)
    {
        richtig += r ? 1 : 0;
        ++anzahl;
        richtigIn[thema] += r ? 1 : 0;
        ++anzahlIn[thema];
    }
    Erinnerung::Vorwissen gesamt() const { return Erinnerung::vorwissen(richtig, anzahl); }
    double anteil(int thema) const
    {
        return (richtigIn[thema] + Erinnerung::ErsteGewicht * gesamt().anteil) /
               (anzahlIn[thema] + Erinnerung::ErsteGewicht);
    }
};

// The chance to pass at each of the given times (ascending), from the questions' chances then:
// the model's parameters are today's, the share of first answers right is the one of then.
// `reiheErster` holds the questions answered, in the order of their first answers.
QList<double> chancenDamals(const Sammlung& s, const Pruefungsregel& regel, const Parameter& parameter,
                            const QList<int>& reiheErster, const QList<qint64>& zeiten,
                            std::vector<QList<double>>& werte)
{
    qsizetype k = 0;
    Erstantworten erste;
    for (qsizetype z = 0; z < zeiten.size(); ++z) {
        for (; k < reiheErster.size() && s.antworten[reiheErster[k]].first().zeit < zeiten[z]; ++k)
            erste.nimm(s.stellen[reiheErster[k]].thema, s.antworten[reiheErster[k]].first().richtig);
        for (int t = 1; t <= Katalog::AnzahlThemen; ++t) {
            Parameter damals = parameter;
            damals.erste = erste.anteil(t);
            const double nie = Spur(damals).treffer(zeiten[z]);
            for (int i = s.erster[t]; i < s.erster[t + 1]; ++i)
                werte[z][i] = std::isnan(werte[z][i]) ? nie : werte[z][i];
        }
    }
    QList<double> ergebnis(zeiten.size(), 0.0);
    inTeilen(int(zeiten.size()), 16, [&](int von, int bis) {
        for (int z = von; z < bis; ++z)
            if (!werte[z].isEmpty())
                ergebnis[z] = Pruefung::bestehenschance(nachThemen(s, werte[z]), regel);
    });
    return ergebnis;
}

Lernstand rechne(const Gesamtkatalog& katalog, const Pruefungsregel& regel, const Sammlung& s, const QDateTime& jetzt,
                 const Anpassung* bekannt, const Parameter& start, int runden, Anpassung* neu)
{
    const qint64 zeit = jetzt.toSecsSinceEpoch();
    const int n = int(s.stellen.size());
    Lernstand stand;
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t) {
        Lernstand::Thema& thema = stand.themen[t];
        thema.titel = katalog.titel[t];
        for (int i = s.erster[t]; i < s.erster[t + 1]; ++i) {
            ++thema.fragen;
            if (s.beantwortet(i)) {
                ++thema.beantwortet;
                ++(s.letzteRichtig(i) ? thema.richtig : thema.falsch);
            }
        }
        stand.gesamt.fragen += thema.fragen;
        stand.gesamt.beantwortet += thema.beantwortet;
        stand.gesamt.richtig += thema.richtig;
        stand.gesamt.falsch += thema.falsch;
    }

    // What the learner knew at first sight, from the first answer to each question. Each first
    // answer is predicted from the first answers before it, as the fit predicts every answer from
    // those before it: so a day's chance as the history stood then is the one shown that day.
    QList<int> reiheErster;
    for (int i = 0; i < n; ++i) {
        if (!s.antworten[i].isEmpty())
            reiheErster << i;
    }
    std::stable_sort(reiheErster.begin(), reiheErster.end(),
                     [&](int a, int b) { return s.antworten[a].first().zeit < s.antworten[b].first().zeit; });
    QList<double> ersteJe(n);
    Erstantworten erste;
    for (int i : reiheErster) {
        ersteJe[i] = erste.anteil(s.stellen[i].thema);
        erste.nimm(s.stellen[i].thema, s.antworten[i].first().richtig);
    }
    const Erinnerung::Vorwissen vorwissen = erste.gesamt();
    for (int i = 0; i < n; ++i) {
        if (s.antworten[i].isEmpty())
            ersteJe[i] = erste.anteil(s.stellen[i].thema);
    }

    Parameter anfang = start;
    anfang.erste = vorwissen.anteil;
    Anpassung anpassung = bekannt ? *bekannt : Erinnerung::passe(s.antworten, anfang, ersteJe, runden);
    anpassung.parameter.erste = vorwissen.anteil;
    if (neu)
        *neu = anpassung;
    stand.parameter = anpassung.parameter;
    stand.angepasst = anpassung.angepasst;

    // The ends of the last 59 days and the beginnings of the exam sheets, in time order.
    const QDate heute = jetzt.toLocalTime().date();
    QList<qint64> zeitpunkte;
    for (int tag = kTage - 1; tag >= 1; --tag)
        zeitpunkte << heute.addDays(1 - tag).startOfDay().toSecsSinceEpoch();
    for (const Blatt& b : s.boegen)
        zeitpunkte << b.beginn;
    QList<qsizetype> reihe(zeitpunkte.size());
    std::iota(reihe.begin(), reihe.end(), 0);
    std::stable_sort(reihe.begin(), reihe.end(),
                     [&](qsizetype a, qsizetype b) { return zeitpunkte[a] < zeitpunkte[b]; });
    QList<qint64> zeiten;
    for (qsizetype r : reihe)
        zeiten << zeitpunkte[r];

    Verfolgt verfolgt = verfolge(s, anpassung.parameter, ersteJe, zeit, zeiten);
    const std::vector<Spur>& alle = verfolgt.spuren;
    const QList<double>& jetztChancen = verfolgt.jetzt;
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t)
        stand.treffer[t] = jetztChancen.mid(s.erster[t], s.erster[t + 1] - s.erster[t]);
    double breiteAusDaten = 1;
    if (n > 0) {
        stand.bestehenschance = Pruefung::bestehenschance(nachThemen(s, jetztChancen), regel);
        const Spanne bereich = spanne(s, regel, anpassung, vorwissen.varianz, verfolgt);
        stand.chanceUnten = std::min(bereich.unten, stand.bestehenschance);
        stand.chanceOben = std::max(bereich.oben, stand.bestehenschance);
        breiteAusDaten = bereich.breiteAusDaten;
    }
    // Rough while the learner's answers leave it open: "Noch grob" promises that more answers
    // narrow it, which they cannot do for the model's own error.
    stand.grob = breiteAusDaten > kGrob || stand.gesamt.beantwortet * 2 < stand.gesamt.fragen;

    // Due today, and in which order.
    const qint64 tagBeginn = heute.startOfDay().toSecsSinceEpoch();
    const qint64 tagEnde = heute.addDays(1).startOfDay().toSecsSinceEpoch();
    // How many questions of each topic a sheet holds on average, tied topics sharing their places.
    const Pruefung::Verteilung verteilung = Pruefung::verteile(katalog.groessen(), regel.fragen);
    QList<double> anzahl(verteilung.anzahl.begin(), verteilung.anzahl.end());
    for (int t : verteilung.gleichauf)
        anzahl[t] += double(verteilung.offen) / double(verteilung.gleichauf.size());
    struct Kandidat {
        int i;
        double gewinn;
        double imMittel;
    };
    QList<Kandidat> faellig;
    qint64 naechste = std::numeric_limits<qint64>::max();
    for (int i = 0; i < n; ++i) {
        const Spur& spur = alle[i];
        const bool heuteGeuebt = spur.beantwortet() && spur.zuletzt() >= tagBeginn;
        if (spur.gewusst(tagEnde) < kZiel) {
            if (!heuteGeuebt)
                faellig << Kandidat{i, 0, 0};
            else
                naechste = std::min(naechste, tagEnde);
        } else {
            naechste = std::min(naechste, std::max(tagEnde, spur.faelligAb(kZiel)));
        }
    }
    for (Kandidat& k : faellig) {
        QList<double> geuebt = jetztChancen;
        geuebt[k.i] = alle[k.i].geuebt(zeit);
        k.gewinn = Pruefung::bestehenschance(nachThemen(s, geuebt), regel) - stand.bestehenschance;
        if (k.gewinn < kSpuerbar)
            k.gewinn = 0;
        const int t = s.stellen[k.i].thema;
        k.imMittel = (geuebt[k.i] - jetztChancen[k.i]) * anzahl[t - 1] / std::max(s.erster[t + 1] - s.erster[t], 1);
    }
    std::stable_sort(faellig.begin(), faellig.end(), [](const Kandidat& a, const Kandidat& b) {
        if (a.gewinn != b.gewinn)
            return a.gewinn > b.gewinn;
        return a.imMittel > b.imMittel;
    });
    for (const Kandidat& k : faellig)
        stand.faelligeFragen << s.stellen[k.i];
    stand.faellig = int(faellig.size());
    if (faellig.isEmpty() && naechste != std::numeric_limits<qint64>::max())
        stand.naechsteFaellig = QDateTime::fromSecsSinceEpoch(naechste, Qt::UTC);

    // The last 60 days and the exam sheets, each as the history stood then.
    const QList<double> gereiht = chancenDamals(s, regel, anpassung.parameter, reiheErster, zeiten, verfolgt.damals);
    QList<double> damals(zeitpunkte.size());
    for (qsizetype z = 0; z < reihe.size(); ++z)
        damals[reihe[z]] = gereiht[z];
    for (int tag = kTage - 1; tag >= 1; --tag)
        stand.tage << Lernstand::Tag{heute.addDays(-tag), damals[kTage - 1 - tag]};
    stand.tage << Lernstand::Tag{heute, stand.bestehenschance};
    for (qsizetype b = 0; b < s.boegen.size(); ++b) {
        const Blatt& blatt = s.boegen[b];
        Lernstand::Bogen bogen;
        bogen.beginn = QDateTime::fromSecsSinceEpoch(blatt.beginn, Qt::UTC);
        bogen.fragen = blatt.fragen;
        bogen.falsch = blatt.falsch;
        bogen.erlaubt = std::max(regel.fuerBogen(blatt.fragen).maxFalsch, 0);
        bogen.bestanden = blatt.falsch <= bogen.erlaubt;
        bogen.vorhergesagt = damals[kTage - 1 + b];
        stand.boegen << bogen;
    }
    return stand;
}

// MODELL.QXV: the parameters fitted to the history and which history that was, so that the
// next opening does not fit again while the history stays as it was. In the field syntax of
// the other files, Windows-1252 with CR LF, one entry a line:
//
//   "Lernmodell",2
//   "Verlauf",81234567,100000                  size of VERLAUF.QXV in bytes, lines read
//   "Parameter",0.07,0.79,23,21,0.95,0.3       fehlgriff, lernen, halbwertszeit, wachstum, rueckfall, form
//   "Kovarianz",0.01,...                       36 numbers, row by row
//
// A file that is missing, damaged or of another version is fitted afresh and written again.
struct Gespeichert {
    qint64 bytes = -1;
    qint64 zeilen = -1;
    Anpassung anpassung;
};

constexpr qsizetype kModellHoechstens = 4096;

std::optional<Gespeichert> liesModell(const QString& pfad)
{
    if (!QFileInfo(pfad).isFile())
        return std::nullopt;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = datei.read(kModellHoechstens);
    bytes.replace("\r\n", "\n");
    Gespeichert g;
    bool version = false, parameter = false, kovarianz = false;
    for (const QByteArray& zeile : bytes.split('\n')) {
        QBuffer puffer;
        puffer.setData(zeile);
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        const auto name = leser.leseText();
        if (!name)
            continue;
        QList<double> werte;
        while (const auto feld = leser.leseText()) {
            bool ok = false;
            werte << feld->trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(werte.last()))
                return std::nullopt;
        }
        if (*name == QLatin1String("Lernmodell") && werte == QList<double>{2}) {
            version = true;
        } else if (*name == QLatin1String("Verlauf") && werte.size() == 2) {
            g.bytes = qint64(werte[0]);
            g.zeilen = qint64(werte[1]);
        } else if (*name == QLatin1String("Parameter") && werte.size() == Erinnerung::Gefittet) {
            const Parameter p{0.5, werte[0], werte[1], werte[2], werte[3], werte[4], werte[5]};
            // Only values a fit can give: one edited beyond its bounds, or no number, stays out.
            const Erinnerung::Vektor v = Erinnerung::alsVektor(p);
            const Erinnerung::Vektor innen = Erinnerung::alsVektor(Erinnerung::ausVektor(v));
            for (int i = 1; i <= Erinnerung::Gefittet; ++i) {
                if (!(std::abs(v[i] - innen[i]) < 1e-9))
                    return std::nullopt;
            }
            g.anpassung.parameter = p;
            parameter = true;
        } else if (*name == QLatin1String("Kovarianz") && werte.size() == g.anpassung.kovarianz.size()) {
            std::copy(werte.begin(), werte.end(), g.anpassung.kovarianz.begin());
            kovarianz = true;
            for (int i = 0; i < Erinnerung::Gefittet; ++i)
                kovarianz = kovarianz && werte[i * (Erinnerung::Gefittet + 1)] >= 0;
        }
    }
    if (!version || !parameter || !kovarianz || g.bytes < 0 || g.zeilen < 0)
        return std::nullopt;
    g.anpassung.angepasst = true;
    return g;
}

bool schreibeModell(const QString& pfad, const Gespeichert& g)
{
    const auto zahl = [](double x) { return QByteArray::number(x, 'g', 17); };
    const Parameter& p = g.anpassung.parameter;
    QByteArray bytes = "\"Lernmodell\",2\r\n\"Verlauf\"," + QByteArray::number(g.bytes) + ',' +
                       QByteArray::number(g.zeilen) + "\r\n\"Parameter\"," + zahl(p.fehlgriff) + ',' + zahl(p.lernen) +
                       ',' + zahl(p.halbwertszeit) + ',' + zahl(p.wachstum) + ',' + zahl(p.rueckfall) + ',' +
                       zahl(p.form) + "\r\n\"Kovarianz\"";
    for (double c : g.anpassung.kovarianz)
        bytes += ',' + zahl(c);
    bytes += "\r\n";
    if (!Benutzerordner::legeAn())
        return false;
    // Written as USER.QXV is: whole or not at all, and never through a link someone else planted.
    return Dateischutz::bedenken(pfad).isEmpty() && Dateischutz::ersetze(pfad, bytes, nullptr);
}

} // namespace

Lernstand Lernstand::berechne(const Gesamtkatalog& katalog, const Pruefungsregel& regel,
                              const QList<Verlauf::Eintrag>& verlauf, const QDateTime& jetzt)
{
    Sammlung s(katalog, jetzt.toSecsSinceEpoch());
    // The times back to the bytes of their line, on the stack: the calibration bench calls this
    // for every simulated day over the whole history so far.
    QVarLengthArray<char, 32> zeit, lauf;
    const auto bytes = [](QStringView text, QVarLengthArray<char, 32>& puffer) {
        puffer.resize(text.size());
        std::transform(text.begin(), text.end(), puffer.begin(), [](QChar c) { return c.toLatin1(); });
        return QByteArrayView(puffer.data(), puffer.size());
    };
    for (const Verlauf::Eintrag& e : verlauf)
        s.nimm({bytes(e.zeit, zeit), bytes(e.lauf, lauf), e.modus, e.thema, e.frage, e.antwort, e.richtig});
    s.schliesse();
    return rechne(katalog, regel, s, jetzt, nullptr, Parameter{}, Erinnerung::Runden, nullptr);
}

Lernstand Lernstand::berechne(const Gesamtkatalog& katalog, const Pruefungsregel& regel, const QDateTime& jetzt)
{
    Sammlung s(katalog, jetzt.toSecsSinceEpoch());
    const QFileInfo info(Verlauf::dateiname());
    const qint64 bytes = info.isFile() ? info.size() : 0;
    qint64 zeilen = 0;
    const bool gelesen = Verlauf::leseZeilen([&](const Verlauf::Zeile& e) {
        ++zeilen;
        s.nimm(e);
    });
    s.schliesse();

    // The kept fit is taken while the history has only grown, by less than a hundredth since:
    // so few answers more move the learner's few numbers by a fraction of their uncertainty,
    // while every question's own answers count in full at once. Otherwise the history is fitted
    // again, from the kept numbers, which are near.
    const auto gespeichert = liesModell(modelldatei());
    const bool gleich = gespeichert && bytes >= gespeichert->bytes && zeilen >= gespeichert->zeilen &&
                        (zeilen - gespeichert->zeilen) * 100 < std::max<qint64>(gespeichert->zeilen, 1);
    Anpassung neu;
    Lernstand stand = rechne(katalog, regel, s, jetzt, gleich ? &gespeichert->anpassung : nullptr,
                             gespeichert ? gespeichert->anpassung.parameter : Parameter{},
                             gespeichert ? Erinnerung::RundenVonGespeichert : Erinnerung::Runden, &neu);
    stand.verlaufGelesen = gelesen;
    // The kept fit is only a shortcut: when it cannot be written, the next opening fits again.
    if (!gleich && neu.angepasst && gelesen)
        schreibeModell(modelldatei(), {bytes, zeilen, neu});
    return stand;
}

QString Lernstand::modelldatei() { return Benutzerordner::datei(QStringLiteral("MODELL.QXV")); }
