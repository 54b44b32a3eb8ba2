#include "Erinnerung.h"

#include "Parallel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace Erinnerung {

namespace {

constexpr double kTag = 86400;

// Bounds of alsVektor's entries: no fit and no file may set a parameter beyond what a learner
// can be like.
constexpr Vektor kUnten{-6.907, -6.213, -3.892, -4.605,
                        -3.912, -2.944, -2.303};                          // 0.001, 0.002, 0.02, 0.01 d, 0.02, 0.05, 0.1
constexpr Vektor kOben{6.907, -0.405, 3.892, 5.991, 4.605, 6.907, 1.099}; // 0.999, 0.4, 0.98, 400 d, 100, 0.999, 3

// How far the fit may move each fitted parameter from its default before the pull toward it
// weighs as much as one answer explained: the spread of learners, on the scale of alsVektor.
constexpr std::array<double, Gefittet> kStreuung{1.0, 1.5, 1.5, 1.0, 1.5, 0.7};

using Matrix = std::array<double, Gefittet * Gefittet>;
using Fit = std::array<double, Gefittet>;

// A history longer than this is fitted over a share of its questions, chosen evenly: 4,000
// answers fix the few parameters more closely than learners differ, and the fit stays quick.
constexpr int kHoechstensImFit = 4000;

double logit(double p) { return std::log(p / (1 - p)); }
double logistisch(double x) { return 1 / (1 + std::exp(-x)); }

// Runs f(0) ... f(N - 1) written out, and the operators below inline: the compiler does neither by
// itself, and the model's inner loop takes twice as long then.
template <int N, class F> [[gnu::always_inline]] inline void jede(F f)
{
    [&]<int... I>(std::integer_sequence<int, I...>) { (f(I), ...); }
    (std::make_integer_sequence<int, N>{});
}

// A number with its derivatives by N parameters: the fit's gradient, and the range's.
template <int N> struct Dual {
    double v = 0;
    std::array<double, N> d{};

    Dual() = default;
    Dual(double wert) : v(wert) {}
};

template <int N> [[gnu::always_inline]] inline Dual<N> operator+(Dual<N> a, const Dual<N>& b)
{
    a.v += b.v;
    jede<N>([&](int i) { a.d[i] += b.d[i]; });
    return a;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator-(Dual<N> a, const Dual<N>& b)
{
    a.v -= b.v;
    jede<N>([&](int i) { a.d[i] -= b.d[i]; });
    return a;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator*(const Dual<N>& a, const Dual<N>& b)
{
    Dual<N> c(a.v * b.v);
    jede<N>([&](int i) { c.d[i] = a.d[i] * b.v + a.v * b.d[i]; });
    return c;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator/(const Dual<N>& a, const Dual<N>& b)
{
    const double kehrwert = 1 / b.v;
    Dual<N> c(a.v * kehrwert);
    jede<N>([&](int i) { c.d[i] = (a.d[i] - c.v * b.d[i]) * kehrwert; });
    return c;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator+(Dual<N> a, double b)
{
    a.v += b;
    return a;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator+(double a, Dual<N> b)
{
    b.v += a;
    return b;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator-(Dual<N> a, double b)
{
    a.v -= b;
    return a;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator-(double a, const Dual<N>& b) { return Dual<N>(a) - b; }
template <int N> [[gnu::always_inline]] inline Dual<N> operator*(double a, Dual<N> b)
{
    b.v *= a;
    jede<N>([&](int i) { b.d[i] *= a; });
    return b;
}
template <int N> [[gnu::always_inline]] inline Dual<N> operator*(const Dual<N>& a, double b) { return b * a; }
template <int N> [[gnu::always_inline]] inline Dual<N> operator/(double a, const Dual<N>& b) { return Dual<N>(a) / b; }

template <int N> [[gnu::always_inline]] inline Dual<N> exp(const Dual<N>& a)
{
    Dual<N> c(std::exp(a.v));
    jede<N>([&](int i) { c.d[i] = a.d[i] * c.v; });
    return c;
}
template <int N> [[gnu::always_inline]] inline Dual<N> log(const Dual<N>& a)
{
    Dual<N> c(std::log(a.v));
    jede<N>([&](int i) { c.d[i] = a.d[i] / a.v; });
    return c;
}
using std::exp;
using std::log;

double wert(double x) { return x; }
template <int N> double wert(const Dual<N>& x) { return x.v; }

// The parameters as the step needs them, of either kind of number.
template <class T> struct Werte {
    T fehlgriff, lernen, start, wachstum, rueckfall, form, vorwissen;
    // Derived once, for the inner loop: 2^(1/form) - 1 and log(start).
    T kehr = T(1.0), logStart = T(0.0);

    Werte& leite()
    {
        kehr = exp(log(T(2.0)) / form) - 1;
        logStart = log(start);
        return *this;
    }
};

// What is left of a memory of half-life h after t days: (1 + t/(a h))^-form, with
// 1/a = 2^(1/form) - 1 (`kehr`) so that half is left after h.
template <class T> [[gnu::always_inline]] inline T behalten(double t, const T& h, const T& form, const T& kehr)
{
    return exp(log(1 + t * kehr / h) * form * -1.0);
}

// The chance to know a question never answered, such that it is answered right with the
// chance `erste`: a share at or below a guess is no knowledge.
template <class T> T vorwissenAus(const T& erste, const T& fehlgriff)
{
    const T p = (erste - Raten) / (1 - Raten - fehlgriff);
    if (wert(p) <= 0)
        return T(0.0);
    if (wert(p) >= 1)
        return T(1.0);
    return p;
}

template <class T> struct Zustand {
    bool beantwortet = false;
    T dauerhaft = T(0.0); // known from before the program: does not fade
    T gewusst = T(0.0);   // known from practice: fades
    T halbwertszeit = T(0.0);
    qint64 zuletzt = 0;
    T lernfaktor = T(1.0);
};

double tage(qint64 von, qint64 bis) { return std::max<qint64>(bis - von, 0) / kTag; }

// One answer: the chance it was right beforehand, then Bayes' rule, the solution shown and the
// memory's new half-life.
template <class T> T schritt(Zustand<T>& z, const Antwort& antwort, const Werte<T>& w)
{
    T dauerhaft, gewusst, behalten(0.0);
    if (z.beantwortet) {
        behalten = Erinnerung::behalten(tage(z.zuletzt, antwort.zeit), z.halbwertszeit, w.form, w.kehr);
        dauerhaft = z.dauerhaft;
        gewusst = z.gewusst * behalten;
    } else {
        dauerhaft = w.vorwissen;
        gewusst = T(0.0);
    }
    const T bekannt = dauerhaft + gewusst;
    const T treffer = bekannt * (1 - w.fehlgriff) + (1 - bekannt) * Raten;
    const T faktor = antwort.richtig ? (1 - w.fehlgriff) / treffer : w.fehlgriff / (1 - treffer);
    z.dauerhaft = dauerhaft * faktor;
    const T danach = gewusst * faktor;
    const T neu = (1 - z.dauerhaft - danach) * w.lernen * z.lernfaktor;
    z.gewusst = danach + neu;
    if (!antwort.richtig && z.beantwortet)
        z.lernfaktor = z.lernfaktor * w.rueckfall;
    if (!antwort.richtig) {
        z.halbwertszeit = w.start;
    } else if (!z.beantwortet || wert(danach) <= 0) {
        // Nothing was kept: what is known now was learned from the solution just shown.
        z.halbwertszeit = w.start;
    } else {
        // What was kept lasts longer, the more so the more it had faded; what was learned just
        // now begins with the first half-life. One half-life for both: their mean on the log
        // scale, weighed by how much of each there is.
        const T laenger = log(z.halbwertszeit * (1 + w.wachstum * (1 - behalten)));
        z.halbwertszeit = exp((danach * laenger + neu * w.logStart) / (danach + neu));
        if (wert(z.halbwertszeit) > HoechsteHalbwertszeit)
            z.halbwertszeit = T(HoechsteHalbwertszeit);
    }
    z.beantwortet = true;
    z.zuletzt = antwort.zeit;
    return treffer;
}

// The fit's target over the chosen questions at x (the fitted entries of alsVektor): the
// log-likelihood of every answer after a question's first, less the pull toward the defaults;
// its gradient; and its curvature as the expected information (Fisher's), which is what the
// steps and the covariance need. The answers count `gewicht` times each, so that a fit over a
// share of the questions weighs them against the pull toward the defaults as all of them would.
struct Ziel {
    double wert = 0;
    Fit gradient{};
    Matrix information{};
    Matrix ausAntworten{}; // the information of the chosen answers alone, counted once
};

Werte<Dual<Gefittet>> alsDual(const Fit& x, double erste)
{
    Werte<Dual<Gefittet>> w;
    const auto setze = [&](Dual<Gefittet>& d, int i, double wert, double ableitung) {
        d = Dual<Gefittet>(wert);
        d.d[i] = ableitung;
    };
    const double fehlgriff = logistisch(x[0]), lernen = logistisch(x[1]), rueckfall = logistisch(x[4]);
    setze(w.fehlgriff, 0, fehlgriff, fehlgriff * (1 - fehlgriff));
    setze(w.lernen, 1, lernen, lernen * (1 - lernen));
    setze(w.start, 2, std::exp(x[2]), std::exp(x[2]));
    setze(w.wachstum, 3, std::exp(x[3]), std::exp(x[3]));
    setze(w.rueckfall, 4, rueckfall, rueckfall * (1 - rueckfall));
    setze(w.form, 5, std::exp(x[5]), std::exp(x[5]));
    w.vorwissen = vorwissenAus(Dual<Gefittet>(erste), w.fehlgriff);
    w.leite();
    return w;
}

Ziel ziel(const QList<QList<Antwort>>& fragen, const QList<int>& auswahl, const Fit& x, const Parameter& start,
          const QList<double>& erste, double gewicht = 1)
{
    Werte<Dual<Gefittet>> w = alsDual(x, start.erste);
    Ziel z;
    // Each question's answers weigh as the root of their number (see Erinnerung.h), scaled so
    // that all of them together weigh as many as they are.
    qsizetype wiederholungen = 0;
    double gewichte = 0;
    for (int i : auswahl) {
        wiederholungen += std::max<qsizetype>(fragen[i].size() - 1, 0);
        gewichte += fragen[i].size() > 1 ? std::sqrt(double(fragen[i].size() - 1)) : 0;
    }
    const double mittel = double(wiederholungen) / std::max(gewichte, 1.0);
    // In parts side by side, each adding into its own sums; the parts are added in order.
    std::vector<std::pair<int, Ziel>> teile;
    std::mutex schutz;
    inTeilen(int(auswahl.size()), 64, [&](int von, int bis) {
        Werte<Dual<Gefittet>> wt = w;
        Ziel t;
        for (int k = von; k < bis; ++k) {
            const int i = auswahl[k];
            if (i < erste.size())
                wt.vorwissen = vorwissenAus(Dual<Gefittet>(erste[i]), wt.fehlgriff);
            const double je = fragen[i].size() > 1 ? mittel / std::sqrt(double(fragen[i].size() - 1)) : 0;
            Zustand<Dual<Gefittet>> zustand;
            for (const Antwort& antwort : fragen[i]) {
                const bool zuerst = !zustand.beantwortet;
                const Dual<Gefittet> q = schritt(zustand, antwort, wt);
                if (zuerst)
                    continue;
                const double p = q.v;
                t.wert += je * std::log(antwort.richtig ? p : 1 - p);
                const double faktor = je * ((antwort.richtig ? 1.0 : 0.0) - p) / (p * (1 - p));
                for (int a = 0; a < Gefittet; ++a) {
                    t.gradient[a] += faktor * q.d[a];
                    for (int b = 0; b <= a; ++b)
                        t.information[a * Gefittet + b] += je * q.d[a] * q.d[b] / (p * (1 - p));
                }
            }
        }
        const std::lock_guard<std::mutex> sperre(schutz);
        teile.emplace_back(von, t);
    });
    std::sort(teile.begin(), teile.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [von, t] : teile) {
        z.wert += t.wert;
        for (int a = 0; a < Gefittet; ++a) {
            z.gradient[a] += t.gradient[a];
            for (int b = 0; b <= a; ++b)
                z.information[a * Gefittet + b] += t.information[a * Gefittet + b];
        }
    }
    const Vektor vorgabe = alsVektor(Parameter{});
    z.wert *= gewicht;
    for (int a = 0; a < Gefittet; ++a) {
        for (int b = 0; b <= a; ++b) {
            z.ausAntworten[a * Gefittet + b] = z.ausAntworten[b * Gefittet + a] = z.information[a * Gefittet + b];
            z.information[a * Gefittet + b] *= gewicht;
        }
        z.gradient[a] *= gewicht;
        const double abstand = (x[a] - vorgabe[a + 1]) / kStreuung[a];
        z.wert -= abstand * abstand / 2;
        z.gradient[a] -= abstand / kStreuung[a];
        z.information[a * Gefittet + a] += 1 / (kStreuung[a] * kStreuung[a]);
        for (int b = 0; b < a; ++b)
            z.information[b * Gefittet + a] = z.information[a * Gefittet + b];
    }
    return z;
}

// Solves m * x = b in place for a symmetric positive definite m (Cholesky); false if m is not.
bool loese(const Matrix& m, Fit& x)
{
    constexpr int n = Gefittet;
    Matrix l{};
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            double s = m[i * n + j];
            for (int k = 0; k < j; ++k)
                s -= l[i * n + k] * l[j * n + k];
            if (i == j) {
                if (!(s > 0))
                    return false;
                l[i * n + i] = std::sqrt(s);
            } else {
                l[i * n + j] = s / l[j * n + j];
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < i; ++k)
            x[i] -= l[i * n + k] * x[k];
        x[i] /= l[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int k = i + 1; k < n; ++k)
            x[i] -= l[k * n + i] * x[k];
        x[i] /= l[i * n + i];
    }
    return true;
}

Matrix inverse(const Matrix& m)
{
    Matrix ergebnis{};
    for (int j = 0; j < Gefittet; ++j) {
        Fit spalte{};
        spalte[j] = 1;
        if (!loese(m, spalte))
            return {};
        for (int i = 0; i < Gefittet; ++i)
            ergebnis[i * Gefittet + j] = spalte[i];
    }
    return ergebnis;
}

Fit fitVektor(const Parameter& p)
{
    const Vektor v = alsVektor(p);
    Fit x;
    std::copy(v.begin() + 1, v.end(), x.begin());
    return x;
}

Parameter ausFitVektor(const Fit& x, double erste)
{
    Vektor v{};
    std::copy(x.begin(), x.end(), v.begin() + 1);
    Parameter p = ausVektor(v);
    p.erste = erste;
    return p;
}

void zaehle(const QList<QList<Antwort>>& fragen, Anpassung& a)
{
    for (const auto& antworten : fragen) {
        for (qsizetype i = 1; i < antworten.size(); ++i) {
            ++a.wiederholungen;
            a.falsche += antworten[i].richtig ? 0 : 1;
        }
    }
}

QList<int> alle(const QList<QList<Antwort>>& fragen)
{
    QList<int> auswahl;
    for (int i = 0; i < fragen.size(); ++i)
        auswahl << i;
    return auswahl;
}

} // namespace

Vektor alsVektor(const Parameter& p)
{
    return {logit(p.erste),       logit(p.fehlgriff), logit(p.lernen), std::log(p.halbwertszeit),
            std::log(p.wachstum), logit(p.rueckfall), std::log(p.form)};
}

Parameter ausVektor(const Vektor& v)
{
    const Vektor vorgabe = alsVektor(Parameter{});
    Vektor x;
    for (int i = 0; i <= Gefittet; ++i)
        x[i] = std::isnan(v[i]) ? vorgabe[i] : std::clamp(v[i], kUnten[i], kOben[i]);
    return {logistisch(x[0]), logistisch(x[1]), logistisch(x[2]), std::exp(x[3]),
            std::exp(x[4]),   logistisch(x[5]), std::exp(x[6])};
}

Spur::Spur(const Parameter& p)
    : m_fehlgriff(p.fehlgriff), m_lernen(p.lernen), m_start(p.halbwertszeit), m_wachstum(p.wachstum),
      m_rueckfall(p.rueckfall), m_form(p.form), m_vorwissen(vorwissenAus(p.erste, p.fehlgriff)),
      m_kehr(std::exp(std::log(2.0) / p.form) - 1), m_logStart(std::log(p.halbwertszeit))
{
}

double Spur::antworte(const Antwort& antwort)
{
    Zustand<double> z{m_beantwortet, m_dauerhaft, m_gewusst, m_halbwertszeit, m_zuletzt, m_lernfaktor};
    const double q = schritt(z, antwort,
                             Werte<double>{m_fehlgriff, m_lernen, m_start, m_wachstum, m_rueckfall, m_form, m_vorwissen,
                                           m_kehr, m_logStart});
    m_beantwortet = true;
    m_dauerhaft = z.dauerhaft;
    m_gewusst = z.gewusst;
    m_halbwertszeit = z.halbwertszeit;
    m_zuletzt = z.zuletzt;
    m_lernfaktor = z.lernfaktor;
    return q;
}

double Spur::gewusst(qint64 zeit) const
{
    if (!m_beantwortet)
        return m_vorwissen;
    return m_dauerhaft + m_gewusst * behalten(tage(m_zuletzt, zeit), m_halbwertszeit, m_form, m_kehr);
}

double Spur::treffer(qint64 zeit) const
{
    const double p = gewusst(zeit);
    return p * (1 - m_fehlgriff) + (1 - p) * Raten;
}

double Spur::geuebt(qint64 zeit) const
{
    const double p = gewusst(zeit);
    const double danach = p + (1 - p) * m_lernen * m_lernfaktor;
    return danach * (1 - m_fehlgriff) + (1 - danach) * Raten;
}

qint64 Spur::faelligAb(double ziel) const
{
    constexpr qint64 nie = std::numeric_limits<qint64>::max();
    if (!m_beantwortet)
        return m_vorwissen < ziel ? std::numeric_limits<qint64>::min() : nie;
    if (m_dauerhaft >= ziel)
        return nie;
    if (m_dauerhaft + m_gewusst <= ziel)
        return m_zuletzt;
    const double a = 1 / m_kehr;
    const double sekunden = a * m_halbwertszeit * (std::pow(m_gewusst / (ziel - m_dauerhaft), 1 / m_form) - 1) * kTag;
    return sekunden >= double(nie - m_zuletzt) ? nie : m_zuletzt + qint64(std::ceil(sekunden));
}

struct Ableitungsspur::Innen {
    Werte<Dual<Gefittet + 1>> werte;
    Zustand<Dual<Gefittet + 1>> zustand;
};

Ableitungsspur::Ableitungsspur(const Parameter& p) : m_innen(std::make_unique<Innen>()), m_spur(p)
{
    // Each parameter by its entry of alsVektor: d logistic(x) = p (1 - p), d exp(x) = exp(x).
    using D = Dual<Gefittet + 1>;
    const auto mit = [](double wert, int i, double ableitung) {
        D d(wert);
        d.d[i] = ableitung;
        return d;
    };
    Werte<D>& w = m_innen->werte;
    w.fehlgriff = mit(p.fehlgriff, 1, p.fehlgriff * (1 - p.fehlgriff));
    w.lernen = mit(p.lernen, 2, p.lernen * (1 - p.lernen));
    w.start = mit(p.halbwertszeit, 3, p.halbwertszeit);
    w.wachstum = mit(p.wachstum, 4, p.wachstum);
    w.rueckfall = mit(p.rueckfall, 5, p.rueckfall * (1 - p.rueckfall));
    w.form = mit(p.form, 6, p.form);
    w.leite();
    w.vorwissen = vorwissenAus(mit(p.erste, 0, p.erste * (1 - p.erste)), w.fehlgriff);
}

Ableitungsspur::~Ableitungsspur() = default;
Ableitungsspur::Ableitungsspur(Ableitungsspur&&) noexcept = default;

double Ableitungsspur::antworte(const Antwort& antwort)
{
    const double q = schritt(m_innen->zustand, antwort, m_innen->werte).v;
    const auto& z = m_innen->zustand;
    m_spur.m_beantwortet = true;
    m_spur.m_dauerhaft = z.dauerhaft.v;
    m_spur.m_gewusst = z.gewusst.v;
    m_spur.m_halbwertszeit = z.halbwertszeit.v;
    m_spur.m_zuletzt = z.zuletzt;
    m_spur.m_lernfaktor = z.lernfaktor.v;
    return q;
}

Vektor Ableitungsspur::ableitung(qint64 zeit) const
{
    using D = Dual<Gefittet + 1>;
    const auto& z = m_innen->zustand;
    const auto& w = m_innen->werte;
    const D gewusst = z.beantwortet
                          ? z.dauerhaft + z.gewusst * behalten(tage(z.zuletzt, zeit), z.halbwertszeit, w.form, w.kehr)
                          : w.vorwissen;
    const D treffer = gewusst * (1 - w.fehlgriff) + (1 - gewusst) * Raten;
    Vektor ergebnis;
    for (int i = 0; i <= Gefittet; ++i)
        ergebnis[i] = treffer.d[i] / (treffer.v * (1 - treffer.v));
    return ergebnis;
}

double treffer(const QList<Antwort>& antworten, const Parameter& parameter, qint64 jetzt)
{
    Spur spur(parameter);
    for (const Antwort& a : antworten)
        spur.antworte(a);
    return spur.treffer(jetzt);
}

Vorwissen vorwissen(int richtig, int anzahl)
{
    const double a = richtig + ErsteGewicht * Parameter{}.erste;
    const double b = anzahl - richtig + ErsteGewicht * (1 - Parameter{}.erste);
    return {a / (a + b), 1 / a + 1 / b};
}

Anpassung bewerte(const QList<QList<Antwort>>& fragen, const Parameter& parameter, const QList<double>& erste)
{
    Anpassung a;
    a.parameter = parameter;
    zaehle(fragen, a);
    a.kovarianz = inverse(ziel(fragen, alle(fragen), fitVektor(parameter), parameter, erste).information);
    return a;
}

Anpassung passe(const QList<QList<Antwort>>& fragen, const Parameter& start, const QList<double>& erste, int runden)
{
    Anpassung a;
    zaehle(fragen, a);
    if (a.wiederholungen < GenugWiederholungen || a.falsche < GenugFalsche ||
        a.wiederholungen - a.falsche < GenugFalsche) {
        Parameter vorgabe;
        vorgabe.erste = start.erste;
        return bewerte(fragen, vorgabe, erste);
    }

    QList<int> auswahl;
    const int schritt = (a.wiederholungen + kHoechstensImFit - 1) / kHoechstensImFit;
    int imFit = 0;
    for (int i = 0; i < fragen.size(); i += schritt) {
        auswahl << i;
        imFit += int(std::max<qsizetype>(fragen[i].size() - 1, 0));
    }
    const double gewicht = double(a.wiederholungen) / std::max(imFit, 1);

    Fit x = fitVektor(ausVektor(alsVektor(start)));
    Ziel jetzt = ziel(fragen, auswahl, x, start, erste, gewicht);
    for (int runde = 0; runde < runden; ++runde) {
        // A parameter at its bound that the target pulls further out stays there; the others
        // take Fisher's step.
        Fit d = jetzt.gradient;
        Matrix information = jetzt.information;
        for (int i = 0; i < Gefittet; ++i) {
            if ((x[i] <= kUnten[i + 1] && d[i] < 0) || (x[i] >= kOben[i + 1] && d[i] > 0)) {
                d[i] = 0;
                for (int j = 0; j < Gefittet; ++j)
                    information[i * Gefittet + j] = information[j * Gefittet + i] = i == j ? 1 : 0;
            }
        }
        if (!loese(information, d))
            break;
        // Halve the step until the target rises: far from the top a full step may overshoot.
        // Where a full step rises, try twice and four times as far: along a ridge of
        // parameters that explain the answers alike, Fisher's steps fall short round after round.
        bool besser = false;
        double groesste = 0;
        const double vorher = jetzt.wert;
        const Fit alt = x;
        const auto schritt = [&](double faktor) {
            Fit neu;
            groesste = 0;
            for (int i = 0; i < Gefittet; ++i) {
                neu[i] = std::clamp(alt[i] + faktor * d[i], kUnten[i + 1], kOben[i + 1]);
                groesste = std::max(groesste, std::abs(neu[i] - alt[i]));
            }
            Ziel versuch = ziel(fragen, auswahl, neu, start, erste, gewicht);
            if (!(versuch.wert >= jetzt.wert))
                return false;
            x = neu;
            jetzt = std::move(versuch);
            return true;
        };
        double faktor = 1;
        for (int halbiert = 0; halbiert < 12 && !besser; ++halbiert, faktor /= 2)
            besser = schritt(faktor);
        if (besser && faktor == 0.5) {
            const double weit = groesste;
            if (schritt(2))
                schritt(4);
            groesste = std::max(groesste, weit);
        }
        // Done when the parameters stand still or the log-likelihood gains less than a twentieth:
        // then the top is nearer than a third of the parameters' own uncertainty.
        if (!besser || groesste < 1e-4 || jetzt.wert - vorher < 0.05)
            break;
    }
    a.parameter = ausFitVektor(x, start.erste);
    // The parameters rest on the chosen answers only: so uncertain are they.
    Matrix information = jetzt.ausAntworten;
    for (int i = 0; i < Gefittet; ++i)
        information[i * Gefittet + i] += 1 / (kStreuung[i] * kStreuung[i]);
    a.kovarianz = inverse(information);
    a.angepasst = true;
    return a;
}

} // namespace Erinnerung
