// Whether the chance to pass that "Lernstand" shows can be trusted: simulated learners
// (Lernende.cpp, a model of memory other than the program's own) study the shipped catalogue;
// at the end of each day the chance shown from their history so far is set against the share
// of exam sheets they actually pass at that moment, and so is the old rule's chance. Prints
// tables; never fails.
//
//   selvarot_kalibrierung [--lernende N] [--tage D] [--boegen K] [--jeder N] [--saat S]
//                         [--gross] [--ohne-lernfenster] [--ohne-pausen] [--zeitfaktor H]
//                         [--ohne-schaetzer]
//
// --gross runs four times the learners. --jeder N takes every Nth day only. --zeitfaktor sets
// how fast the learners forget between sessions (Lernende.cpp, default 0.025). --ohne-schaetzer
// leaves the program's estimator out (the learners and the old rule alone, quickly).
#include "Gesamtkatalog.h"
#include "Lernende.h"
#include "Lernstand.h"
#include "Programmordner.h"
#include "Pruefung.h"
#include "Verlauf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString kKatalog = QStringLiteral(SELVAROT_KALIBRIERUNG_KATALOG);

// A decile needs this many days (of all learners) before its difference counts against the target.
constexpr int kGenug = 100;

struct Fall {
    double gezeigt = 0; // the estimator
    double unten = 0;
    double oben = 0;
    double alt = 0;  // the old rule
    double wahr = 0; // the simulator's exact chance
    int bestanden = 0;
    int boegen = 0;
    int seitLernen = 0; // days since the last study day
    int alter = 0;      // days since the learner's first day
};

// The old rule, which the program no longer has: per question (1/4 + right among its last three
// answers) / (1 + their number), every answer in the history counted.
double alteTrefferchance(const QList<bool>& antworten)
{
    const qsizetype n = std::min<qsizetype>(antworten.size(), 3);
    const auto richtig = std::count(antworten.end() - n, antworten.end(), true);
    return (0.25 + double(richtig)) / double(1 + n);
}

QList<QList<double>> alteRegel(const Gesamtkatalog& katalog, const QList<Verlauf::Eintrag>& verlauf)
{
    QHash<QByteArray, QList<bool>> antworten;
    for (const Verlauf::Eintrag& e : verlauf)
        antworten[QByteArray::number(e.thema) + ':' + e.frage].append(e.richtig);
    QList<QList<double>> treffer(11);
    for (int t = 1; t <= 11; ++t)
        for (const Katalogfrage& f : katalog.fragen[t])
            treffer[t - 1].append(alteTrefferchance(antworten.value(QByteArray::number(t) + ':' + f.kennung)));
    return treffer;
}

QString pp(double differenz) { return QString::asprintf("%+.1f", 100 * differenz); }

QString prozent(double anteil) { return QString::asprintf("%.1f %%", 100 * anteil); }

struct Zelle {
    int faelle = 0;
    double gezeigt = 0;
    double wahr = 0;
    long long bestanden = 0;
    long long boegen = 0;
    int drin = 0;

    void nimm(const Fall& f, double p, bool imBereich)
    {
        ++faelle;
        gezeigt += p;
        wahr += f.wahr;
        bestanden += f.bestanden;
        boegen += f.boegen;
        drin += imBereich;
    }
    double mittel() const { return faelle ? gezeigt / faelle : 0; }
    double anteil() const { return boegen ? double(bestanden) / double(boegen) : 0; }
};

bool imBereich(const Fall& f) { return f.wahr >= f.unten && f.wahr <= f.oben; }

