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

// Writes the file piece by piece through a buffer of its own.
class Writer {
public:
    explicit Writer(QIODevice &device);

    // Everything before the first data row, the heading row included.
    void head(const QString &sheetName, std::span<const Heading> headings);
    void beginRow();
    // A cell: its text trimmed and written with "&", "<" and ">" as "&amp;",
    // "&lt;" and "&gt;", so that the sheet shows exactly the text.
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
