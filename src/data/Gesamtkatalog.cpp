#include "Gesamtkatalog.h"

#include "Katalog.h"
#include "Verlauf.h"

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
