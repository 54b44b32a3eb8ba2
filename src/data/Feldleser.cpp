#include "Feldleser.h"

#include "Windows1252.h"

#include <QIODevice>

namespace {

constexpr qsizetype kStueck = 4096;

bool istLeer(int c) { return c == ' ' || c == '\t'; }
bool istZeilenende(int c) { return c == '\r' || c == '\n'; }
bool istTrenner(int c) { return c == ',' || istZeilenende(c); }

} // namespace

Feldleser::Feldleser(QIODevice* geraet) : m_geraet(geraet) {}

bool Feldleser::fuelleBis(qsizetype index)
{
    while (index >= m_puffer.size()) {
        if (m_pos >= kStueck) {
            // Drop what has been read, so that a long file never piles up in memory.
            m_puffer.remove(0, m_pos);
            index -= m_pos;
            m_pos = 0;
            continue;
        }
        const QByteArray stueck = m_geraet->read(kStueck);
        if (stueck.isEmpty())
            return false;
        m_puffer.append(stueck);
    }
    return true;
}

// The byte at m_pos + abstand, or -1 past the end of the data.
int Feldleser::zeichen(qsizetype abstand)
{
    if (m_erschoepft || !fuelleBis(m_pos + abstand))
        return -1;
    return static_cast<unsigned char>(m_puffer.at(m_pos + abstand));
}

bool Feldleser::amEnde() { return zeichen() < 0; }

bool Feldleser::nurNochLeerraum()
{
    // Blank lines beyond the bound are taken for the end, so the look-ahead stays small.
    for (qsizetype i = 0; i <= Grenze; ++i) {
        const int c = zeichen(i);
        if (c < 0)
            return true;
        if (!istLeer(c) && !istZeilenende(c))
            return false;
    }
    return true;
}

std::optional<QByteArray> Feldleser::leseFeld()
{
    for (qsizetype leer = 0; istLeer(zeichen()); ++leer) {
        if (leer == Grenze) {
            m_erschoepft = true;
            return std::nullopt;
        }
        ++m_pos;
    }
    int c = zeichen();
    m_zeilenende = true;
    if (c < 0)
        return std::nullopt;

    QByteArray feld;
    if (c == '"') {
        ++m_pos;
        while ((c = zeichen()) >= 0 && c != '"') {
            if (feld.size() == Grenze) {
                m_erschoepft = true;
                return feld;
            }
            feld.append(char(c));
            ++m_pos;
        }
        if (c == '"')
            ++m_pos;
        for (qsizetype rest = 0; (c = zeichen()) >= 0 && !istTrenner(c); ++rest) {
            if (rest == Grenze) {
                m_erschoepft = true;
                return feld;
            }
            ++m_pos;
        }
    } else {
        while ((c = zeichen()) >= 0 && !istTrenner(c)) {
            if (feld.size() == Grenze) {
                m_erschoepft = true;
                return feld;
            }
            feld.append(char(c));
            ++m_pos;
        }
        while (!feld.isEmpty() && istLeer(feld.back()))
            feld.chop(1);
    }

    // Consume the separator: a comma, or one line end of any of the three kinds.
    m_zeilenende = c != ',';
    if (c == ',' || c == '\n') {
        ++m_pos;
    } else if (c == '\r') {
        ++m_pos;
        if (zeichen() == '\n')
            ++m_pos;
    }
    return feld;
}

std::optional<QString> Feldleser::leseText()
{
    const auto feld = leseFeld();
    if (!feld)
        return std::nullopt;
    return Windows1252::dekodiere(*feld);
}

std::optional<qint16> Feldleser::leseZahl()
{
    const auto feld = leseFeld();
    if (!feld)
        return std::nullopt;
    return alsZahl(*feld);
}

qint16 Feldleser::alsZahl(const QByteArray& feld)
{
    const QByteArray t = feld.trimmed();
    qsizetype i = 0;
    bool negativ = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negativ = t[i] == '-';
        ++i;
    }
    if (i == t.size())
        return 0;
    long wert = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return 0;
        wert = wert * 10 + (t[i] - '0');
        if (wert > 32768)
            return 0;
    }
    if (negativ)
        wert = -wert;
    if (wert > 32767)
        return 0;
    return static_cast<qint16>(wert);
}
