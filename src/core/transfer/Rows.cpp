#include "core/transfer/Rows.h"

#include "core/app/Messages.h"
#include "core/cards/Windows1252.h"
#include "core/output/Spreadsheet.h"
#include "core/transfer/SheetRows.h"
#include "core/transfer/Transfer.h"

#include <algorithm>
#include <array>
#include <csv.h>
#include <deque>

namespace Transfer {

namespace {

constexpr qint64 kBlock = 64 * 1024;
// A cell longer than this is no card field: the file is not what it claims.
constexpr qsizetype kLongestCell = 1 << 20;

// Whether the bytes are well-formed UTF-8 (a sequence cut by the end of the
// bytes counts as well-formed unless `whole`).
bool validUtf8(QByteArrayView bytes, bool whole = false)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        if (b < 0x80)
            follow = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            follow = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            follow = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            follow = 3;
        else
            return false;
        ++i;
        for (int k = 0; k < follow; ++k, ++i) {
            if (i >= n)
                return !whole;
            if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80)
                return false;
        }
    }
    return true;
}

// Whether a sample of the file's start looks like text: no NUL byte and
// hardly any other control character.
bool looksLikeText(QByteArrayView sample)
{
    qsizetype controls = 0;
    for (const char c : sample) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            return false;
        if (b < 32 && b != '\t' && b != '\r' && b != '\n' && b != '\f')
            ++controls;
    }
    return controls * 100 <= sample.size();
}

// A cell the export wrote with the guard that keeps spreadsheets from reading
// it as a formula: the guard is dropped, the text comes back as it was.
QByteArrayView withoutGuard(QByteArrayView bytes, QByteArrayView guard)
{
    if (bytes.startsWith(guard) && Spreadsheet::readAsFormula(bytes.sliced(guard.size())))
        return bytes.sliced(guard.size());
    return bytes;
}

QString decodeCell(QByteArrayView bytes, bool utf8)
{
    if (utf8)
        bytes = withoutGuard(bytes, Spreadsheet::kTextGuardUtf8);
    return utf8 ? QString::fromUtf8(bytes) : Windows1252::decode(bytes.data(), bytes.size());
}

int notSpace(unsigned char c) { return c == ' ' ? 1 : 0; }

// libcsv, fed block by block; the rows it completes wait in a queue.
class CsvParser {
public:
    // `watch`: the file was taken for UTF-8 from its start alone, which
    // held no character beyond ASCII; a cell that is not UTF-8 before any
    // that is shows it to be Windows-1252 after all.
    CsvParser(char separator, bool utf8, bool watch = false) : utf8_(utf8), watch_(watch && utf8)
    {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
        csv_set_space_func(&parser_, notSpace);
    }
    ~CsvParser() { csv_free(&parser_); }
    CsvParser(const CsvParser &) = delete;
    CsvParser &operator=(const CsvParser &) = delete;

    // False when the block breaks the CSV rules.
    bool feed(QByteArrayView block)
    {
        const size_t used = csv_parse(&parser_, block.data(), size_t(block.size()), onCell, onRow, this);
        return used == size_t(block.size()) && !cellTooLong();
    }
    // Whether the cell being read has grown past any field's length.
    bool cellTooLong() const { return parser_.entry_pos > size_t(kLongestCell); }
    // Whether that cell is a quoted one whose closing quote is still to come
    // (libcsv's state 3: a quote was just read, which may close it).
    bool insideQuotes() const { return parser_.quoted != 0 && parser_.pstate != 3; }
    bool finish() { return csv_fini(&parser_, onCell, onRow, this) == 0; }

    std::deque<QStringList> rows;

private:
    static void onCell(void *bytes, size_t length, void *self)
    {
        auto *p = static_cast<CsvParser *>(self);
        const QByteArrayView cell(static_cast<const char *>(bytes), qsizetype(length));
        if (p->watch_) {
            if (!validUtf8(cell, true))
                p->notUtf8 = true;
            else if (std::any_of(cell.begin(), cell.end(), [](char c) { return (c & 0x80) != 0; }))
                p->watch_ = false; // a real UTF-8 character: the file is UTF-8
        }
        p->row_.append(decodeCell(cell, p->utf8_));
    }
    static void onRow(int, void *self)
    {
        auto *p = static_cast<CsvParser *>(self);
        p->rows.push_back(std::move(p->row_));
        p->row_ = QStringList();
    }

public:
    bool notUtf8 = false;

private:
    csv_parser parser_;
    bool utf8_;
    bool watch_;
    QStringList row_;
};

