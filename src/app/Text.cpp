#include "app/Text.h"

#include <algorithm>

namespace Text {

QString trim(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

QString foldAZ(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() - u'A' + u'a'));
    return folded;
}

namespace {
char16_t upperAZ(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - u'a' + u'A') : u;
}
} // namespace

bool lessFoldingAZ(const QString &a, const QString &b)
{
    return std::lexicographical_compare(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                                        [](QChar x, QChar y) { return upperAZ(x) < upperAZ(y); });
}

} // namespace Text
