// USER.QXV of any bytes. What must hold after every input:
//  - a file that ends before the eleventh grade is refused and changes nothing;
//  - a file that is read gives the texts and grades that the rules of the format give;
//  - what the program then saves reads back as the same record, and saves again as the
//    same bytes, so that no save loses or changes what the next start reads;
//  - a device that takes fewer bytes than the file has makes the save fail.
#include "KnapperPuffer.h"
#include "Regeln.h"
#include "User.h"
#include "Windows1252.h"

#include <QBuffer>

#include <cstdint>

namespace {

bool lies(Benutzerwertung& wertung, const QByteArray& daten)
{
    QBuffer puffer;
    puffer.setData(daten);
    puffer.open(QIODevice::ReadOnly);
    return wertung.lese(puffer);
}

Benutzerwertung bisher()
{
    Benutzerwertung w;
    w.Kopf1 = QStringLiteral("bisher");
    for (int i = 1; i <= Benutzerwertung::AnzahlThemen; ++i)
        w.setzeErgebnis(i, qint16(100 + i));
    return w;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t groesse)
{
    const QByteArray daten(reinterpret_cast<const char*>(bytes), qsizetype(groesse));
    const auto felder = Regeln::alleFelder(daten);

    Benutzerwertung wertung = bisher();
    const bool gelesen = lies(wertung, daten);
    SELVAROT_GILT(gelesen == (felder.size() >= 13));
    if (!gelesen) {
        SELVAROT_GILT(wertung == bisher());
        return 0;
    }
    SELVAROT_GILT(wertung.Kopf1 == Windows1252::dekodiere(felder[0].bytes));
    SELVAROT_GILT(wertung.Kopf2 == Windows1252::dekodiere(felder[1].bytes));
    for (int i = 1; i <= Benutzerwertung::AnzahlThemen; ++i)
        SELVAROT_GILT(wertung.Ergebnis(i) == Regeln::zahl(felder[std::size_t(i) + 1].bytes));

    // Saved and read again: the same record, then the same bytes.
    const QByteArray datei = wertung.alsDatei();
    Benutzerwertung wieder = bisher();
    SELVAROT_GILT(lies(wieder, datei));
    SELVAROT_GILT(wieder == wertung);
    SELVAROT_GILT(wieder.alsDatei() == datei);
    // A file as the program writes it is read to its end and nothing is left over.
    SELVAROT_GILT(Regeln::alleFelder(datei).size() == 13);

    QBuffer genug;
    genug.open(QIODevice::WriteOnly);
    SELVAROT_GILT(User::schreibe(wertung, genug) && genug.data() == datei);
    KnapperPuffer knapp(qint64(groesse % qsizetype(datei.size())));
    knapp.open(QIODevice::WriteOnly);
    SELVAROT_GILT(!User::schreibe(wertung, knapp));
    return 0;
}
