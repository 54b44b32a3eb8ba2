#pragma once

#include <QList>

#include <array>
#include <limits>
#include <memory>

// The learner's recall of one question, as a model over numbers: from the question's answers
// (when, right or wrong) and a few parameters, the chance to answer it right at a given time.
// No file and no clock: the caller passes every time, in seconds since 1970 (UTC).
//
// A question is known or not, and what is known was known before the program or learned in
// it. One not known is answered right by a guess, one time in four; one known is answered right
// unless the learner slips. What was known before does not fade: a learner who knew at first
// sight what a distress call is still knows it next year. After every answer the program shows
// the solution, from which a question not known is learned with some chance; each time a
// question is answered wrong again after that, the chance to learn it shrinks by a factor: a
// question that keeps slipping away is a hard one. What was learned fades: of a memory with
// half-life h, (1 + t/(a h))^-form is left after t days, a set so that half is left after h;
// form 1 is the hyperbola 1 / (1 + t/h), a smaller form fades fast at first and then slowly
// for a long time, as a memory that rests on several practices does. A wrong answer begins a
// new memory with the first half-life; a right one lengthens what was kept by a factor that
// grows with how much had faded since the answer before, so that answers spaced out build a
// lasting memory and answers in a row add little, while what was learned from the solution
// just shown begins with the first half-life; the two share one half-life, their mean on the
// log scale weighed by how much of each there is. The chances are carried from answer to
// answer by Bayes' rule.
namespace Erinnerung {

// Four answers to choose from.
constexpr double Raten = 0.25;
// No memory is taken to last longer than ten years.
constexpr double HoechsteHalbwertszeit = 3650;

struct Antwort {
    qint64 zeit = 0;
    bool richtig = false;

    bool operator==(const Antwort&) const = default;
};

// The defaults are what the fit finds for a typical learner (see the README's calibration).
struct Parameter {
    double erste = 0.4;        // chance to answer a question right the first time it is asked
    double fehlgriff = 0.072;  // a known question answered wrong
    double lernen = 0.79;      // a question not known, learned from the solution shown after the answer
    double halbwertszeit = 23; // days, of a memory just begun
    double wachstum = 21;      // a right answer after a memory has faded entirely multiplies its half-life by 1 + this
    double rueckfall = 0.95;   // each wrong answer after the first multiplies the question's `lernen` by this
    double form = 0.3;         // how a learned memory fades (see above)

    bool operator==(const Parameter&) const = default;
};

// The parameters as the fit moves them: logit of erste, fehlgriff and lernen, log of
// halbwertszeit and wachstum, logit of rueckfall, log of form, in that order; ausVektor keeps
// each within its bounds. All but the first are fitted.
constexpr int Gefittet = 6;
using Vektor = std::array<double, Gefittet + 1>;
Vektor alsVektor(const Parameter& parameter);
Parameter ausVektor(const Vektor& vektor);

// One question's state, moved answer by answer (oldest first, each counted answer once).
class Spur {
public:
    explicit Spur(const Parameter& parameter);

    // The chance that this answer is right, from the answers before it; then the answer and
    // the solution shown after it move the state.
    double antworte(const Antwort& antwort);

    bool beantwortet() const { return m_beantwortet; }
    qint64 zuletzt() const { return m_zuletzt; }
    // Days, of the memory after the last answer.
    double halbwertszeit() const { return m_halbwertszeit; }

    // The chance to know the question at `zeit` (not before the last answer), and to answer it right.
    double gewusst(qint64 zeit) const;
    double treffer(qint64 zeit) const;
    // The chance to answer it right just after practising it at `zeit`: answered, whichever way,
    // and its solution seen.
    double geuebt(qint64 zeit) const;
    // When the chance to know it falls to `ziel`: the last answer if it is there already, the
    // lowest qint64 for a question never answered that is below it, the highest if never.
    qint64 faelligAb(double ziel) const;

private:
    friend class Ableitungsspur;

    double m_fehlgriff, m_lernen, m_start, m_wachstum, m_rueckfall, m_form, m_vorwissen, m_kehr, m_logStart;
    bool m_beantwortet = false;
    double m_lernfaktor = 1;
    double m_dauerhaft = 0;
    double m_gewusst = 0;
    double m_halbwertszeit = 0;
    qint64 m_zuletzt = 0;
};

// A Spur that also carries how its chance to answer right moves with each entry of alsVektor,
// for the range of the chance to pass; about three times Spur's work.
class Ableitungsspur {
public:
    explicit Ableitungsspur(const Parameter& parameter);
    ~Ableitungsspur();
    Ableitungsspur(Ableitungsspur&&) noexcept;

    double antworte(const Antwort& antwort);
    const Spur& spur() const { return m_spur; }
    // The derivatives of logit(spur().treffer(zeit)).
    Vektor ableitung(qint64 zeit) const;

private:
    struct Innen;
    std::unique_ptr<Innen> m_innen;
    Spur m_spur;
};

// The chance to answer right at `jetzt` after the given answers.
double treffer(const QList<Antwort>& antworten, const Parameter& parameter, qint64 jetzt);

// What the learner's first answers say of a question never answered: the share right, drawn
// toward the default share as if ErsteGewicht more first answers had given it, and the variance
// of its logit (a Beta distribution's, for the range of the chance to pass).
constexpr int ErsteGewicht = 10;
struct Vorwissen {
    double anteil = Parameter{}.erste;
    double varianz = 0;
};
Vorwissen vorwissen(int richtig, int anzahl);

// The fit of the model to a learner's history: each answer that follows an earlier one to the
// same question is predicted from those before it, and the parameters that make the answers
// given most likely are taken (Fisher scoring), drawn gently toward the defaults so that a
// one-sided history cannot push one to an extreme. A question answered n times weighs as
// sqrt(n) answers: the questions drilled most are the hard ones, and counting every answer
// alike would fit the learner's memory to them, while a sheet asks every question alike (the
// calibration bench shows either extreme off by a few points a question, the root within
// one). The fit needs at least GenugWiederholungen such answers, GenugFalsche of them wrong and
// as many right; with fewer the defaults stay.
constexpr int GenugWiederholungen = 200;
constexpr int GenugFalsche = 20;

struct Anpassung {
    Parameter parameter;
    bool angepasst = false;
    int wiederholungen = 0; // answers that follow an earlier answer to the same question
    int falsche = 0;        // of them wrong
    // How uncertain the parameters still are: the covariance of the fitted entries of
    // alsVektor, from the curvature of the fit's target at the parameters taken.
    std::array<double, Gefittet * Gefittet> kovarianz{};
};

// Each entry is one question's counted answers, oldest first; start.erste is kept as it is.
// passe fits (from `start`) when there is enough history; bewerte only weighs the given parameters.
// erste[i], where given, is the share of first answers right with which question i's first answer
// is predicted (see Lernstand), else start.erste.
// At most `runden` rounds: where the answers leave a ridge of parameters that explain them alike,
// the last rounds creep along it by a fraction of the parameters' own uncertainty, and a fit
// kept from the last opening is the start of the next, so a learner's numbers settle over a few
// openings.
constexpr int Runden = 8;
constexpr int RundenVonGespeichert = 3;
Anpassung passe(const QList<QList<Antwort>>& fragen, const Parameter& start, const QList<double>& erste = {},
                int runden = Runden);
Anpassung bewerte(const QList<QList<Antwort>>& fragen, const Parameter& parameter, const QList<double>& erste = {});

} // namespace Erinnerung
