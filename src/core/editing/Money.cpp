#include "core/editing/Money.h"

#include "core/app/Text.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

// Reading and writing go through std::from_chars and std::to_chars, which
// ignore the C library's locale: under an Italian LC_NUMERIC strtod would stop
// at the point and printf would write a comma.

namespace Money {

namespace {

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// A decimal number: blanks around, an optional sign, digits, optionally a
// comma and more digits, optionally an exponent. At least one digit or the
// comma must be present.
std::optional<double> readAmount(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    std::string c; // the number in C form, without a plus sign
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        if (t[i] == QLatin1Char('-'))
            c += '-';
        ++i;
    }
    bool mantissa = false;
    bool digits = false;
    while (i < t.size() && isAsciiDigit(t[i])) {
        c += char(t[i++].unicode());
        mantissa = digits = true;
    }
    if (i < t.size() && t[i] == QLatin1Char(',')) {
        c += '.';
        ++i;
        mantissa = true;
        while (i < t.size() && isAsciiDigit(t[i])) {
            c += char(t[i++].unicode());
            digits = true;
        }
    }
    if (!mantissa)
        return std::nullopt;
    if (!digits)
        c += '0'; // a lone comma reads as 0
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        c += 'e';
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
            if (t[i] == QLatin1Char('-'))
                c += '-';
            ++i;
        }
        bool expDigits = false;
        while (i < t.size() && isAsciiDigit(t[i])) {
            c += char(t[i++].unicode());
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double v = 0;
    const char *end = c.data() + c.size();
    const auto [ptr, ec] = std::from_chars(c.data(), end, v, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return std::nullopt; // out of range: beyond what a double holds
    return v;
}

// Rounds to cents, halves away from zero: |v| x 100 + 0.5 in extended
// precision, cut toward zero, the sign put back. A negative amount therefore
// keeps its cents ("-0,49" stays -0.49) instead of creeping toward zero.
double roundToCents(double v)
{
    const long double cents = std::trunc(std::fabs(static_cast<long double>(v)) * 100.0L + 0.5L);
    if (cents == 0)
        return 0.0; // never "-0"
    const double r = static_cast<double>(cents / 100.0L);
    return v < 0 ? -r : r;
}

// The amount with up to 15 significant digits, trailing zeros dropped, ","
// before the decimals and never an exponent: every integer digit is written,
// also at a million billion and beyond ("1000000000000000"). The digits are
// rounded to nearest, or cut toward zero when rounding would carry the amount
// past the largest double.
QString writeAmount(double r, bool towardZero)
{
    // d.dddddddddddddde±x: the significant digits and the exponent (seventeen
    // digits when cutting: enough to cut the fifteen from).
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, r,
                                         std::chars_format::scientific, towardZero ? 16 : 14);
    if (ec != std::errc())
        return QString();
    const std::string_view text(buffer, end - buffer);
    const std::size_t e = text.find('e');
    const bool negative = text.front() == '-';
    std::string digits;
    for (char ch : text.substr(0, e))
        if (ch >= '0' && ch <= '9')
            digits += ch;
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
    if (digits.size() > 15)
        digits.resize(15);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // The decimal point goes after digit number exponent + 1.
    std::string integer, fraction;
    if (exponent >= 0) {
        const std::size_t point = std::size_t(exponent) + 1;
        if (digits.size() <= point) {
            integer = digits + std::string(point - digits.size(), '0');
        } else {
            integer = digits.substr(0, point);
            fraction = digits.substr(point);
        }
    } else {
        integer = "0";
        fraction = std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    std::string result = negative ? "-" : "";
    result += integer;
    if (!fraction.empty())
        result += ',' + fraction;
    return QString::fromLatin1(result.data(), qsizetype(result.size()));
}

} // namespace

QString normalise(const QString &text)
{
    if (Text::trim(text).isEmpty())
        return zero();
    const std::optional<double> v = readAmount(text);
    if (!v)
        return zero();
    const double r = roundToCents(*v);
    if (!std::isfinite(r))
        return zero();
    QString result = writeAmount(r, false);
    if (!readAmount(result)) // rounded up past the largest double
        result = writeAmount(r, true);
    if (result.isEmpty())
        return zero();
    if (!result.contains(QLatin1Char(',')))
        result += QStringLiteral(",00");
    if (result.size() >= 2 && result.at(result.size() - 2) == QLatin1Char(','))
        result += QLatin1Char('0');
    return result;
}

std::optional<qint64> cents(const QString &text)
{
    if (Text::trim(text).isEmpty() || !readAmount(text))
        return std::nullopt;
    // The normalised text reads -?[0-9]+,[0-9]{2}.
    const QString n = normalise(text);
    const bool negative = n.startsWith(QLatin1Char('-'));
    qint64 value = 0;
    for (qsizetype i = negative ? 1 : 0; i < n.size(); ++i) {
        const QChar c = n.at(i);
        if (c == QLatin1Char(','))
            continue;
        if (qMulOverflow(value, qint64(10), &value)
            || qAddOverflow(value, qint64(c.unicode() - '0'), &value))
            return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<qint64> normalCents(std::string_view text)
{
    // Up to fifteen digits in all: the normaliser writes such an amount back
    // digit for digit, so reading the digits gives what it would give.
    constexpr std::size_t kMostIntegerDigits = 13;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const std::size_t integerDigits = text.size() - 3;
    if (text.size() < 4 || integerDigits > kMostIntegerDigits || text[integerDigits] != ',')
        return std::nullopt;
    qint64 value = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == integerDigits)
            continue;
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

QString fromCents(qint64 value)
{
    const bool negative = value < 0;
    // Counted as unsigned so that the smallest value keeps its digits.
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    QString text = QString::number(magnitude / 100) + QLatin1Char(',')
                   + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}

bool readable(const QString &text)
{
    if (Text::trim(text).isEmpty())
        return true;
    const std::optional<double> v = readAmount(text);
    return v && std::isfinite(roundToCents(*v));
}

bool keyAllowed(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    if (event->matches(QKeySequence::SelectAll))
        return true;
    return typesCharacter(event);
}

bool typesCharacter(const QKeyEvent *event)
{
    const QString typed = event->text();
    return typed.size() == 1 && (typed == QLatin1String(",") || isAsciiDigit(typed.at(0)));
}

} // namespace Money