// Calibration per decile of the shown chance, the estimator and the old rule side by side.
// Returns the deciles with enough cases that miss the target.
int kalibrierung(const std::vector<Fall>& faelle, bool schaetzer)
{
    Zelle neu[10], alt[10];
    auto dezil = [](double p) { return std::clamp(int(std::floor(p * 10)), 0, 9); };
    for (const Fall& f : faelle) {
        if (schaetzer)
            neu[dezil(f.gezeigt)].nimm(f, f.gezeigt, imBereich(f));
        alt[dezil(f.alt)].nimm(f, f.alt, false);
    }
    std::printf("| shown chance | estimator: days | shown | passed | difference | true chance in range "
                "| old rule: days | shown | passed | difference |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    int verfehlt = 0;
    for (int d = 0; d < 10; ++d) {
        const Zelle& n = neu[d];
        const Zelle& a = alt[d];
        QString links =
            QStringLiteral("| %1 | – | | | | ")
                .arg(d * 10 < 90 ? QStringLiteral("%1-%2 %").arg(d * 10).arg(d * 10 + 10) : QStringLiteral("90-100 %"));
        if (n.faelle) {
            const double diff = n.anteil() - n.mittel();
            const bool genug = n.faelle >= kGenug;
            const bool aus = genug && std::abs(diff) > 0.05;
            verfehlt += aus;
            links = QStringLiteral("| %1 | %2 | %3 | %4 | %5%6 | %7 | ")
                        .arg(d * 10 < 90 ? QStringLiteral("%1-%2 %").arg(d * 10).arg(d * 10 + 10)
                                         : QStringLiteral("90-100 %"))
                        .arg(n.faelle)
                        .arg(prozent(n.mittel()))
                        .arg(prozent(n.anteil()))
                        .arg(pp(diff))
                        .arg(aus     ? QStringLiteral(" **miss**")
                             : genug ? QString()
                                     : QStringLiteral(" (few)"))
                        .arg(prozent(double(n.drin) / n.faelle));
        }
        QString rechts = QStringLiteral("– | | | |");
        if (a.faelle)
            rechts = QStringLiteral("%1 | %2 | %3 | %4%5 |")
                         .arg(a.faelle)
                         .arg(prozent(a.mittel()))
                         .arg(prozent(a.anteil()))
                         .arg(pp(a.anteil() - a.mittel()))
                         .arg(a.faelle >= kGenug ? QString() : QStringLiteral(" (few)"));
        std::printf("%s%s\n", qPrintable(links), qPrintable(rechts));
    }
    return verfehlt;
}

// The Brier score of a chance against the simulated sheets, each sheet one outcome.
double brier(const std::vector<Fall>& faelle, const std::function<double(const Fall&)>& chance)
{
    double summe = 0;
    long long boegen = 0;
    for (const Fall& f : faelle) {
        const double p = chance(f);
        summe += f.bestanden * (1 - p) * (1 - p) + (f.boegen - f.bestanden) * p * p;
        boegen += f.boegen;
    }
    return boegen ? summe / double(boegen) : 0;
}

// The Brier score of a chance against the simulator's exact chance: the part of the above that a
// better estimate could remove.
double brierExakt(const std::vector<Fall>& faelle, const std::function<double(const Fall&)>& chance)
{
    double summe = 0;
    for (const Fall& f : faelle)
        summe += (chance(f) - f.wahr) * (chance(f) - f.wahr);
    return faelle.empty() ? 0 : summe / double(faelle.size());
}

double mittlererAbstand(const std::vector<Fall>& faelle, const std::function<double(const Fall&)>& chance)
{
    double summe = 0;
    for (const Fall& f : faelle)
        summe += std::abs(chance(f) - f.wahr);
    return faelle.empty() ? 0 : summe / double(faelle.size());
}

// The sheet's chance against the true one, the days grouped by `fach` (0 to 4, -1 none): where
// the estimator misses.
void nachFaechern(const std::vector<Fall>& faelle, bool schaetzer, const char* titel, const char* const namen[5],
                  const std::function<int(const Fall&)>& fach)
{
    std::printf("| %s | days | true chance | estimator | difference | true chance in range | old rule | difference |\n",
                titel);
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int k = 0; k < 5; ++k) {
        int n = 0, drin = 0;
        double wahr = 0, neu = 0, alt = 0;
        for (const Fall& f : faelle) {
            if (fach(f) != k)
                continue;
            ++n;
            wahr += f.wahr;
            neu += f.gezeigt;
            alt += f.alt;
            drin += imBereich(f);
        }
        if (!n)
            continue;
        if (schaetzer)
            std::printf("| %s | %d | %s | %s | %s | %s | %s | %s |\n", namen[k], n, qPrintable(prozent(wahr / n)),
                        qPrintable(prozent(neu / n)), qPrintable(pp((neu - wahr) / n)),
                        qPrintable(prozent(double(drin) / n)), qPrintable(prozent(alt / n)),
                        qPrintable(pp((alt - wahr) / n)));
        else
            std::printf("| %s | %d | %s | – | | | %s | %s |\n", namen[k], n, qPrintable(prozent(wahr / n)),
                        qPrintable(prozent(alt / n)), qPrintable(pp((alt - wahr) / n)));
    }
}