class FileRows : public RowSource {
public:
    FileRows(std::unique_ptr<QFile> file, qint64 start) : file_(std::move(file))
    {
        file_->seek(start);
        position_ = start;
    }
    qint64 position() const override { return position_; }
    qint64 size() const override { return file_->size(); }

protected:
    // The next block of the file; empty at the end.
    QByteArray block()
    {
        QByteArray bytes(kBlock, Qt::Uninitialized);
        const qint64 n = file_->read(bytes.data(), kBlock);
        if (n < 0)
            throw Error(unreadableFileMessage());
        bytes.truncate(n);
        position_ += n;
        return bytes;
    }

private:
    std::unique_ptr<QFile> file_;
    qint64 position_ = 0;
};

class CsvRows : public FileRows {
public:
    CsvRows(std::unique_ptr<QFile> file, qint64 start, char separator, bool utf8, bool watch)
        : FileRows(std::move(file), start), parser_(separator, utf8, watch), separator_(separator),
          utf8_(utf8)
    {
    }
    bool next(QStringList &row) override
    {
        while (parser_.rows.empty() && !done_) {
            const QByteArray bytes = block();
            if (bytes.isEmpty()) {
                done_ = true;
                if (!parser_.finish())
                    throw Error(badCsvMessage(emitted_ + 1));
            } else if (!parser_.feed(bytes)) {
                const qint64 at = emitted_ + qint64(parser_.rows.size()) + 1;
                const bool tooLong = parser_.cellTooLong() && (!parser_.insideQuotes() || quoteClosesLater());
                throw Error(tooLong ? longCellMessage(at) : badCsvMessage(at));
            }
            if (parser_.notUtf8)
                throw NotUtf8{};
        }
        if (parser_.rows.empty())
            return false;
        row = std::move(parser_.rows.front());
        parser_.rows.pop_front();
        ++emitted_;
        return true;
    }
    QString encoding() const override
    {
        return utf8_ ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
    }
    QChar separator() const override { return QLatin1Char(separator_); }

private:
    // Whether the rest of the file closes the quoted cell being read: a
    // quote that is not doubled. A cell too long to keep is told apart so
    // from one whose quotes were never closed.
    bool quoteClosesLater()
    {
        bool quote = false; // the last byte read was a quote not yet paired
        for (;;) {
            const QByteArray bytes = block();
            if (bytes.isEmpty())
                return quote;
            for (const char c : bytes) {
                if (quote && c != '"')
                    return true;
                quote = c == '"' && !quote;
            }
        }
    }

    CsvParser parser_;
    char separator_;
    bool utf8_;
    bool done_ = false;
    qint64 emitted_ = 0;
};

// The program's own spreadsheet export: an HTML table in Windows-1252 whose
// cells hold plain text with "&", "<" and ">" written as entities.
class TableRows : public FileRows {
public:
    using FileRows::FileRows;

    bool next(QStringList &row) override
    {
        while (rows_.empty() && !done_) {
            const QByteArray bytes = block();
            if (bytes.isEmpty())
                done_ = true;
            else
                parse(bytes);
        }
        if (rows_.empty())
            return false;
        row = std::move(rows_.front());
        rows_.pop_front();
        return true;
    }
    QString encoding() const override { return QStringLiteral("Windows-1252"); }
    QChar separator() const override { return QChar(); }

private:
    void parse(const QByteArray &bytes)
    {
        pending_ += bytes;
        qsizetype at = 0;
        for (;;) {
            const qsizetype open = pending_.indexOf('<', at);
            if (open < 0) {
                if (inCell_)
                    cell_ += QByteArrayView(pending_).sliced(at);
                at = pending_.size();
                break;
            }
            if (inCell_)
                cell_ += QByteArrayView(pending_).sliced(at, open - at);
            const qsizetype close = pending_.indexOf('>', open);
            if (close < 0) {
                at = open;
                break;
            }
            tag(QByteArrayView(pending_).sliced(open + 1, close - open - 1));
            at = close + 1;
        }
        pending_.remove(0, at);
        if (pending_.size() > kLongestCell || cell_.size() > kLongestCell)
            throw Error(notTextMessage());
    }
    void tag(QByteArrayView inside)
    {
        qsizetype end = 0;
        while (end < inside.size() && inside[end] != ' ' && inside[end] != '\t')
            ++end;
        const QByteArray name = inside.first(end).toByteArray().toLower();
        if (name == "tr") {
            row_.clear();
        } else if (name == "/tr") {
            rows_.push_back(row_);
            row_.clear();
        } else if (name == "td" || name == "th") {
            inCell_ = true;
            cell_.clear();
        } else if ((name == "/td" || name == "/th") && inCell_) {
            inCell_ = false;
            const QByteArrayView text = withoutGuard(cell_, Spreadsheet::kTextGuardHtml);
            row_.append(unescape(Windows1252::decode(text.data(), text.size())));
        }
    }
    static QString unescape(QString text)
    {
        if (!text.contains(QLatin1Char('&')))
            return text;
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        return text;
    }

