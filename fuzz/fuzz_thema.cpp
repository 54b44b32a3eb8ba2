// A topic file of any bytes, loaded into the program's one question bank and read by the
// header-only pass of the topic list. What must hold after every input:
//  - at most 30 questions, and exactly the complete records that the rules of the format
//    find in the data, with their texts as the rules give them;
//  - the title of the header-only pass is the title of the full load, read from the header;
//  - loading the same data again, into the bank or into a fresh one, gives the same bank;
//  - questions above the new count keep what the input before left there.
#include "Katalog.h"
#include "Regeln.h"
#include "Windows1252.h"

#include <QBuffer>

#include <cstdint>

namespace {

constexpr qint64 kStueck = 4096;

struct Erwartet {
    QString titel;
    bool titelGelesen = false;
    qsizetype titelEnde = 0;
    int anzahl = 0;
    std::array<QString, Katalog::MaxFragen + 1> frage;
    std::array<std::array<QString, 5>, Katalog::MaxFragen + 1> antwort;
    std::array<qint16, Katalog::MaxFragen + 1> loesung{};
};

QString text(const QByteArray& feld) { return Windows1252::dekodiere(feld).replace(QLatin1Char('*'), QLatin1Char('"')); }

Erwartet nachDenRegeln(const QByteArray& d)
{
    Erwartet e;
    const auto felder = Regeln::alleFelder(d);
    e.titelGelesen = !felder.empty();
    if (e.titelGelesen) {
        e.titel = Windows1252::dekodiere(felder[0].bytes);
        e.titelEnde = felder[0].gesehen;
    }
    // Three fields of header, then six a record while anything but blank lines is left.
    std::size_t i = 3;
    while (e.anzahl < Katalog::MaxFragen && i < felder.size()) {
        qsizetype anderes = 0;
        if (Regeln::nurLeerraumAb(d, felder[i - 1].ende, &anderes))
            break;
        if (i + 6 > felder.size())
            break;
        ++e.anzahl;
        e.frage[e.anzahl] = text(felder[i].bytes);
        for (int k = 1; k <= 4; ++k)
            e.antwort[e.anzahl][k] = text(felder[i + k].bytes).replace(QStringLiteral("##"), QStringLiteral("\r\n"));
        e.loesung[e.anzahl] = Regeln::zahl(felder[i + 5].bytes);
        i += 6;
    }
    return e;
}

bool gleich(const Katalog& a, const Katalog& b, int von, int bis)
{
    for (int n = von; n <= bis; ++n) {
        if (a.Frage(n) != b.Frage(n) || a.Loesung(n) != b.Loesung(n))
            return false;
        for (int k = 1; k <= 4; ++k) {
            if (a.Antwort(n, k) != b.Antwort(n, k))
                return false;
        }
    }
    return true;
}

bool gleich(const Katalog& a, const Katalog& b)
{
    return a.Thema == b.Thema && a.AnzahlFragen == b.AnzahlFragen && a.ThemaNr == b.ThemaNr &&
           gleich(a, b, 1, Katalog::MaxFragen);
}

void lade(Katalog& bank, const QByteArray& daten, qint16 nr)
{
    QBuffer puffer;
    puffer.setData(daten);
    puffer.open(QIODevice::ReadOnly);
    bank.LadeThema(puffer, nr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t groesse)
{
    const QByteArray daten(reinterpret_cast<const char*>(bytes), qsizetype(groesse));
    const qint16 nr = qint16(1 + groesse % Katalog::AnzahlThemen);
    const Erwartet e = nachDenRegeln(daten);

    // Whatever the input before left in the bank.
    const Katalog vorher = katalog();
    lade(katalog(), daten, nr);
    const Katalog& bank = katalog();

    SELVAROT_GILT(bank.AnzahlFragen >= 0 && bank.AnzahlFragen <= Katalog::MaxFragen);
    SELVAROT_GILT(bank.AnzahlFragen == e.anzahl);
    SELVAROT_GILT(bank.ThemaNr == nr);
    SELVAROT_GILT(bank.Thema == e.titel);
    for (int n = 1; n <= e.anzahl; ++n) {
        SELVAROT_GILT(bank.Frage(n) == e.frage[n]);
        SELVAROT_GILT(bank.Loesung(n) == e.loesung[n]);
        for (int k = 1; k <= 4; ++k)
            SELVAROT_GILT(bank.Antwort(n, k) == e.antwort[n][k]);
    }
    SELVAROT_GILT(gleich(bank, vorher, bank.AnzahlFragen + 1, Katalog::MaxFragen));
    SELVAROT_GILT(bank.Frage(0).isEmpty() && bank.Frage(Katalog::MaxFragen + 1).isEmpty());

    // Again into the same bank, and into a fresh one: the same questions.
    const Katalog einmal = bank;
    lade(katalog(), daten, nr);
    SELVAROT_GILT(gleich(katalog(), einmal));
    Katalog frisch;
    lade(frisch, daten, nr);
    SELVAROT_GILT(frisch.Thema == bank.Thema && frisch.AnzahlFragen == bank.AnzahlFragen);
    SELVAROT_GILT(gleich(frisch, bank, 1, bank.AnzahlFragen));
    SELVAROT_GILT(frisch.Frage(bank.AnzahlFragen + 1).isEmpty());

    // The topic list reads the header's first field and not a chunk further.
    QBuffer puffer;
    puffer.setData(daten);
    puffer.open(QIODevice::ReadOnly);
    bool gelesen = !e.titelGelesen;
    const QString titel = Katalog::leseTitel(puffer, &gelesen);
    SELVAROT_GILT(gelesen == e.titelGelesen);
    SELVAROT_GILT(titel == e.titel);
    SELVAROT_GILT(puffer.pos() <= e.titelEnde + kStueck);
    return 0;
}