int fachVon(int wert, std::initializer_list<int> grenzen)
{
    int k = -1;
    for (int g : grenzen)
        k += wert >= g;
    return k;
}

// By the days since the learner last studied, and by how long the learner has been at it: the
// fit knows little of long gaps while the history is short.
void nachPause(const std::vector<Fall>& faelle, bool schaetzer)
{
    const char* const pause[] = {"studied that day", "1-6 days after", "7-20 days after", "21-59 days after",
                                 "60 days and more"};
    nachFaechern(faelle, schaetzer, "since the last study day", pause, [](const Fall& f) {
        return fachVon(f.seitLernen, {0, 1, 7, 21, 60});
    });
    std::printf("\n");
    const char* const alter[] = {"days 0-13", "days 14-41", "days 42-83", "days 84-139", "day 140 and later"};
    nachFaechern(faelle, schaetzer, "since the learner's first day", alter, [](const Fall& f) {
        return fachVon(f.alter, {0, 14, 42, 84, 140});
    });
}

// Each question's chance, the estimator's and the old rule's against the true one, by the days
// since the question's last answer in the history: where the chance to pass goes wrong.
struct Fragenzelle {
    long long n = 0;
    double geschaetzt = 0;
    double alt = 0;
    double wahr = 0;
};

struct Letzte {
    qint64 zeit = -1;
    bool richtig = false;
};

int fragenFach(qint64 sekunden)
{
    if (sekunden < 0)
        return 0;
    const qint64 tage = sekunden / 86400;
    return tage < 1 ? 1 : tage < 7 ? 2 : tage < 21 ? 3 : tage < 60 ? 4 : 5;
}

// Each question's chance by the estimator's value for it: whether the top is held down.
void fragenNachSchaetzung(const std::array<Fragenzelle, 10>& zellen)
{
    std::printf("| each question, estimated | question-days | estimator | true | difference |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    for (int d = 0; d < 10; ++d) {
        const Fragenzelle& z = zellen[d];
        if (z.n)
            std::printf("| %d-%d %% | %lld | %s | %s | %s |\n", d * 10, d * 10 + 10, z.n,
                        qPrintable(prozent(z.geschaetzt / double(z.n))), qPrintable(prozent(z.wahr / double(z.n))),
                        qPrintable(pp((z.geschaetzt - z.wahr) / double(z.n))));
    }
}

void proFrage(const std::array<Fragenzelle, 6>& zellen, bool schaetzer)
{
    const char* namen[] = {"never answered",   "answered that day", "1-6 days before",
                           "7-20 days before", "21-59 days before", "60 days and more"};
    std::printf("| each question, last answered | question-days | true | estimator | difference | old rule "
                "| difference |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (int k = 0; k < 6; ++k) {
        const Fragenzelle& z = zellen[k];
        if (!z.n)
            continue;
        const double n = double(z.n);
        std::printf("| %s | %lld | %s | %s | %s | %s | %s |\n", namen[k], z.n, qPrintable(prozent(z.wahr / n)),
                    schaetzer ? qPrintable(prozent(z.geschaetzt / n)) : "–",
                    schaetzer ? qPrintable(pp((z.geschaetzt - z.wahr) / n)) : "", qPrintable(prozent(z.alt / n)),
                    qPrintable(pp((z.alt - z.wahr) / n)));
    }
}

// The same for the estimator, split by whether the question's last answer was right or wrong.
void nachLetzterAntwort(const std::array<Fragenzelle, 6>& richtig, const std::array<Fragenzelle, 6>& falsch,
                        const char* tage)
{
    const char* namen[] = {
        "", "answered that day", "1-6 days before", "7-20 days before", "21-59 days before", "60 days and more"};
    std::printf("| %s: each question, last answered | last right: question-days | true | estimator | difference "
                "| last wrong: question-days | true | estimator | difference |\n",
                tage);
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    const auto zelle = [](const Fragenzelle& z) {
        if (!z.n)
            return QStringLiteral("– | | |");
        const double n = double(z.n);
        return QStringLiteral("%1 | %2 | %3 | %4")
            .arg(z.n)
            .arg(prozent(z.wahr / n), prozent(z.geschaetzt / n), pp((z.geschaetzt - z.wahr) / n));
    };
    for (int k = 1; k < 6; ++k)
        std::printf("| %s | %s | %s |\n", namen[k], qPrintable(zelle(richtig[k])), qPrintable(zelle(falsch[k])));
}

