#include "PdfOutline.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace PdfOutline {

namespace {

// A PDF text string in UTF-16BE, written in hex so no character needs escaping.
QByteArray textString(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

// The dictionary of object `number` (its last version in the file).
QByteArray objectBody(const QByteArray &pdf, int number)
{
    const QRegularExpression start(u"(^|[\\r\\n])%1 0 obj"_s.arg(number));
    qsizetype at = -1;
    for (auto it = start.globalMatch(QString::fromLatin1(pdf)); it.hasNext();)
        at = it.next().capturedEnd();
    if (at < 0)
        return {};
    const qsizetype end = pdf.indexOf("endobj", at);
    return end < 0 ? QByteArray() : pdf.mid(at, end - at).trimmed();
}

int reference(const QByteArray &dictionary, const char *key)
{
    const QRegularExpression re(QString::fromLatin1(key) + u"\\s+(\\d+)\\s+0\\s+R"_s);
    const auto m = re.match(QString::fromLatin1(dictionary));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int number(const QByteArray &text, const char *key)
{
    const QRegularExpression re(QString::fromLatin1(key) + u"\\s+(\\d+)"_s);
    int value = -1;
    for (auto it = re.globalMatch(QString::fromLatin1(text)); it.hasNext();)
        value = it.next().captured(1).toInt();
    return value;
}

} // namespace

QString add(const QString &pdfPath, const QList<Entry> &entries)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return u"cannot read "_s + pdfPath;
    const QByteArray pdf = file.readAll();
    file.close();

    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    if (trailerAt < 0)
        return u"no trailer"_s;
    const QByteArray trailer = pdf.mid(trailerAt);
    const int size = number(trailer, "/Size");
    const int root = reference(trailer, "/Root");
    const int info = reference(trailer, "/Info");
    const int previous = number(trailer, "startxref");
    if (size <= 0 || root < 0 || previous < 0)
        return u"unreadable trailer"_s;

    QByteArray catalog = objectBody(pdf, root);
    const int pagesObject = reference(catalog, "/Pages");
    const QByteArray pages = objectBody(pdf, pagesObject);
    const qsizetype kidsAt = pages.indexOf("/Kids");
    const qsizetype kidsEnd = pages.indexOf(']', kidsAt);
    if (!catalog.endsWith(">>") || kidsAt < 0 || kidsEnd < 0)
        return u"unexpected catalogue or page tree"_s;
    QList<int> pageObjects;
    const QRegularExpression ref(u"(\\d+)\\s+0\\s+R"_s);
    for (auto it = ref.globalMatch(QString::fromLatin1(pages.mid(kidsAt, kidsEnd - kidsAt)));
         it.hasNext();)
        pageObjects << it.next().captured(1).toInt();
    if (pageObjects.size() != number(pages, "/Count"))
        return u"nested page tree"_s;

    const int outlines = size;
    const int first = size + 1;
    const int count = int(entries.size());
    QByteArray update = pdf.endsWith('\n') ? QByteArray() : QByteArray("\n");
    QList<QPair<int, qsizetype>> offsets;
    const auto object = [&](int n, const QByteArray &body) {
        offsets << qMakePair(n, pdf.size() + update.size());
        update += QByteArray::number(n) + " 0 obj\n" + body + "\nendobj\n";
    };
    catalog.chop(2);
    object(root, catalog + "/Outlines " + QByteArray::number(outlines)
                     + " 0 R\n/PageMode /UseOutlines\n>>");
    object(outlines, "<<\n/Type /Outlines\n/First " + QByteArray::number(first) + " 0 R\n/Last "
                         + QByteArray::number(first + count - 1) + " 0 R\n/Count "
                         + QByteArray::number(count) + "\n>>");
    for (int i = 0; i < count; ++i) {
        const Entry &e = entries[i];
        if (e.page < 1 || e.page > pageObjects.size())
            return u"bookmark past the last page: "_s + e.title;
        QByteArray body = "<<\n/Title " + textString(e.title) + "\n/Parent "
                          + QByteArray::number(outlines) + " 0 R\n";
        if (i > 0)
            body += "/Prev " + QByteArray::number(first + i - 1) + " 0 R\n";
        if (i + 1 < count)
            body += "/Next " + QByteArray::number(first + i + 1) + " 0 R\n";
        body += "/Dest [" + QByteArray::number(pageObjects[e.page - 1])
                + " 0 R /XYZ null null null]\n>>";
        object(first + i, body);
    }

    const qsizetype xref = pdf.size() + update.size();
    update += "xref\n";
    for (const auto &[n, offset] : offsets) {
        if (n == root || n == outlines)
            update += QByteArray::number(n) + " " + QByteArray::number(n == root ? 1 : count + 1)
                      + "\n";
        update += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    update += "trailer\n<<\n/Size " + QByteArray::number(first + count) + "\n/Root "
              + QByteArray::number(root) + " 0 R\n";
    if (info >= 0)
        update += "/Info " + QByteArray::number(info) + " 0 R\n";
    update += "/Prev " + QByteArray::number(previous) + "\n>>\nstartxref\n"
              + QByteArray::number(xref) + "\n%%EOF\n";

    if (!file.open(QIODevice::Append) || file.write(update) != update.size() || !file.flush())
        return u"cannot write "_s + pdfPath;
    return {};
}

} // namespace PdfOutline
