#pragma once
// Zip files and .xlsx workbooks, read and written through the formats module
// ("vetrinora_formats", which links libarchive and libxlsxwriter). A start
// does not load it: the program opens it the first time a backup, a
// spreadsheet read in or an .xlsx export needs it. Everything else of those
// transfers (names, checks, conversions, messages) is the core's own; the
// module gives no more than the entries and the cells. Nothing is thrown
// across its boundary: a failure comes back as false, or as an empty result.

#include <QString>
#include <memory>

namespace Transfer {

// An entry of a zip file.
struct ZipEntry {
    QString name;
    qint64 size = -1; // -1 when the zip does not say
    bool regular = true;
};

// One pass over the entries of a zip file, their data read in blocks (the
// CRC of each entry checked once its data has been read to its end).
class ZipReader {
public:
    virtual ~ZipReader() = default;
    enum class Step { Entry, End, Failed };
    virtual Step next(ZipEntry &entry) = 0;
    // Up to `size` bytes of the current entry's data into `into`: 0 at its
    // end, -1 for damaged data.
    virtual qint64 read(char *into, qint64 size) = 0;
};

// A zip file written entry by entry to `sink`, with the fastest deflate.
class ZipWriter {
public:
    virtual ~ZipWriter() = default;
    // Where the zip's bytes go; false stops the writing.
    using Sink = bool (*)(void *client, const char *bytes, qint64 size);
    // A regular file's entry, `size` bytes long, made at `modified` (seconds
    // since 1970): its data follows through write().
    virtual bool add(const QString &name, qint64 size, qint64 modified) = 0;
    virtual bool write(const char *bytes, qint64 size) = 0;
    virtual bool close() = 0;
};

// An .xlsx workbook of one sheet, written row by row (each row's cells from
// left to right, the rows from the top), in little memory.
class XlsxWriter {
public:
    virtual ~XlsxWriter() = default;
    enum class Style { Plain, Heading, Euro, Year, Count, Date };
    // Column widths and the frozen first row go before any cell.
    virtual bool setWidth(int column, double width) = 0;
    virtual bool freezeFirstRow() = 0;
    // `utf8` ends with a 0.
    virtual bool text(qint64 row, int column, const char *utf8, Style style) = 0;
    virtual bool number(qint64 row, int column, double value, Style style) = 0;
    virtual bool date(qint64 row, int column, int year, int month, int day, Style style) = 0;
    virtual bool filter(qint64 lastRow, int lastColumn) = 0;
    // Writes the file; false when it could not be written whole.
    virtual bool close() = 0;
};

// What the module gives.
class FileFormats {
public:
    virtual ~FileFormats() = default;
    // The file read `block` bytes at a time; nullptr when it cannot be
    // opened or is no zip.
    virtual std::unique_ptr<ZipReader> readZip(const QString &path, qint64 block) = 0;
    // nullptr when the writing cannot start.
    virtual std::unique_ptr<ZipWriter> writeZip(ZipWriter::Sink sink, void *client) = 0;
    // `temporaryFolder` holds the sheet's rows until close(). nullptr when the
    // workbook cannot be made.
    virtual std::unique_ptr<XlsxWriter> writeXlsx(const QString &path, const QString &temporaryFolder) = 0;
};

// The one function the module exports: its FileFormats, which lives as
// long as the program.
using GetFileFormats = FileFormats *(*)();
inline constexpr const char *kGetFileFormats = "vetrinora_file_formats";

// The module's FileFormats, opened on first use; throws Transfer::Error
// (moduleMissingMessage()) when the module cannot be had, the system's
// reason written to the program's log.
FileFormats &fileFormats();

QString moduleMissingMessage();

} // namespace Transfer
