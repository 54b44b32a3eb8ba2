#include "Windows1252.h"

#include <array>

namespace {

// 0x80 to 0x9F; every other byte is its own Latin-1 character.
constexpr std::array<char16_t, 32> k80bis9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char kodiereZeichen(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < k80bis9F.size(); ++i) {
        if (k80bis9F[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

namespace Windows1252 {

QString dekodiere(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* ziel = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *ziel++ = QChar(u >= 0x80 && u <= 0x9F ? k80bis9F[u - 0x80] : char16_t(u));
    }
    return text;
}

QByteArray kodiere(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text)
        bytes.append(kodiereZeichen(c.unicode()));
    return bytes;
}

} // namespace Windows1252