    QByteArray pending_;
    QByteArray cell_;
    bool inCell_ = false;
    QStringList row_;
    std::deque<QStringList> rows_;
    bool done_ = false;
};

// The separator that splits the sample's rows into the most columns, the
// same number in every row; "," when none splits anything.
char detectSeparator(QByteArrayView sample, bool utf8)
{
    const std::array<char, 3> candidates{',', ';', '\t'};
    char best = ',';
    int bestScore = -1;
    for (const char c : candidates) {
        CsvParser parser(c, utf8);
        if (!parser.feed(sample))
            continue;
        // The last row may be cut by the end of the sample: leave it out.
        const qsizetype whole = std::max<qsizetype>(1, qsizetype(parser.rows.size()) - 1);
        if (parser.rows.empty())
            parser.finish();
        if (parser.rows.empty())
            continue;
        const qsizetype columns = parser.rows.front().size();
        bool even = true;
        for (qsizetype i = 1; i < whole && i < qsizetype(parser.rows.size()); ++i)
            even = even && parser.rows[size_t(i)].size() == columns;
        const int score = int(columns) * 2 + (even ? 1 : 0);
        if (columns > 1 && score > bestScore) {
            best = c;
            bestScore = score;
        }
    }
    return best;
}

} // namespace

QString unreadableFileMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di leggere il file scelto.");
}

QString emptyFileMessage()
{
    return QStringLiteral("Attenzione: il file scelto è vuoto. Non è stata importata nessuna scheda.");
}

QString notTextMessage()
{
    return QStringLiteral("Attenzione: il file scelto non è un file CSV né un foglio esportato da "
                          "Vetrinora. Non è stata importata nessuna scheda.");
}

QString badCsvMessage(qint64 row)
{
    return Messages::badCsv(QString::number(row));
}

QString longCellMessage(qint64 row)
{
    return Messages::longCell(QString::number(row));
}

std::unique_ptr<RowSource> openRows(const QString &path, int sheet, bool windows1252)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw Error(unreadableFileMessage());
    QByteArray sample = file->read(kBlock);
    if (sample.isNull() && file->error() != QFileDevice::NoError)
        throw Error(unreadableFileMessage());
    const bool more = file->size() > sample.size();
    qint64 start = 0;
    bool bom = false;
    if (sample.startsWith("\xEF\xBB\xBF")) {
        bom = true;
        start = 3;
        sample.remove(0, 3);
    }
    if (sample.trimmed().isEmpty() && !more)
        throw Error(emptyFileMessage());
    if (!bom && isZip(sample))
        return openSheet(path, sheet);
    if (!looksLikeText(sample))
        throw Error(notTextMessage());

    const QByteArray head = sample.left(512).trimmed().toLower();
    if (head.startsWith("<html") || head.startsWith("<!doctype html") || head.startsWith("<table"))
        return std::make_unique<TableRows>(std::move(file), start);

    // A sample cut in the middle of the file ends at its last line break, so
    // that no character is cut in two.
    if (more) {
        const qsizetype lastBreak = sample.lastIndexOf('\n');
        if (lastBreak > 0)
            sample.truncate(lastBreak + 1);
    }
    const bool utf8 = !windows1252 && (bom || validUtf8(sample));
    const bool ascii = std::all_of(sample.cbegin(), sample.cend(), [](char c) { return (c & 0x80) == 0; });
    const char separator = detectSeparator(sample, utf8);
    return std::make_unique<CsvRows>(std::move(file), start, separator, utf8, utf8 && !bom && ascii && more);
}

} // namespace Transfer
