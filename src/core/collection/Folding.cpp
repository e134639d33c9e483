#include "core/collection/Folding.h"

#include "core/cards/Windows1252.h"

#include <QtGlobal>
#include <cstring>

namespace Folding {

const std::array<char, 256> &table()
{
    static const std::array<char, 256> folded = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            if (b < 32) {
                t[b] = ' ';
                continue;
            }
            const char byte = char(b);
            QString c = Windows1252::decode(&byte, 1);
            const QString decomposed = c.at(0).decomposition();
            if (!decomposed.isEmpty() && c.at(0).decompositionTag() == QChar::Canonical)
                c = decomposed.left(1);
            c = c.toLower();
            const QByteArray back = Windows1252::encode(c);
            t[b] = back.size() == 1 && back.at(0) != '?' ? back.at(0) : byte;
            if (c.at(0) == QLatin1Char('?'))
                t[b] = '?';
        }
        return t;
    }();
    return folded;
}

// Runs of eight bytes that folding leaves as they are (blanks, digits, lower
// case, punctuation) are copied whole.
char *into(const char *from, const char *to, char *out, const std::array<char, 256> &table)
{
    constexpr quint64 kEach = 0x0101010101010101ULL;
    constexpr quint64 kHigh = 0x80 * kEach;
    for (; to - from >= 8; from += 8, out += 8) {
        quint64 w;
        std::memcpy(&w, from, 8);
        // With no byte past 0x7F no sum below carries into the next byte.
        const bool plain = (w & kHigh) == 0
                           && ((w + 0x60 * kEach) & kHigh) == kHigh         // all >= 0x20
                           && ((w + 0x3F * kEach) & ~(w + 0x25 * kEach) & kHigh) == 0; // no A-Z
        if (plain) {
            std::memcpy(out, from, 8);
        } else {
            for (int i = 0; i < 8; ++i)
                out[i] = table[static_cast<unsigned char>(from[i])];
        }
    }
    for (; from != to; ++from)
        *out++ = table[static_cast<unsigned char>(*from)];
    return out;
}

QByteArray fold(const QString &text)
{
    QByteArray bytes = Windows1252::encode(text);
    const auto &t = table();
    for (char &c : bytes)
        c = t[static_cast<unsigned char>(c)];
    return bytes;
}

} // namespace Folding
