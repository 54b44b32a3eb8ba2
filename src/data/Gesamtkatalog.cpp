#include "Gesamtkatalog.h"

#include "Katalog.h"
#include "Verlauf.h"

#include <QHash>

Gesamtkatalog Gesamtkatalog::lade()
{
    Gesamtkatalog gesamt;
    Katalog bank;
    bank.bildeDateiPfad();
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t) {
        if (bank.LadeThema(qint16(t)) != Katalog::Ladeergebnis::Geladen)
            continue;
        gesamt.titel[t] = bank.Thema;
        for (int n = 1; n <= bank.AnzahlFragen; ++n)
            gesamt.fragen[t] << Katalogfrage::ausBank(bank, n);
    }
    return gesamt;
}

Katalogfrage Katalogfrage::ausBank(const Katalog& bank, int n)
{
    Katalogfrage f;
    f.thema = bank.ThemaNr;
    f.nummer = n;
    f.frage = bank.Frage(n);
    for (int k = 1; k <= 4; ++k)
        f.antwort[k] = bank.Antwort(n, k);
    f.loesung = bank.Loesung(n);
    f.kennung = Verlauf::kennung(bank, n);
    return f;
}

QList<int> Gesamtkatalog::groessen() const
{
    QList<int> liste;
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t)
        liste << int(fragen[t].size());
    return liste;
}

int Gesamtkatalog::anzahl() const
{
    int n = 0;
    for (int g : groessen())
        n += g;
    return n;
}

Lernstand Lernstand::berechne(const Gesamtkatalog& katalog, const Pruefungsregel& regel)
{
    // Each question's answers, oldest first, by topic and digest; only the last three count.
    QHash<QByteArray, QList<bool>> antworten;
    Lernstand stand;
    stand.verlaufGelesen = Verlauf::lese([&](const Verlauf::Eintrag& e) {
        QList<bool>& liste = antworten[QByteArray::number(e.thema) + ':' + e.frage];
        liste << e.richtig;
        if (liste.size() > 3)
            liste.removeFirst();
    });

    QList<QList<double>> treffer;
    for (int t = 1; t <= Katalog::AnzahlThemen; ++t) {
        Thema& thema = stand.themen[t];
        thema.titel = katalog.titel[t];
        QList<double> chancen;
        for (const Katalogfrage& f : katalog.fragen[t]) {
            const QList<bool> liste = antworten.value(QByteArray::number(t) + ':' + f.kennung);
            ++thema.fragen;
            if (!liste.isEmpty()) {
                ++thema.beantwortet;
                ++(liste.last() ? thema.richtig : thema.falsch);
            }
            chancen << Pruefung::trefferchance(liste);
        }
        treffer << chancen;
        stand.gesamt.fragen += thema.fragen;
        stand.gesamt.beantwortet += thema.beantwortet;
        stand.gesamt.richtig += thema.richtig;
        stand.gesamt.falsch += thema.falsch;
    }
    stand.bestehenschance = stand.gesamt.fragen > 0 ? Pruefung::bestehenschance(treffer, regel) : 0;
    return stand;
}
