#pragma once
// Rows of a spreadsheet file: OpenDocument (.ods) or Office Open XML (.xlsx),
// both zip files of XML, unpacked block by block (FileFormats.h). The
// content of an .ods and the small parts of an .xlsx (its sheet names,
// shared strings and styles) are read with QXmlStreamReader; the worksheet
// of an .xlsx, which holds every cell and runs to tens of megabytes for a
// large collection, is streamed through expat. Each cell
// gives its value, not its display text: numbers with a decimal comma and no
// thousands separator ("1234,5"), dates as dd/mm/yyyy, yes/no as "true" or
// "false", text as written (paragraphs on lines of their own). Trailing empty
// cells are left out and shorter rows filled up to the heading row's width.

#include "core/transfer/Rows.h"

#include <QByteArrayView>
#include <QStringList>
#include <QStringView>
#include <memory>

namespace Transfer {

// Whether a file starting with these bytes is a zip file (a spreadsheet).
bool isZip(QByteArrayView start);

// The names of the file's sheets in their order. Throws Transfer::Error.
QStringList sheetNames(const QString &path);

// The rows of sheet number `sheet` (0 the first). Throws Transfer::Error for a
// zip that is no spreadsheet, a damaged file or a missing sheet.
std::unique_ptr<RowSource> openSheet(const QString &path, int sheet);

QString notSheetMessage();

// A number cell's value as the rows give it: a decimal comma, no exponent
// where fifteen significant digits allow ("1234.50" gives "1234,5"); a value
// that reads as no number comes back with its points made commas.
QString numberText(QStringView value);

} // namespace Transfer