// The learner's own answers, each predicted by the model (with the parameters fitted on the last
// day) from the answers to that question before it, by the days since the one before: what the
// program could see in the history itself. The first answer of each run counts, as in the fit.
void eigeneAntworten(const QList<Verlauf::Eintrag>& verlauf, const Erinnerung::Parameter& parameter,
                     std::array<Fragenzelle, 6>& zellen)
{
    QHash<QByteArray, int> index;
    std::vector<Erinnerung::Spur> spuren;
    QList<QString> laeufe;
    for (const Verlauf::Eintrag& e : verlauf) {
        const QByteArray schluessel = QByteArray::number(e.thema) + ':' + e.frage;
        const Erinnerung::Antwort antwort{QDateTime::fromString(e.zeit, Qt::ISODate).toSecsSinceEpoch(), e.richtig};
        const auto i = index.constFind(schluessel);
        if (i == index.cend()) {
            index.insert(schluessel, int(spuren.size()));
            spuren.emplace_back(parameter);
            spuren.back().antworte(antwort);
            laeufe.append(e.lauf);
            continue;
        }
        if (laeufe[*i] == e.lauf)
            continue;
        laeufe[*i] = e.lauf;
        Fragenzelle& z = zellen[fragenFach(antwort.zeit - spuren[*i].zuletzt())];
        ++z.n;
        z.geschaetzt += spuren[*i].antworte(antwort);
        z.wahr += e.richtig;
    }
}

void eigeneTabelle(const std::array<Fragenzelle, 6>& zellen)
{
    const char* namen[] = {"", "the same day", "1-6 days", "7-20 days", "21-59 days", "60 days and more"};
    std::printf("| the learners' own answers, after the previous one | answers | predicted | right | difference |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    for (int k = 1; k < 6; ++k) {
        const Fragenzelle& z = zellen[k];
        if (z.n)
            std::printf("| %s | %lld | %s | %s | %s |\n", namen[k], z.n,
                        qPrintable(prozent(z.geschaetzt / double(z.n))), qPrintable(prozent(z.wahr / double(z.n))),
                        qPrintable(pp((z.geschaetzt - z.wahr) / double(z.n))));
    }
}

