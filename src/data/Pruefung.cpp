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

QString Pruefungsregel::dateiname()
{
    return Programmordner::datei(QStringLiteral("PRUEFUNG.QXV"));
}

namespace Pruefung {

QList<int> verteile(const QList<int>& groessen, int bogen)
{
    QList<int> groesse;
    qint64 alle = 0;
    for (int g : groessen) {
        groesse.append(std::max(g, 0));
        alle += groesse.back();
    }
    QList<int> anzahl(groesse.size(), 0);
    if (bogen <= 0 || alle == 0)
        return anzahl;
    if (alle <= bogen)
        return groesse;

    // Whole parts of bogen * g / alle first, kept as integers so that equal remainders compare equal.
    QList<qint64> rest(groesse.size());
    qint64 vergeben = 0;
    QList<int> reihe;
    for (int t = 0; t < groesse.size(); ++t) {
        const qint64 anteil = qint64(bogen) * groesse[t];
        anzahl[t] = int(anteil / alle);
        rest[t] = anteil % alle;
        vergeben += anzahl[t];
        if (groesse[t] > 0)
            reihe.append(t);
    }
    std::sort(reihe.begin(), reihe.end(), [&](int a, int b) {
        if (rest[a] != rest[b])
            return rest[a] > rest[b];
        if (groesse[a] != groesse[b])
            return groesse[a] > groesse[b];
        return a < b;
    });
    // Fewer questions are left than topics with a remainder, and a topic's whole part stays below
    // its size, so no topic gets more than it holds.
    for (int i = 0; vergeben < bogen && i < reihe.size(); ++i, ++vergeben)
        ++anzahl[reihe[i]];
    return anzahl;
}

QList<Bogenfrage> ziehe(const QList<int>& groessen, int bogen, QRandomGenerator& zufall)
{
    const QList<int> anzahl = verteile(groessen, bogen);
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
    const int grenze = regel.maxFalsch;
    if (grenze < 0)
        return 0.0;
    QList<int> groessen;
    for (const auto& thema : treffer)
        groessen.append(int(thema.size()));
    const QList<int> anzahl = verteile(groessen, regel.fragen);

    // Topics are drawn independently, so the sheet's count of wrong answers is the sum of the
    // topics' counts: convolve, keeping only totals that can still pass.
    std::vector<double> bogen(grenze + 1, 0.0);
    bogen[0] = 1.0;
    for (int t = 0; t < treffer.size(); ++t) {
        if (anzahl[t] == 0)
            continue;
        const std::vector<double> thema = falschVerteilung(treffer[t], anzahl[t], grenze);
        std::vector<double> summe(grenze + 1, 0.0);
        for (int a = 0; a <= grenze; ++a)
            for (int b = 0; b < int(thema.size()) && a + b <= grenze; ++b)
                summe[a + b] += bogen[a] * thema[b];
        bogen.swap(summe);
    }
    double chance = 0.0;
    for (double p : bogen)
        chance += p;
    return std::clamp(chance, 0.0, 1.0);
}

} // namespace Pruefung
