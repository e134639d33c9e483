#pragma once
// Rows of text read from a file the user brings: CSV (UTF-8 with or without
// a byte-order mark, else Windows-1252; "," ";" or tab between cells) or the
// program's own spreadsheet export (an HTML table), or an .ods or .xlsx
// spreadsheet (SheetRows.h). The file is read in
// blocks, so a file of any size takes bounded memory.

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace Transfer {

class RowSource {
public:
    virtual ~RowSource() = default;
    // The next row of cells, the first being the heading row; false at the
    // end of the file. Throws Transfer::Error on a file that cannot be read.
    virtual bool next(QStringList &row) = 0;
    // Bytes read so far, and the file's size, for a progress bar.
    virtual qint64 position() const = 0;
    virtual qint64 size() const = 0;
    // "UTF-8" or "Windows-1252", and the separator (0 for a spreadsheet).
    virtual QString encoding() const = 0;
    virtual QChar separator() const = 0;
};

// Opens the file and recognises its kind, encoding and separator. Throws
// Transfer::Error for a file that cannot be opened, is empty or is not text.
// The encoding of a CSV file is judged from its first block; `windows1252`
// reads it as Windows-1252 whatever it holds. A spreadsheet (.ods, .xlsx)
// gives the rows of its sheet number `sheet`.
std::unique_ptr<RowSource> openRows(const QString &path, int sheet = 0, bool windows1252 = false);

// Thrown by RowSource::next() when a CSV file taken for UTF-8, whose first
// block held ASCII alone, turns out further on not to be UTF-8: it is to be
// read again from the start as Windows-1252.
struct NotUtf8 {};

// Messages about files brought in.
QString unreadableFileMessage();
QString emptyFileMessage();
QString notTextMessage();
QString badCsvMessage(qint64 row);
QString longCellMessage(qint64 row);

} // namespace Transfer
