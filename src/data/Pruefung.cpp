#include "Pruefung.h"

#include "Feldleser.h"
#include "Programmordner.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// The rule file is three short lines; more than this is not a rule file, and a FIFO or a
// huge file must not keep the trainer reading.
constexpr qsizetype kHoechstensBytes = 4096;

constexpr int kHoechstFragen = 330; // all eleven topics at 30 questions
constexpr int kHoechstMinuten = 600;
constexpr int kHoechstHeute = 100;

// Up to kHoechstensBytes of the device, ending after a whole line when there was more: a line cut
// at the limit could turn "Fehler",12 into "Fehler",1.
QByteArray leseBegrenzt(QIODevice& geraet)
{
    QByteArray bytes;
    while (bytes.size() <= kHoechstensBytes) {
        const QByteArray stueck = geraet.read(kHoechstensBytes + 1 - bytes.size());
        if (stueck.isEmpty())
            break;
        bytes += stueck;
    }
    if (bytes.size() > kHoechstensBytes) {
        bytes.truncate(kHoechstensBytes);
        bytes.truncate(std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    }
    return bytes;
}

bool heisst(const QString& name, const char* regel)
{
    return name.trimmed().compare(QLatin1String(regel), Qt::CaseInsensitive) == 0;
}

// The chance to answer right, as the sheet needs it: a value that is no number says nothing
// about the question, like one never answered.
double alsChance(double p)
{
    return std::isnan(p) ? 0.25 : std::clamp(p, 0.0, 1.0);
}

// The distribution of wrong answers among k questions drawn uniformly from a topic, up to
// `grenze` wrong: more never passes, so that mass is left out. The questions are taken in turn,
// each onto the sheet with the chance that a uniformly drawn k-subset holds it given how many of
// the earlier ones it holds, (k - j) / (questions left). That weighs every k-subset with 1/C(n, k),
// so wahrscheinlichkeit[k][w] is the sum over all k-subsets of the chance of w wrong among them,
// divided by C(n, k), without the large binomials.
std::vector<double> falschVerteilung(const QList<double>& treffer, int k, int grenze)
{
    const int n = int(treffer.size());
    const int breite = std::min(k, grenze) + 1;
    // Row j: j questions on the sheet so far; column w: w of them wrong.
    std::vector<double> wahrscheinlichkeit(std::size_t(k + 1) * breite, 0.0);
    auto zelle = [&](int j, int w) -> double& { return wahrscheinlichkeit[std::size_t(j) * breite + w]; };
    zelle(0, 0) = 1.0;

    for (int i = 0; i < n; ++i) {
        const double richtig = alsChance(treffer[i]);
        const int uebrig = n - i;
        // Descending j reads row j - 1 before this question has changed it.
        for (int j = std::min(i + 1, k); j >= 0; --j) {
            const double bleibt = j <= i ? 1.0 - double(k - j) / uebrig : 0.0;
            const double kommt = j >= 1 ? double(k - j + 1) / uebrig : 0.0;
            for (int w = std::min(j, breite - 1); w >= 0; --w) {
                double neu = j <= i ? zelle(j, w) * bleibt : 0.0;
                if (j >= 1 && w <= j - 1)
                    neu += zelle(j - 1, w) * kommt * richtig;
                if (j >= 1 && w >= 1)
                    neu += zelle(j - 1, w - 1) * kommt * (1.0 - richtig);
                zelle(j, w) = neu;
            }
        }
    }
    return std::vector<double>(wahrscheinlichkeit.end() - breite, wahrscheinlichkeit.end());
}

} // namespace

