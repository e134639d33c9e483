#include "core/editing/WrittenAmount.h"

#include "core/editing/Money.h"

#include <QList>
#include <QStringView>

namespace Money {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x00A0) || c == QChar(0x202F);
}

QString trimBlanks(const QString &text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// The text without a currency sign or name at either end.
QString withoutCurrency(QString t)
{
    static const QString names[] = {QStringLiteral("€"), QStringLiteral("EUR"), QStringLiteral("EURO")};
    for (bool again = true; again;) {
        again = false;
        t = trimBlanks(t);
        for (const QString &name : names) {
            if (t.startsWith(name, Qt::CaseInsensitive)
                && (name.size() == 1 || t.size() == name.size() || !t[name.size()].isLetter())) {
                t.remove(0, name.size());
                again = true;
            } else if (t.endsWith(name, Qt::CaseInsensitive)
                       && (name.size() == 1 || t.size() == name.size() || !t[t.size() - name.size() - 1].isLetter())) {
                t.chop(name.size());
                again = true;
            }
        }
    }
    return t;
}

bool digitsOnly(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

// Digits grouped by `mark` in threes after a first group of one to three
// digits ("1.234.567"), written without the marks; empty when not so.
QString ungroup(QStringView s, QChar mark)
{
    const QList<QStringView> groups = s.split(mark);
    QString out;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView g = groups[i];
        if (!digitsOnly(g) || (i == 0 ? g.size() > 3 : g.size() != 3))
            return QString();
        out += g;
    }
    return out;
}

} // namespace

QString fromWritten(const QString &text)
{
    if (readable(text))
        return text;
    QString t = withoutCurrency(text);
    bool negative = false;
    if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        negative = true;
        t = withoutCurrency(t.mid(1, t.size() - 2));
    }
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QChar(0x2212)) || t.startsWith(QLatin1Char('+'))) {
        negative = negative != (t[0] != QLatin1Char('+'));
        t = withoutCurrency(t.mid(1));
    }
    // Blanks between digit groups ("1 234,50") group thousands as well.
    QString body;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (isBlank(t[i])) {
            if (i + 3 < t.size() + 0 && digitsOnly(QStringView(t).mid(i + 1, 3))
                && (i + 4 == t.size() || !t[i + 4].isDigit()) && i > 0 && t[i - 1].isDigit())
                continue;
            return text;
        }
        body += t[i];
    }
    if (body.isEmpty())
        return text;

    const qsizetype lastPoint = body.lastIndexOf(QLatin1Char('.'));
    const qsizetype lastComma = body.lastIndexOf(QLatin1Char(','));
    QString integer, fraction;
    if (lastPoint >= 0 && lastComma >= 0) {
        // Both: the last one is the decimal mark, the other groups thousands.
        const qsizetype decimal = std::max(lastPoint, lastComma);
        const QChar group = decimal == lastPoint ? QLatin1Char(',') : QLatin1Char('.');
        integer = ungroup(QStringView(body).left(decimal), group);
        fraction = body.mid(decimal + 1);
        if (integer.isEmpty() || !(fraction.isEmpty() || digitsOnly(fraction)))
            return text;
    } else if (lastPoint >= 0 || lastComma >= 0) {
        const QChar mark = lastPoint >= 0 ? QLatin1Char('.') : QLatin1Char(',');
        const qsizetype at = std::max(lastPoint, lastComma);
        if (body.count(mark) > 1) {
            integer = ungroup(body, mark);
            if (integer.isEmpty())
                return text;
        } else {
            const QStringView before = QStringView(body).left(at);
            const QStringView after = QStringView(body).mid(at + 1);
            if (!(before.isEmpty() || digitsOnly(before)) || !(after.isEmpty() || digitsOnly(after))
                || (before.isEmpty() && after.isEmpty()))
                return text;
            const bool thousands = mark == QLatin1Char('.') && after.size() == 3 && !before.isEmpty()
                                   && before.size() <= 3 && before != QLatin1String("0");
            if (thousands) {
                integer = before.toString() + after.toString();
            } else {
                integer = before.isEmpty() ? QStringLiteral("0") : before.toString();
                fraction = after.toString();
            }
        }
    } else {
        if (!digitsOnly(body))
            return text;
        integer = body;
    }
    QString result = negative ? QStringLiteral("-") : QString();
    result += integer;
    if (!fraction.isEmpty())
        result += QLatin1Char(',') + fraction;
    return readable(result) ? result : text;
}

} // namespace Money
