#pragma once
// The spreadsheet file of the exports: an HTML table with the spreadsheet
// program's HTML extensions, in Windows-1252, all on one line.

#include "core/platform/BigMemory.h"

#include <QByteArray>
#include <QString>
#include <span>

class QIODevice;

namespace Spreadsheet {

struct Heading {
    QString text;
    int width;
};

// Whether a spreadsheet program would take a cell beginning with `text` for a
// formula or a signed number rather than the text itself: it begins with "=",
// "+", "-", "@", a tab or a carriage return. The program's own amounts
// ("-12,50": a minus, digits, a comma and two decimals) are numbers as they
// stand and stay as they are. The bytes are ASCII at the start, so this holds
// for UTF-8 and Windows-1252 alike.
bool readAsFormula(QByteArrayView text);

// What goes before such a cell so that it is read as text: a zero-width
// space. LibreOffice 7 reads a cell as a formula when it begins with "=",
// quoted or not, and as a number when it begins with a sign; a leading
// apostrophe is shown as part of the text (CSV) or ignored (HTML), and a
// blank is shown or trimmed away. A zero-width space is kept, is invisible,
// and makes LibreOffice take the cell for text, as Excel does with any cell
// whose first character is none of the four: the cell shows exactly what was
// typed (copied out of the sheet, the text carries the invisible space with
// it). Windows-1252 cannot hold it, so a stored field never begins with
// one: the import drops it where it stands before such a cell and gives
// back the text as it was.
inline constexpr QByteArrayView kTextGuardUtf8 = "\xE2\x80\x8B";
inline constexpr QByteArrayView kTextGuardHtml = "&#8203;";

// Writes the file piece by piece through a buffer of its own.
class Writer {
public:
    explicit Writer(QIODevice &device);

    // Everything before the first data row, the heading row included.
    void head(const QString &sheetName, std::span<const Heading> headings);
    void beginRow();
    // A cell: its text trimmed and written with "&", "<" and ">" as "&amp;",
    // "&lt;" and "&gt;", so that the sheet shows exactly the text; a text
    // that would be read as a formula gets the guard before it.
    void cell(QByteArrayView windows1252);
    void endRow();
    // Writes the end of the file; false when any write failed.
    bool finish();

private:
    void put(QByteArrayView bytes);
    void flush();

    QIODevice &device_;
    platform::BigBlock buffer_;
    qsizetype used_ = 0;
    bool ok_ = true;
};

} // namespace Spreadsheet