Pruefungsregel Pruefungsregel::lese(QIODevice& geraet)
{
    QByteArray bytes = leseBegrenzt(geraet);
    // Files edited elsewhere may end their lines with LF or CR alone.
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');

    std::optional<int> fragen, minuten, fehler, heute;
    for (const QByteArray& zeile : bytes.split('\n')) {
        QBuffer puffer;
        puffer.setData(zeile);
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        const auto name = leser.leseText();
        const auto wert = leser.leseText();
        if (!name || !wert)
            continue;
        // Not Feldleser::alsZahl: its 0 for text would be a valid count of wrong answers.
        bool zahl = false;
        const int w = wert->trimmed().toInt(&zahl);
        if (!zahl)
            continue;
        if (heisst(*name, "Fragen") && w >= 1 && w <= kHoechstFragen)
            fragen = w;
        else if (heisst(*name, "Minuten") && w >= 1 && w <= kHoechstMinuten)
            minuten = w;
        else if (heisst(*name, "Fehler") && w >= 0 && w < kHoechstFragen)
            fehler = w;
        else if (heisst(*name, "Heute") && w >= 1 && w <= kHoechstHeute)
            heute = w;
    }

    Pruefungsregel regel;
    regel.fragen = fragen.value_or(regel.fragen);
    regel.minuten = minuten.value_or(regel.minuten);
    regel.heute = heute.value_or(regel.heute);
    // A sheet that passes with every answer wrong is no exam: at most one answer fewer.
    regel.maxFalsch = fehler && *fehler < regel.fragen ? *fehler : std::min(regel.maxFalsch, regel.fragen - 1);
    return regel;
}

Pruefungsregel Pruefungsregel::ausDatei(const QString& pfad)
{
    // Opening a FIFO would wait for a writer; a folder or a device is no rule file either.
    if (!QFileInfo(pfad).isFile())
        return {};
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return lese(datei);
}

bool Pruefungsregel::bestanden(int falschOderOffen) const
{
    return falschOderOffen <= maxFalsch;
}

Pruefungsregel Pruefungsregel::fuerBogen(int gezogen) const
{
    Pruefungsregel regel = *this;
    if (gezogen >= fragen)
        return regel;
    regel.fragen = std::max(gezogen, 0);
    regel.maxFalsch = std::min(int(qint64(maxFalsch) * regel.fragen / std::max(fragen, 1)), regel.fragen - 1);
    return regel;
}

QString Pruefungsregel::dateiname()
{
    return Programmordner::datei(QStringLiteral("PRUEFUNG.QXV"));
}

