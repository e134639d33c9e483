#pragma once
// The spreadsheet file of the exports: an HTML table with the spreadsheet
// program's HTML extensions, in Windows-1252, all on one line.

#include <QByteArray>
#include <QString>
#include <span>

class QIODevice;

namespace Spreadsheet {

struct Heading {
    const char *text; // UTF-8
    int width;
};

// Everything before the first data row: pieces 1 to 30.
QByteArray head(const QString &sheetName, std::span<const Heading> headings);
// One data row; each cell's text is trimmed and written with "&", "<" and ">"
// as "&amp;", "&lt;" and "&gt;", so the sheet shows exactly the text.
void appendRow(QByteArray &out, std::span<const QByteArray> cellsWindows1252);
QByteArray tail();

// The cell text in the file's bytes: Windows-1252, escaped.
void appendCell(QByteArray &out, QByteArrayView windows1252);

} // namespace Spreadsheet
