#pragma once

#include <QByteArray>
#include <QIODevice>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

// What the fuzz targets hold the readers to: the rules of the field format, stated once more
// over the whole data at once, with no chunks and no look-ahead, so that a reader that slips
// at a chunk border or reads too far disagrees with it.
namespace Regeln {

// Aborts, which the fuzzer reports as a finding and the corpus replay as a failure.
[[noreturn]] inline void verletzt(const char* was, const char* datei, int zeile)
{
    std::fprintf(stderr, "%s:%d: does not hold: %s\n", datei, zeile, was);
    std::abort();
}

#define SELVAROT_GILT(bedingung)                                                                                      \
    do {                                                                                                               \
        if (!(bedingung))                                                                                              \
            Regeln::verletzt(#bedingung, __FILE__, __LINE__);                                                          \
    } while (false)

inline bool istLeer(char c) { return c == ' ' || c == '\t'; }
inline bool istTrenner(char c) { return c == ',' || c == '\r' || c == '\n'; }

struct Feld {
    QByteArray bytes;
    // The first byte after the field's separator.
    qsizetype ende = 0;
    // The last byte a reader had to look at to find the field and its separator.
    qsizetype gesehen = 0;
};

// The field that starts at `ab`, or nothing if only blanks are left.
inline std::optional<Feld> feldAb(const QByteArray& d, qsizetype ab)
{
    const qsizetype n = d.size();
    qsizetype i = ab;
    while (i < n && istLeer(d[i]))
        ++i;
    if (i >= n)
        return std::nullopt;
    Feld f;
    if (d[i] == '"') {
        const qsizetype zu = d.indexOf('"', i + 1);
        f.bytes = d.mid(i + 1, zu < 0 ? -1 : zu - i - 1);
        i = zu < 0 ? n : zu + 1;
        while (i < n && !istTrenner(d[i]))
            ++i;
    } else {
        const qsizetype anfang = i;
        while (i < n && !istTrenner(d[i]))
            ++i;
        qsizetype schluss = i;
        while (schluss > anfang && istLeer(d[schluss - 1]))
            --schluss;
        f.bytes = d.mid(anfang, schluss - anfang);
    }
    f.gesehen = i;
    if (i < n && (d[i] == ',' || d[i] == '\n')) {
        ++i;
    } else if (i < n && d[i] == '\r') {
        ++i;
        f.gesehen = i;
        if (i < n && d[i] == '\n')
            ++i;
    }
    f.ende = i;
    return f;
}

inline std::vector<Feld> alleFelder(const QByteArray& d)
{
    std::vector<Feld> felder;
    qsizetype i = 0;
    while (const auto f = feldAb(d, i)) {
        felder.push_back(*f);
        i = f->ende;
    }
    return felder;
}

// A plain decimal, an optional sign first, blanks around; anything else, or a value outside
// 16 bits, is 0.
inline qint16 zahl(const QByteArray& feld)
{
    QByteArray t = feld.trimmed();
    const bool plus = t.startsWith('+');
    if (plus)
        t.remove(0, 1);
    const qsizetype ziffernAb = t.startsWith('-') ? 1 : 0;
    if (t.size() == ziffernAb || (plus && ziffernAb))
        return 0;
    for (qsizetype i = ziffernAb; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return 0;
    }
    long long wert = 0;
    const auto [rest, fehler] = std::from_chars(t.constData(), t.constData() + t.size(), wert);
    if (fehler != std::errc() || rest != t.constData() + t.size() || wert < -32768 || wert > 32767)
        return 0;
    return static_cast<qint16>(wert);
}

inline bool nurLeerraumAb(const QByteArray& d, qsizetype ab, qsizetype* erstesAnderes)
{
    qsizetype i = ab;
    while (i < d.size() && (istLeer(d[i]) || d[i] == '\r' || d[i] == '\n'))
        ++i;
    *erstesAnderes = i;
    return i >= d.size();
}

// A device that hands its data out in pieces of the sizes it was given, as a pipe or a slow
// medium does, and counts what it handed out.
class StueckweiseGeraet : public QIODevice {
public:
    StueckweiseGeraet(const QByteArray& daten, std::vector<qint64> stuecke)
        : m_daten(daten), m_stuecke(std::move(stuecke))
    {
    }
    qint64 ausgegeben() const { return m_pos; }

protected:
    qint64 readData(char* ziel, qint64 hoechstens) override
    {
        qint64 n = qMin(hoechstens, qint64(m_daten.size()) - m_pos);
        if (!m_stuecke.empty())
            n = qMin(n, qMax<qint64>(1, m_stuecke[m_naechstes++ % m_stuecke.size()]));
        std::memcpy(ziel, m_daten.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_daten;
    std::vector<qint64> m_stuecke;
    qint64 m_pos = 0;
    std::size_t m_naechstes = 0;
};

} // namespace Regeln
