#include "core/cards/Windows1252.h"

#include <QStringList>

#include <array>

namespace Windows1252 {

namespace {

// 0x80-0x9F; the undefined bytes map to the code of the byte itself.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of a character the code page holds, or -1.
int encodeOne(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return int(0x80 + i);
    return -1;
}

// The nearest letter the code page holds for a letter it does not: the
// letter without its accents (its canonical decomposition, when the base is
// in the code page and the rest are accents), or one of the letters written
// with a stroke or a bar, which do not decompose. Anything else (other
// scripts, symbols, pictures) has none: -1.
int nearestOne(char32_t c)
{
    switch (c) {
    case 0x0110: return 'D'; // D with stroke
    case 0x0111: return 'd';
    case 0x0126: return 'H'; // H with stroke
    case 0x0127: return 'h';
    case 0x0131: return 'i'; // dotless i
    case 0x013F: return 'L'; // L with middle dot
    case 0x0140: return 'l';
    case 0x0141: return 'L'; // L with stroke
    case 0x0142: return 'l';
    case 0x0166: return 'T'; // T with stroke
    case 0x0167: return 't';
    case 0x0180: return 'b'; // b with stroke
    case 0x01E4: return 'G'; // G with stroke
    case 0x01E5: return 'g';
    default:
        break;
    }
    if (!QChar::isLetter(c))
        return -1;
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    const QList<uint> parts = decomposed.toUcs4();
    if (parts.size() < 2)
        return -1;
    for (qsizetype i = 1; i < parts.size(); ++i)
        if (QChar::category(parts.at(i)) != QChar::Mark_NonSpacing)
            return -1;
    const int base = encodeOne(parts.front());
    return base >= 0 && QChar::isLetter(parts.front()) ? base : -1;
}

// Calls `each` with every character of the text (NFC, so that a letter typed
// with a separate accent is one character) and what the code page holds for
// it: its own byte, its nearest letter, or '?'.
template<typename Each>
void bestFit(const QString &text, Each each)
{
    const QString composed = text.normalized(QString::NormalizationForm_C);
    for (const uint c : composed.toUcs4()) {
        int b = encodeOne(c);
        const bool own = b >= 0;
        if (!own)
            b = nearestOne(c);
        each(c, own, char(b >= 0 ? b : '?'));
    }
}

} // namespace

qsizetype encodeHeld(QStringView text, char *out, qsizetype room)
{
    const qsizetype size = text.size();
    const QChar *chars = text.data();
    qsizetype i = 0;
    for (; i < size && i < room; ++i) {
        const char16_t c = chars[i].unicode();
        // Latin-1 outside the block of 0x80-0x9F is its own byte.
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out[i] = char(c);
            continue;
        }
        const int b = encodeOne(c);
        if (b < 0)
            return -1;
        out[i] = char(b);
    }
    // The rest of the text is not stored, but one character it does not
    // hold sends the whole text to the nearest letters.
    for (qsizetype j = i; j < size; ++j)
        if (encodeOne(chars[j].unicode()) < 0)
            return -1;
    return i;
}

namespace {

bool holds(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // Latin-1 outside the block of 0x80-0x9F, the usual case, is held.
        if ((u >= 0x80 && u < 0xA0) || u > 0xFF) {
            if (encodeOne(u) < 0)
                return false;
        }
    }
    return true;
}

} // namespace

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    if (holds(text)) {
        for (const QChar c : text)
            out.append(char(encodeOne(c.unicode())));
        return out;
    }
    bestFit(text, [&](char32_t, bool, char byte) { out.append(byte); });
    return out;
}

bool representable(const QString &text) { return holds(text); }

QList<Replacement> replacements(const QString &text)
{
    QList<Replacement> found;
    if (holds(text))
        return found;
    bestFit(text, [&](char32_t c, bool own, char byte) {
        if (own)
            return;
        const QString from = QString::fromUcs4(&c, 1);
        for (const Replacement &r : found)
            if (r.from == from)
                return;
        found.append({from, decode(&byte, 1)});
    });
    return found;
}

QString describe(const QList<Replacement> &list)
{
    if (list.isEmpty())
        return QString();
    QStringList parts;
    for (const Replacement &r : list)
        parts << r.from + QStringLiteral(" \u2192 ") + r.to;
    return parts.join(QStringLiteral(", "));
}

void decodeInto(const char *bytes, qsizetype length, QChar *out)
{
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(b >= 0x80 && b <= 0x9F ? kHigh[b - 0x80] : char16_t(b));
    }
}

QString decode(const char *bytes, qsizetype length)
{
    QString out(length, Qt::Uninitialized);
    decodeInto(bytes, length, out.data());
    return out;
}

QString decode(const QByteArray &bytes) { return decode(bytes.constData(), bytes.size()); }

} // namespace Windows1252
