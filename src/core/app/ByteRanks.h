#pragma once
// Sorting 8-bit texts fast: each byte's place in an order (a table of 256
// places), and a text's first eight places packed into one word, so that
// most comparisons of two texts are one comparison of two words.
// Place 0 stands for a byte that the order leaves out, and for the end of a
// text: a packed word ends at the first of either.

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace ByteRanks {

using Table = std::array<quint8, 256>;

inline quint8 place(const Table &table, char byte) { return table[static_cast<unsigned char>(byte)]; }

// The places of `bytes` in the order `less` sorts them in, from 1; bytes
// that neither comes before share a place. Every other byte gets 0.
template <typename Less>
Table ranked(std::vector<unsigned char> bytes, Less less)
{
    std::stable_sort(bytes.begin(), bytes.end(), less);
    Table table{};
    quint8 next = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 0 || less(bytes[i - 1], bytes[i]))
            ++next;
        table[bytes[i]] = next;
    }
    return table;
}

// The places of text[from], text[from + 1], ... from the high byte of the
// word down: eight at the most, up to the text's end or its first byte of
// place 0; the rest of the word is 0. `packed` gets how many were packed.
inline quint64 head(std::string_view text, std::size_t from, const Table &table,
                    std::size_t *packed = nullptr)
{
    quint64 word = 0;
    std::size_t n = 0;
    for (; n < 8 && from + n < text.size(); ++n) {
        const quint8 p = place(table, text[from + n]);
        if (p == 0)
            break;
        word |= quint64(p) << (56 - 8 * n);
    }
    if (packed)
        *packed = n;
    return word;
}

// The places two different heads hold where they first differ.
inline std::pair<quint8, quint8> firstDifference(quint64 a, quint64 b)
{
    const int shift = 56 - (std::countl_zero(a ^ b) & ~7);
    return {quint8(a >> shift), quint8(b >> shift)};
}

// How two texts compare place by place: -1, 0 or 1; kUndecided where a
// byte of place 0 comes before the places decide. A text that begins the
// other comes first when the other goes on with a placed byte.
inline constexpr int kUndecided = 2;
inline int compare(std::string_view x, std::string_view y, const Table &table)
{
    if (x == y)
        return 0;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        const quint8 a = place(table, x[i]);
        const quint8 b = place(table, y[i]);
        if (a == 0 || b == 0)
            return kUndecided;
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (x.size() < y.size())
        return place(table, y[n]) != 0 ? -1 : kUndecided;
    return place(table, x[n]) != 0 ? 1 : kUndecided;
}

// Whether x comes before y by a table that places every byte: equal bytes
// are passed over, the first bytes of different places decide, and a text
// that begins the other comes first.
inline bool lessEveryBytePlaced(std::string_view x, std::string_view y, const Table &table)
{
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i] == y[i])
            continue;
        const quint8 a = place(table, x[i]);
        const quint8 b = place(table, y[i]);
        if (a != b)
            return a < b;
    }
    return x.size() < y.size();
}

} // namespace ByteRanks
