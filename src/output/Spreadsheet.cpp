#include "output/Spreadsheet.h"

#include "cards/Windows1252.h"

namespace Spreadsheet {

QByteArray head(const QString &sheetName, std::span<const Heading> headings)
{
    QByteArray out;
    out += "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
           "xmlns=\"http://www.w3.org/TR/REC-html40\">";
    out += "<head>";
    out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">";
    out += "<!--[if gte mso 9]><xml>";
    out += "<x:ExcelWorkbook>";
    out += "<x:ExcelWorksheets>";
    out += "<x:ExcelWorksheet>";
    out += "<x:Name>" + Windows1252::encode(sheetName) + "</x:Name>";
    out += "<x:WorksheetOptions>";
    out += "<x:Selected/>";
    out += "<x:Panes>";
    out += "<x:Pane>";
    out += "<x:Number>1</x:Number>";
    out += "<x:ActiveRow>3</x:ActiveRow>";
    out += "</x:Pane>";
    out += "</x:Panes>";
    out += "<x:ProtectContents>False</x:ProtectContents>";
    out += "<x:ProtectObjects>False</x:ProtectObjects>";
    out += "<x:ProtectScenarios>False</x:ProtectScenarios>";
    out += "</x:WorksheetOptions>";
    out += "</x:ExcelWorksheet>";
    out += "</x:ExcelWorksheets>";
    out += "</x:ExcelWorkbook>";
    out += "</xml><![endif]-->";
    out += "</head>";
    out += "<body>";
    out += "<table x:str>";
    out += "<tr>";
    for (const Heading &h : headings) {
        out += "<td style=\"text-align: left; font-weight: bold;\" width=";
        out += QByteArray::number(h.width);
        out += ">";
        appendCell(out, Windows1252::encode(QString::fromUtf8(h.text)));
        out += "</td>";
    }
    out += "</tr>";
    return out;
}

void appendCell(QByteArray &out, QByteArrayView text)
{
    // Trimmed of blanks and control characters, as every field is.
    qsizetype first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    for (qsizetype i = first; i < last; ++i) {
        switch (text[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += text[i]; break;
        }
    }
}

void appendRow(QByteArray &out, std::span<const QByteArray> cells)
{
    out += "<tr>";
    for (const QByteArray &cell : cells) {
        out += "<td style=\"text-align: left;\">";
        appendCell(out, cell);
        out += "</td>";
    }
    out += "</tr>";
}

QByteArray tail() { return QByteArrayLiteral("</table></body></html>"); }

} // namespace Spreadsheet
