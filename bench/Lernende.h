#pragma once

#include "Gesamtkatalog.h"
#include "Verlauf.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QRandomGenerator>

#include <vector>

// Simulated learners for the calibration bench: they study the shipped catalogue day by day,
// write their answers as the program writes them, and can say at any moment how likely they
// are to answer each question right. What they assume is written at the top of Lernende.cpp.
namespace Lernende {

struct Optionen {
    int tage = 200;            // days simulated from a learner's first day
    int bogen = 24;            // questions on the sheets the learner takes now and then
    bool lernfenster = true;   // some learners read a new topic in the learn window first (no history)
    bool pausen = true;        // study phases with weeks off between them, and learners who stop
    double zeitfaktor = 0.025; // how much an hour between sessions counts against one within a session
};

// What every learner meets alike: each question's difficulty, how attractive its wrong answers
// are, how easily it is slipped on, and how likely it is known before it was ever seen.
struct Fragen {
    struct Frage {
        int thema = 0;  // 1..11
        int nummer = 0; // 1..30 in its topic file
        int loesung = 0;
        QByteArray kennung;
        double schwelle = 0; // recall threshold of an average learner
        double raten = 0;    // chance to guess right when not recalled
        double patzer = 0;   // chance to answer wrong although recalled
        double bekannt = 0;  // how likely known at first sight, on the logit scale
    };
    std::vector<Frage> alle; // in catalogue order
    QList<int> groessen;     // questions per topic, topic 1 first

    static Fragen aus(const Gesamtkatalog& katalog, quint32 saat);
};

class Lernender {
public:
    // Learner `nummer` of the run seeded `saat`: the same two give the same learner.
    Lernender(const Fragen& fragen, const Optionen& optionen, quint32 saat, quint32 nummer);

    // Lives day `tag` (0 = the learner's first day): studies or not, and appends its answers
    // to the history. Days must come in order.
    void lebe(int tag);

    const QList<Verlauf::Eintrag>& verlauf() const { return m_verlauf; }
    QDateTime tagesende(int tag) const;
    int letzterLerntag() const { return m_letzterLerntag; } // -1 before the first

    // The chance to answer each question right at `zeit`, no earlier than the last answer, by
    // topic (topic 1 first) in file order, without learning from the answers: what a sheet
    // handed out at that moment meets.
    QList<QList<double>> treffer(const QDateTime& zeit) const;

    // One line on the learner's kind, for the bench's listing.
    QString beschreibung() const;

private:
    struct Spur {
        double zeit; // psychological seconds (see Lernende.cpp)
        double zerfall;
    };
    struct Stand {
        double schwelle = 0;
        double vorwissen = 0; // lasting strength known before the program, 0 if none
        std::vector<Spur> spuren;
        int zuletzt = -1; // latest answer in the history: 1 right, 0 wrong, -1 none
    };

    double summe(const Stand& s, double psych) const;
    double erinnert(const Stand& s, double psych) const;
    double richtigChance(int i, double psych) const;
    void sieh(int i);     // an exposure now: the solution shown, a trace laid
    bool antworte(int i); // answers now from the current state, then sees the solution
    void warte(double sekunden, bool aktiv);
    void gehZu(double sekunden); // outside a session, to a later moment
    QString zeitText() const;
    QString laufText() const;
    void schreibe(const QString& lauf, Verlauf::Modus modus, int i, bool richtig, const QString& zeit);

    void abfrage(int thema);
    void fehlerUeben(int thema);
    void lernen(int thema);
    void pruefung();
    int waehleThema();
    QList<int> fehlerfragen(int thema) const;

    double normal();
    double gleich(double von, double bis);
    bool chance(double p);

    const Fragen& m_fragen;
    Optionen m_optionen;
    QRandomGenerator m_zufall;
    std::vector<Stand> m_stand;
    std::vector<int> m_erste; // index of each topic's first question in m_stand

    // The learner's kind.
    double m_staerke = 0;
    double m_alpha = 0;
    double m_vorwissen = 0;
    double m_lerntage = 0;
    double m_drill = 0;
    int m_runden = 1;
    double m_pruefung = 0;
    double m_lernfenster = 0;
    double m_fehlerSitzung = 0;

    // The calendar.
    double m_start = 0; // seconds since the epoch at 00:00 UTC of day 0
    bool m_lernphase = true;
    int m_phaseBis = 0;
    bool m_aufgehoert = false;
    int m_letzterLerntag = -1;

    // Time: real seconds since the epoch, and psychological seconds.
    double m_jetzt = 0;
    double m_psych = 0;

    std::vector<int> m_abgefragtAm; // per topic (1..11) the day of the latest quiz, -1 never
    QList<Verlauf::Eintrag> m_verlauf;
};

} // namespace Lernende
