#include "core/app/Text.h"

#include <algorithm>
#include <tuple>

namespace Text {

QStringView trimmed(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.sliced(first, last - first);
}

QString trim(const QString &text)
{
    const QStringView kept = trimmed(text);
    return kept.size() == text.size() ? text : kept.toString();
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
    // Runs of identical characters are skipped at once; only where the
    // texts differ are the letters folded.
    const char16_t *pa = reinterpret_cast<const char16_t *>(a.constData());
    const char16_t *pb = reinterpret_cast<const char16_t *>(b.constData());
    const char16_t *ea = pa + a.size();
    const char16_t *eb = pb + b.size();
    for (;;) {
        std::tie(pa, pb) = std::mismatch(pa, ea, pb, eb);
        if (pa == ea || pb == eb)
            return pa == ea && pb != eb;
        const char16_t x = upperAZ(*pa), y = upperAZ(*pb);
        if (x != y)
            return x < y;
        ++pa;
        ++pb;
    }
}

} // namespace Text
