#include "core/output/Spreadsheet.h"

#include "core/cards/Windows1252.h"

#include <QIODevice>
#include <cstring>

namespace Spreadsheet {

namespace {
// Large blocks: the file is written in few calls.
constexpr qsizetype kBuffer = 2 << 20;
}

bool readAsFormula(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    switch (text.front()) {
    case '=':
    case '+':
    case '@':
    case '\t':
    case '\r':
        return true;
    case '-':
        break;
    default:
        return false;
    }
    // A minus: a formula unless it is an amount as the money fields write it.
    const qsizetype n = text.size();
    if (n < 5 || text[n - 3] != ',')
        return true;
    for (qsizetype i = 1; i < n; ++i) {
        if (i != n - 3 && (text[i] < '0' || text[i] > '9'))
            return true;
    }
    return false;
}

Writer::Writer(QIODevice &device) : device_(device), buffer_(kBuffer) {}

void Writer::put(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (used_ + bytes.size() > kBuffer) {
        flush();
        if (bytes.size() > kBuffer) {
            ok_ = ok_ && device_.write(bytes.data(), bytes.size()) == bytes.size();
            return;
        }
    }
    std::memcpy(buffer_.data() + used_, bytes.data(), size_t(bytes.size()));
    used_ += bytes.size();
}

void Writer::flush()
{
    if (used_ > 0)
        ok_ = ok_ && device_.write(buffer_.data(), used_) == used_;
    used_ = 0;
}

void Writer::head(const QString &sheetName, std::span<const Heading> headings)
{
    put("<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
        "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
        "xmlns=\"http://www.w3.org/TR/REC-html40\">");
    put("<head>");
    put("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">");
    put("<!--[if gte mso 9]><xml>");
    put("<x:ExcelWorkbook>");
    put("<x:ExcelWorksheets>");
    put("<x:ExcelWorksheet>");
    put("<x:Name>");
    put(Windows1252::encode(sheetName));
    put("</x:Name>");
    put("<x:WorksheetOptions>");
    put("<x:Selected/>");
    put("<x:Panes>");
    put("<x:Pane>");
    put("<x:Number>1</x:Number>");
    put("<x:ActiveRow>3</x:ActiveRow>");
    put("</x:Pane>");
    put("</x:Panes>");
    put("<x:ProtectContents>False</x:ProtectContents>");
    put("<x:ProtectObjects>False</x:ProtectObjects>");
    put("<x:ProtectScenarios>False</x:ProtectScenarios>");
    put("</x:WorksheetOptions>");
    put("</x:ExcelWorksheet>");
    put("</x:ExcelWorksheets>");
    put("</x:ExcelWorkbook>");
    put("</xml><![endif]-->");
    put("</head>");
    put("<body>");
    put("<table x:str>");
    put("<tr>");
    for (const Heading &h : headings) {
        put("<td style=\"text-align: left; font-weight: bold;\" width=");
        put(QByteArray::number(h.width));
        put(">");
        put(Windows1252::encode(h.text));
        put("</td>");
    }
    put("</tr>");
}

void Writer::beginRow() { put("<tr>"); }
void Writer::endRow() { put("</tr>"); }

void Writer::cell(QByteArrayView text)
{
    put("<td style=\"text-align: left;\">");
    // Trimmed of blanks and control characters, as every field is.
    qsizetype first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    if (readAsFormula(text.sliced(first, last - first)))
        put(kTextGuardHtml);
    // Runs without a character to escape go in at once.
    qsizetype run = first;
    for (qsizetype i = first; i < last; ++i) {
        const char c = text[i];
        if (c != '&' && c != '<' && c != '>')
            continue;
        put(text.sliced(run, i - run));
        put(c == '&' ? QByteArrayView("&amp;") : c == '<' ? QByteArrayView("&lt;") : QByteArrayView("&gt;"));
        run = i + 1;
    }
    put(text.sliced(run, last - run));
    put("</td>");
}

bool Writer::finish()
{
    put("</table>");
    put("</body>");
    put("</html>");
    flush();
    return ok_;
}

} // namespace Spreadsheet