namespace Pruefung {

int Verteilung::fragen() const
{
    int n = offen;
    for (int a : anzahl)
        n += a;
    return n;
}

Verteilung verteile(const QList<int>& groessen, int bogen)
{
    Verteilung v;
    QList<int> groesse;
    qint64 alle = 0;
    for (int g : groessen) {
        groesse.append(std::max(g, 0));
        alle += groesse.back();
    }
    v.anzahl = QList<int>(groesse.size(), 0);
    if (bogen <= 0 || alle == 0)
        return v;
    if (alle <= bogen) {
        v.anzahl = groesse;
        return v;
    }

    // Whole parts of bogen * g / alle first, kept as integers so that equal remainders compare equal.
    QList<qint64> rest(groesse.size());
    qint64 vergeben = 0;
    QList<int> reihe;
    for (int t = 0; t < groesse.size(); ++t) {
        const qint64 anteil = qint64(bogen) * groesse[t];
        v.anzahl[t] = int(anteil / alle);
        rest[t] = anteil % alle;
        vergeben += v.anzahl[t];
        if (groesse[t] > 0)
            reihe.append(t);
    }
    std::stable_sort(reihe.begin(), reihe.end(), [&](int a, int b) { return rest[a] > rest[b]; });
    // Fewer questions are left than topics with a remainder, and a topic's whole part stays below
    // its size, so no topic gets more than it holds. The remainder of the last place decides: those
    // above it get their question for certain, those equal to it share what is left.
    const int frei = int(bogen - vergeben);
    if (frei == 0)
        return v;
    const qint64 grenze = rest[reihe[frei - 1]];
    int sicher = 0;
    for (int t : reihe) {
        if (rest[t] > grenze) {
            ++v.anzahl[t];
            ++sicher;
        } else if (rest[t] == grenze) {
            v.gleichauf.append(t);
        }
    }
    v.offen = frei - sicher;
    if (v.offen == int(v.gleichauf.size())) {
        for (int t : v.gleichauf)
            ++v.anzahl[t];
        v.gleichauf = {}; // gives back the buffer, unlike clear()
        v.offen = 0;
    }
    return v;
}

QList<Bogenfrage> ziehe(const QList<int>& groessen, int bogen, QRandomGenerator& zufall)
{
    Verteilung v = verteile(groessen, bogen);
    QList<int> anzahl = v.anzahl;
    for (int j = 0; j < v.offen; ++j) {
        std::swap(v.gleichauf[j], v.gleichauf[j + zufall.bounded(int(v.gleichauf.size()) - j)]);
        ++anzahl[v.gleichauf[j]];
    }
    QList<Bogenfrage> blatt;
    for (int t = 0; t < anzahl.size(); ++t) {
        QList<int> fragen(std::max(groessen[t], 0));
        for (int i = 0; i < fragen.size(); ++i)
            fragen[i] = i + 1;
        // The first anzahl[t] steps of a shuffle: every subset of that size equally likely.
        for (int j = 0; j < anzahl[t]; ++j) {
            std::swap(fragen[j], fragen[j + zufall.bounded(int(fragen.size()) - j)]);
            blatt.append({t + 1, fragen[j]});
        }
    }
    for (qsizetype i = blatt.size() - 1; i > 0; --i)
        std::swap(blatt[i], blatt[zufall.bounded(int(i) + 1)]);
    return blatt;
}

double trefferchance(const QList<bool>& antworten)
{
    const qsizetype n = std::min<qsizetype>(antworten.size(), 3);
    const auto richtig = std::count(antworten.end() - n, antworten.end(), true);
    return (0.25 + double(richtig)) / double(1 + n);
}

double bestehenschance(const QList<QList<double>>& treffer, const Pruefungsregel& regel)
{
    QList<int> groessen;
    for (const auto& thema : treffer)
        groessen.append(int(thema.size()));
    const Verteilung v = verteile(groessen, regel.fragen);
    const int grenze = regel.fuerBogen(v.fragen()).maxFalsch;
    if (grenze < 0 || v.fragen() == 0)
        return 0.0;

    // Topics are drawn independently, so the sheet's count of wrong answers is the sum of the
    // topics' counts: convolve, keeping only totals that can still pass. Row j holds the sheets in
    // which j of the tied topics so far took the extra question; every choice of `offen` tied topics
    // is equally likely, so the chance is row `offen` over their number.
    const int offen = v.offen;
    std::vector<std::vector<double>> bogen(offen + 1, std::vector<double>(grenze + 1, 0.0));
    bogen[0][0] = 1.0;
    const auto falte = [&](std::vector<double>& summe, const std::vector<double>& a, const std::vector<double>& b) {
        for (int x = 0; x <= grenze; ++x)
            for (int y = 0; y < int(b.size()) && x + y <= grenze; ++y)
                summe[x + y] += a[x] * b[y];
    };
    for (int t = 0; t < treffer.size(); ++t) {
        const bool gleichauf = v.gleichauf.contains(t);
        if (v.anzahl[t] == 0 && !gleichauf)
            continue;
        const std::vector<double> ohne = falschVerteilung(treffer[t], v.anzahl[t], grenze);
        const std::vector<double> mit =
            gleichauf ? falschVerteilung(treffer[t], v.anzahl[t] + 1, grenze) : std::vector<double>();
        std::vector<std::vector<double>> neu(offen + 1, std::vector<double>(grenze + 1, 0.0));
        for (int j = 0; j <= offen; ++j) {
            falte(neu[j], bogen[j], ohne);
            if (gleichauf && j >= 1)
                falte(neu[j], bogen[j - 1], mit);
        }
        bogen.swap(neu);
    }
    double wahl = 1.0; // C(tied topics, offen)
    for (int i = 0; i < offen; ++i)
        wahl = wahl * double(v.gleichauf.size() - i) / double(i + 1);
    double chance = 0.0;
    for (double p : bogen[offen])
        chance += p;
    return std::clamp(chance / wahl, 0.0, 1.0);
}

} // namespace Pruefung
