#include "core/app/Crypt.h"

#include <cstdint>

namespace Crypt {

namespace {

constexpr std::uint16_t kStart = 3592;
constexpr std::uint16_t kMultiplier = 61837;
constexpr std::uint16_t kIncrement = 29457;

std::uint16_t advance(std::uint16_t key, std::uint8_t cipher)
{
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(cipher) + key) * kMultiplier
                                      + kIncrement);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

QString Scramble(const QString &plain)
{
    static const char digits[] = "0123456789ABCDEF";
    QString result;
    result.reserve(plain.size() * 2);
    std::uint16_t key = kStart;
    for (QChar c : plain) {
        const auto plainByte = static_cast<std::uint8_t>(c.unicode() & 0xFF);
        const auto cipher = static_cast<std::uint8_t>(plainByte ^ (key >> 8));
        result += QLatin1Char(digits[cipher >> 4]);
        result += QLatin1Char(digits[cipher & 0x0F]);
        key = advance(key, cipher);
    }
    return result;
}

QString Unscramble(const QString &scrambled)
{
    const qsizetype count = scrambled.size() / 2;
    QString result;
    result.reserve(count);
    std::uint16_t key = kStart;
    for (qsizetype i = 0; i < count; ++i) {
        const int high = hexValue(scrambled.at(2 * i));
        const int low = hexValue(scrambled.at(2 * i + 1));
        if (high < 0 || low < 0)
            throw Error("'" + scrambled.mid(2 * i, 2).toStdString()
                        + "' non è un valore esadecimale valido.");
        const auto cipher = static_cast<std::uint8_t>(high * 16 + low);
        result += QChar(static_cast<char16_t>(cipher ^ (key >> 8)));
        key = advance(key, cipher);
    }
    return result;
}

} // namespace Crypt
