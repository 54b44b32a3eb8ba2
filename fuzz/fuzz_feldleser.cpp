// The field reader, fed any bytes through a buffer or a device that hands them out in odd
// pieces, asked for texts, numbers and look-aheads in an order the input chooses. Every
// answer must be what the rules of the format give for the whole data at once, and the
// reader must never take more from the device than one chunk beyond what it looked at.
#include "Feldleser.h"
#include "Regeln.h"
#include "Windows1252.h"

#include <QBuffer>

#include <array>
#include <cstdint>
#include <functional>

namespace {

constexpr qint64 kStueck = 4096;

struct Ablauf {
    QByteArray daten;
    quint32 zustand;

    // The next of four operations, from a small generator seeded by the input.
    int naechsteOperation()
    {
        zustand = zustand * 1103515245u + 12345u;
        return int((zustand >> 16) & 3u);
    }
};

void pruefeLeser(const Ablauf& vorgabe, QIODevice& geraet, const std::function<qint64()>& ausgegeben)
{
    Ablauf ablauf = vorgabe;
    const QByteArray& d = ablauf.daten;
    Feldleser leser(&geraet);
    qsizetype pos = 0;
    qsizetype gesehen = 0;
    auto erwartet = Regeln::feldAb(d, pos);
    // A look-ahead runs over all the blanks ahead; a few of them are enough.
    int vorschauen = 0;
    // Bounded: every read consumes at least one byte, or reports the end.
    for (qsizetype schritt = 0; schritt <= 2 * d.size() + 8; ++schritt) {
        int operation = ablauf.naechsteOperation();
        if (operation == 2 && ++vorschauen > 32)
            operation = 0;
        switch (operation) {
        case 0: {
            const auto text = leser.leseText();
            SELVAROT_GILT(text.has_value() == erwartet.has_value());
            if (text)
                SELVAROT_GILT(*text == Windows1252::dekodiere(erwartet->bytes));
            break;
        }
        case 1: {
            const auto zahl = leser.leseZahl();
            SELVAROT_GILT(zahl.has_value() == erwartet.has_value());
            if (zahl) {
                SELVAROT_GILT(*zahl == Regeln::zahl(erwartet->bytes));
                SELVAROT_GILT(*zahl == Feldleser::alsZahl(erwartet->bytes));
            }
            break;
        }
        case 2: {
            qsizetype anderes = 0;
            SELVAROT_GILT(leser.nurNochLeerraum() == Regeln::nurLeerraumAb(d, pos, &anderes));
            gesehen = qMax(gesehen, anderes);
            // Looking ahead consumes nothing: the next field is still the same.
            continue;
        }
        case 3:
            SELVAROT_GILT(leser.amEnde() == (pos >= d.size()));
            gesehen = qMax(gesehen, pos);
            continue;
        }
        if (!erwartet) {
            // Past the end every read fails, however often it is asked.
            SELVAROT_GILT(leser.amEnde());
            SELVAROT_GILT(!leser.leseText());
            SELVAROT_GILT(!leser.leseZahl());
            SELVAROT_GILT(leser.nurNochLeerraum());
            break;
        }
        pos = erwartet->ende;
        gesehen = qMax(gesehen, erwartet->gesehen);
        erwartet = Regeln::feldAb(d, pos);
        SELVAROT_GILT(ausgegeben() <= gesehen + kStueck);
    }
    SELVAROT_GILT(ausgegeben() <= qMax(gesehen, pos) + kStueck);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t groesse)
{
    if (groesse < 1)
        return 0;
    // The first byte chooses the device and the order of the reads; the rest is the data.
    const quint8 wahl = bytes[0];
    Ablauf ablauf{QByteArray(reinterpret_cast<const char*>(bytes) + 1, qsizetype(groesse - 1)), wahl};

    if ((wahl & 1) == 0) {
        QBuffer puffer;
        puffer.setData(ablauf.daten);
        puffer.open(QIODevice::ReadOnly);
        pruefeLeser(ablauf, puffer, [&] { return puffer.pos(); });
    } else {
        // Pieces from one byte to a little more than a chunk, so that fields straddle what the
        // device hands out.
        constexpr std::array<qint64, 8> kGroessen = {1, 2, 7, 64, 601, 2048, 4095, 4097};
        std::vector<qint64> stuecke;
        for (int i = 0; i < 4; ++i)
            stuecke.push_back(kGroessen[((wahl >> 1) + 3 * i) & 7]);
        Regeln::StueckweiseGeraet geraet(ablauf.daten, stuecke);
        geraet.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        pruefeLeser(ablauf, geraet, [&] { return geraet.ausgegeben(); });
    }
    return 0;
}
