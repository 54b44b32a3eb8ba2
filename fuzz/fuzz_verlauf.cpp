// VERLAUF.QXV of any bytes. What must hold after every input:
//  - exactly the lines that the format allows are read, each as the line alone says, in the
//    order of the file, however the device hands out its bytes;
//  - every line read, written again as the program writes it, reads back as the same answer.
#include "Regeln.h"
#include "Verlauf.h"

#include <QBuffer>

#include <cstdint>

namespace {

QList<Verlauf::Eintrag> lies(QIODevice& geraet)
{
    QList<Verlauf::Eintrag> liste;
    geraet.open(QIODevice::ReadOnly);
    Verlauf::lese(geraet, [&](const Verlauf::Eintrag& e) { liste << e; });
    return liste;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t groesse)
{
    const QByteArray daten(reinterpret_cast<const char*>(bytes), qsizetype(groesse));

    // The rule, line by line over the whole data: a byte-order mark in front is no part of the
    // first line, a line ends at CR or LF, and a line longer than the bound is skipped.
    QList<Verlauf::Eintrag> erwartet;
    QByteArray ohneMarke = daten;
    if (ohneMarke.startsWith("\xEF\xBB\xBF"))
        ohneMarke.remove(0, 3);
    const QList<QByteArray> zeilen = ohneMarke.replace('\r', '\n').split('\n');
    for (const QByteArray& zeile : zeilen) {
        if (zeile.size() > Verlauf::ZeileHoechstens)
            continue;
        if (const auto e = Verlauf::ausZeile(zeile))
            erwartet << *e;
    }

    QBuffer puffer;
    puffer.setData(daten);
    SELVAROT_GILT(lies(puffer) == erwartet);
    std::vector<qint64> stuecke;
    for (std::size_t i = 0; i < std::min<std::size_t>(groesse, 4); ++i)
        stuecke.push_back(qint64(bytes[i]) * 7 + 1);
    Regeln::StueckweiseGeraet stueckweise(daten, stuecke);
    SELVAROT_GILT(lies(stueckweise) == erwartet);

    for (const Verlauf::Eintrag& e : erwartet) {
        const QByteArray zeile = Verlauf::alsZeile(e);
        SELVAROT_GILT(zeile.endsWith("\r\n") && zeile.count('\n') == 1);
        const auto wieder = Verlauf::ausZeile(QByteArrayView(zeile).chopped(2));
        SELVAROT_GILT(wieder && *wieder == e);
    }
    return 0;
}
