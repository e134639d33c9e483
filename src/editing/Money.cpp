#include "editing/Money.h"

#include "app/Text.h"

#include <QKeyEvent>
#include <cmath>
#include <cstdio>
#include <optional>

namespace Money {

namespace {

// A decimal number: blanks around, an optional sign, digits, optionally a
// comma and more digits, optionally an exponent. At least one digit or the
// comma must be present.
std::optional<double> readAmount(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    QByteArray c; // the number in C form
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        c += char(t[i++].unicode());
    bool mantissa = false;
    bool digits = false;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        c += char(t[i++].unicode());
        mantissa = digits = true;
    }
    if (i < t.size() && t[i] == QLatin1Char(',')) {
        c += '.';
        ++i;
        mantissa = true;
        while (i < t.size() && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
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
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            c += char(t[i++].unicode());
        bool expDigits = false;
        while (i < t.size() && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
            c += char(t[i++].unicode());
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    char *end = nullptr;
    const double v = std::strtod(c.constData(), &end);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

QString normalise(const QString &text)
{
    if (Text::trim(text).isEmpty())
        return zero();
    const std::optional<double> v = readAmount(text);
    if (!v)
        return zero();
    // Cents: v x 100 + 0.5 in extended precision, cut toward zero.
    const long double cents = std::trunc(static_cast<long double>(*v) * 100.0L + 0.5L);
    const double r = static_cast<double>(cents / 100.0L);
    if (!std::isfinite(r))
        return zero();
    char buffer[512];
    if (std::fabs(r) < 1e15)
        std::snprintf(buffer, sizeof buffer, "%.15g", r);
    else
        std::snprintf(buffer, sizeof buffer, "%.2f", r);
    QString result = QString::fromLatin1(buffer).replace(QLatin1Char('.'), QLatin1Char(','));
    if (result == QLatin1String("-0"))
        result = QStringLiteral("0");
    if (!result.contains(QLatin1Char(',')))
        result += QStringLiteral(",00");
    if (result.size() >= 2 && result.at(result.size() - 2) == QLatin1Char(','))
        result += QLatin1Char('0');
    return result;
}

bool keyAllowed(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    return typesCharacter(event);
}

bool typesCharacter(const QKeyEvent *event)
{
    const QString typed = event->text();
    return typed.size() == 1
           && (typed == QLatin1String(",")
               || (typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9')));
}

} // namespace Money