// The model's parameters as fitted to the learners on their last day: a fit that runs into the
// bounds the program sets says the model's shape cannot follow these learners.
void parameterListe(std::vector<Erinnerung::Parameter> alle, int lernende)
{
    if (alle.empty())
        return;
    Erinnerung::Vektor weit;
    weit.fill(1e9);
    const Erinnerung::Parameter grenze = Erinnerung::ausVektor(weit);
    const auto median = [&](auto feld) {
        std::vector<double> w;
        for (const auto& p : alle)
            w.push_back(feld(p));
        std::sort(w.begin(), w.end());
        return QStringLiteral("%1 (%2 to %3)")
            .arg(w[w.size() / 2], 0, 'g', 3)
            .arg(w[w.size() / 4], 0, 'g', 3)
            .arg(w[w.size() * 3 / 4], 0, 'g', 3);
    };
    int halbwertszeit = 0, wachstum = 0;
    for (const auto& p : alle) {
        halbwertszeit += p.halbwertszeit >= 0.999 * grenze.halbwertszeit;
        wachstum += p.wachstum >= 0.999 * grenze.wachstum;
    }
    std::printf("\nThe model fitted on the last day to %zu of %d learners, median (quartiles): slip %s, learn %s, "
                "half-life %s days, growth %s, relapse %s, form %s. At the upper bound: half-life (%g days) %d, growth "
                "(%g) %d.\n",
                alle.size(), lernende, qPrintable(median([](const auto& p) { return p.fehlgriff; })),
                qPrintable(median([](const auto& p) { return p.lernen; })),
                qPrintable(median([](const auto& p) { return p.halbwertszeit; })),
                qPrintable(median([](const auto& p) { return p.wachstum; })),
                qPrintable(median([](const auto& p) { return p.rueckfall; })),
                qPrintable(median([](const auto& p) { return p.form; })), grenze.halbwertszeit, halbwertszeit,
                grenze.wachstum, wachstum);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int lernende = 150, tage = 200, boegen = 200, jeder = 1;
    quint32 saat = 1;
    bool schaetzer = true;
    Lernende::Optionen optionen;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const int wert = i + 1 < args.size() ? args[i + 1].toInt() : 0;
        if (a == "--lernende" && wert > 0)
            lernende = wert, ++i;
        else if (a == "--tage" && wert > 0)
            tage = wert, ++i;
        else if (a == "--boegen" && wert > 0)
            boegen = wert, ++i;
        else if (a == "--jeder" && wert > 0)
            jeder = wert, ++i;
        else if (a == "--saat" && i + 1 < args.size())
            saat = args[++i].toUInt();
        else if (a == "--zeitfaktor" && i + 1 < args.size() && args[i + 1].toDouble() > 0)
            optionen.zeitfaktor = args[++i].toDouble();
        else if (a == "--gross")
            lernende *= 4;
        else if (a == "--ohne-pausen")
            optionen.pausen = false;
        else if (a == "--ohne-lernfenster")
            optionen.lernfenster = false;
        else if (a == "--ohne-schaetzer")
            schaetzer = false;
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(a));
            return 2;
        }
    }
    optionen.tage = tage;

    Programmordner::setze(kKatalog);
    const Gesamtkatalog katalog = Gesamtkatalog::lade();
    const Pruefungsregel regel = Pruefungsregel::ausDatei(Pruefungsregel::dateiname());
    optionen.bogen = regel.fragen;
    const Lernende::Fragen fragen = Lernende::Fragen::aus(katalog, saat);
    const QList<int> groessen = katalog.groessen();

    QElapsedTimer uhr;
    uhr.start();
    double schaetzerMs = 0, schaetzerMax = 0;
    long long antworten = 0;
    long long proModus[3] = {}, richtigProModus[3] = {};
    std::vector<Fall> faelle;
    std::vector<Erinnerung::Parameter> gefittet; // each learner's on the last day, where fitted
    std::array<Fragenzelle, 6> zellen{};
    std::array<Fragenzelle, 10> nachSchaetzung{};
    std::array<Fragenzelle, 6> nachRichtig{}, nachFalsch{};
    std::array<Fragenzelle, 6> letztRichtig{}, letztFalsch{}; // the learners' last day only
    std::array<Fragenzelle, 6> eigene{};
    QList<QByteArray> schluessel; // topic and digest of each question, in catalogue order
    for (int t = 1; t <= 11; ++t)
        for (const Katalogfrage& q : katalog.fragen[t])
            schluessel.append(QByteArray::number(t) + ':' + q.kennung);
    const int letzterTag = (tage - 1) / jeder * jeder; // the last day measured
    for (int n = 0; n < lernende; ++n) {
        Lernende::Lernender lernender(fragen, optionen, saat, quint32(n));
        const quint32 samen[] = {saat, quint32(n), 0x424f47u};
        QRandomGenerator bogenZufall(samen, 3);
        QString kurve;
        QHash<QByteArray, Letzte> zuletzt; // each question's last answer in the history
        qsizetype gelesen = 0;
        Lernstand stand;
        for (int tag = 0; tag < tage; ++tag) {
            lernender.lebe(tag);
            if (lernender.letzterLerntag() < 0 || tag % jeder != 0)
                continue;
            const QDateTime jetzt = lernender.tagesende(tag);
            Fall f;
            f.seitLernen = tag - lernender.letzterLerntag();
            f.alter = tag;
            if (schaetzer) {
                QElapsedTimer t;
                t.start();
                stand = Lernstand::berechne(katalog, regel, lernender.verlauf(), jetzt);
                const double ms = double(t.nsecsElapsed()) / 1e6;
                schaetzerMs += ms;
                schaetzerMax = std::max(schaetzerMax, ms);
                f.gezeigt = stand.bestehenschance;
                f.unten = stand.chanceUnten;
                f.oben = stand.chanceOben;
            }
            const QList<QList<double>> alt = alteRegel(katalog, lernender.verlauf());
            f.alt = Pruefung::bestehenschance(alt, regel);
            const QList<QList<double>> treffer = lernender.treffer(jetzt);
            for (; gelesen < lernender.verlauf().size(); ++gelesen) {
                const Verlauf::Eintrag& e = lernender.verlauf()[gelesen];
                zuletzt[QByteArray::number(e.thema) + ':' + e.frage] = {
                    QDateTime::fromString(e.zeit, Qt::ISODate).toSecsSinceEpoch(), e.richtig};
            }
            for (int t = 1, i = 0; t <= 11; ++t) {
                for (int k = 0; k < treffer[t - 1].size(); ++k, ++i) {
                    const Letzte letzte = zuletzt.value(schluessel[i]);
                    const int fach = fragenFach(letzte.zeit < 0 ? -1 : jetzt.toSecsSinceEpoch() - letzte.zeit);
                    Fragenzelle& z = zellen[fach];
                    ++z.n;
                    z.wahr += treffer[t - 1][k];
                    z.alt += alt[t - 1][k];
                    if (schaetzer) {
                        z.geschaetzt += stand.treffer[t][k];
                        Fragenzelle& d = nachSchaetzung[std::clamp(int(stand.treffer[t][k] * 10), 0, 9)];
                        ++d.n;
                        d.geschaetzt += stand.treffer[t][k];
                        d.wahr += treffer[t - 1][k];
                        for (int zuletztTag = 0; letzte.zeit >= 0 && zuletztTag < 2; ++zuletztTag) {
                            if (zuletztTag == 1 && tag != letzterTag)
                                break;
                            auto& zeile = zuletztTag ? (letzte.richtig ? letztRichtig : letztFalsch)
                                                     : (letzte.richtig ? nachRichtig : nachFalsch);
                            ++zeile[fach].n;
                            zeile[fach].geschaetzt += stand.treffer[t][k];
                            zeile[fach].wahr += treffer[t - 1][k];
                        }
                    }
                }
            }
            f.wahr = Pruefung::bestehenschance(treffer, regel);
            for (int b = 0; b < boegen; ++b) {
                int falsch = 0;
                for (const Bogenfrage& q : Pruefung::ziehe(groessen, regel.fragen, bogenZufall))
                    falsch += bogenZufall.generateDouble() >= treffer[q.thema - 1][q.frage - 1];
                f.bestanden += regel.bestanden(falsch);
            }
            f.boegen = boegen;
            faelle.push_back(f);
            if (tag % 20 == 19)
                kurve += QStringLiteral(" %1").arg(qRound(100 * f.wahr));
        }
        antworten += lernender.verlauf().size();
        for (const Verlauf::Eintrag& e : lernender.verlauf()) {
            const int m = e.modus == Verlauf::Modus::Fehler ? 1 : e.modus == Verlauf::Modus::Pruefung ? 2 : 0;
            ++proModus[m];
            richtigProModus[m] += e.richtig;
        }
        const Erinnerung::Parameter& p = stand.parameter;
        if (schaetzer && stand.angepasst)
            gefittet.push_back(p);
        if (schaetzer)
            eigeneAntworten(lernender.verlauf(), p, eigene);
        std::fprintf(stderr,
                     "learner %d: %lld answers; %s\n  true chance every 20th day:%s\n"
                     "  last day's model%s: first %.2f, slip %.3f, learn %.2f, half-life %.1f d, growth %.1f, "
                     "relapse %.2f, form %.2f\n",
                     n + 1, (long long)lernender.verlauf().size(), qPrintable(lernender.beschreibung()),
                     qPrintable(kurve), stand.angepasst ? " (fitted)" : "", p.erste, p.fehlgriff, p.lernen,
                     p.halbwertszeit, p.wachstum, p.rueckfall, p.form);
    }

    long long alleBoegen = 0;
    for (const Fall& f : faelle)
        alleBoegen += f.boegen;
    std::printf("%d learners, %d days each, %s, %d sheets of %d questions (at most %d wrong) a day; "
                "seed %u%s%s%s.\n%zu days from a learner's first study day on, %lld answers in all, %lld sheets.\n",
                lernende, tage, jeder == 1 ? "every day" : qPrintable(QStringLiteral("every %1th day").arg(jeder)),
                boegen, regel.fragen, regel.maxFalsch, saat, optionen.lernfenster ? "" : ", without the learn window",
                optionen.pausen ? "" : ", without pauses",
                optionen.zeitfaktor == Lernende::Optionen{}.zeitfaktor
                    ? ""
                    : qPrintable(QStringLiteral(", time between sessions counted at %1").arg(optionen.zeitfaktor)),
                faelle.size(), antworten, alleBoegen);
    std::printf("Answers right in the learners' own quizzes %s, drills %s, exam sheets %s.\n\n",
                qPrintable(prozent(double(richtigProModus[0]) / double(std::max(proModus[0], 1LL)))),
                qPrintable(prozent(double(richtigProModus[1]) / double(std::max(proModus[1], 1LL)))),
                qPrintable(prozent(double(richtigProModus[2]) / double(std::max(proModus[2], 1LL)))));
    const int verfehlt = kalibrierung(faelle, schaetzer);
    std::printf("\n| | Brier score (sheets) | Brier score (exact) | mean distance from the true chance |\n");
    std::printf("|---|---:|---:|---:|\n");
    auto neu = [](const Fall& f) { return f.gezeigt; };
    auto alt = [](const Fall& f) { return f.alt; };
    auto wahr = [](const Fall& f) { return f.wahr; };
    if (schaetzer)
        std::printf("| estimator | %.4f | %.4f | %.1f pp |\n", brier(faelle, neu), brierExakt(faelle, neu),
                    100 * mittlererAbstand(faelle, neu));
    std::printf("| old rule | %.4f | %.4f | %.1f pp |\n", brier(faelle, alt), brierExakt(faelle, alt),
                100 * mittlererAbstand(faelle, alt));
    std::printf("| the true chance itself (floor) | %.4f | 0 | 0 |\n", brier(faelle, wahr));
    double passed = 0, exakt = 0;
    for (const Fall& f : faelle) {
        passed += f.bestanden;
        exakt += f.wahr * f.boegen;
    }
    std::printf("\nSheets passed %s; the exact true chance expects %s.\n", qPrintable(prozent(passed / alleBoegen)),
                qPrintable(prozent(exakt / alleBoegen)));
    if (schaetzer) {
        int drin = 0, drunter = 0, drueber = 0;
        double breite = 0;
        for (const Fall& f : faelle) {
            drin += imBereich(f);
            drunter += f.wahr < f.unten;
            drueber += f.wahr > f.oben;
            breite += f.oben - f.unten;
        }
        const double n = double(std::max<std::size_t>(faelle.size(), 1));
        std::printf("The 80 %% range holds the true chance on %s of the days (below it %s, above it %s); mean width "
                    "%.1f pp.\n",
                    qPrintable(prozent(drin / n)), qPrintable(prozent(drunter / n)), qPrintable(prozent(drueber / n)),
                    100 * breite / n);
    }
    std::printf("\n");
    nachPause(faelle, schaetzer);
    if (schaetzer)
        parameterListe(gefittet, lernende);
    std::printf("\n");
    proFrage(zellen, schaetzer);
    if (schaetzer) {
        std::printf("\n");
        fragenNachSchaetzung(nachSchaetzung);
        std::printf("\n");
        nachLetzterAntwort(nachRichtig, nachFalsch, "every day");
        std::printf("\n");
        nachLetzterAntwort(letztRichtig, letztFalsch, "each learner's last day");
        std::printf("\n");
        eigeneTabelle(eigene);
    }
    if (schaetzer)
        std::printf("\nTarget: shown and passed within 5 pp in every decile with %d days or more: %s.\n"
                    "The estimator took %.1f ms a day on average, %.0f ms at most.\n",
                    kGenug, verfehlt ? qPrintable(QStringLiteral("missed in %1").arg(verfehlt)) : "met",
                    schaetzerMs / double(std::max<std::size_t>(faelle.size(), 1)), schaetzerMax);
    std::printf("Run time %.0f s (a busy machine).\n", double(uhr.elapsed()) / 1000);
    return 0;
}
