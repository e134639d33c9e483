#include "core/transfer/SheetRows.h"

#include "core/transfer/FileFormats.h"
#include "core/transfer/ReadAhead.h"
#include "core/transfer/Transfer.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <deque>
#include <exception>
#include <expat.h>
#include <vector>

namespace Transfer {

namespace {

constexpr qint64 kBlock = 64 * 1024;
// A cell longer than this is no card field: the file is damaged or not ours.
constexpr qsizetype kLongestCell = 1 << 20;
// More repeats of one non-empty row than any sheet holds.
constexpr qint64 kMostRepeats = 1 << 20;

// One pass over the entries of the zip.
class Zip {
public:
    explicit Zip(const QString &path) : r_(fileFormats().readZip(path, kBlock))
    {
        if (!r_)
            throw Error(notSheetMessage());
    }

    // The next entry's name; false at the end.
    bool next(QString &name, qint64 &size)
    {
        ZipEntry e;
        const ZipReader::Step step = r_->next(e);
        if (step == ZipReader::Step::End)
            return false;
        if (step == ZipReader::Step::Failed)
            throw Error(notSheetMessage());
        name = e.name;
        size = std::max<qint64>(e.size, 0);
        return true;
    }
    // The next block of the current entry; empty at its end.
    QByteArray block()
    {
        QByteArray bytes(kBlock, Qt::Uninitialized);
        const qint64 n = r_->read(bytes.data(), kBlock);
        if (n < 0)
            throw Error(notSheetMessage());
        bytes.truncate(qsizetype(n));
        return bytes;
    }
    QByteArray whole()
    {
        QByteArray all;
        for (QByteArray b = block(); !b.isEmpty(); b = block()) {
            all += b;
            if (all.size() > 256 * 1024 * 1024)
                throw Error(notSheetMessage());
        }
        return all;
    }

private:
    std::unique_ptr<ZipReader> r_;
};

QStringView attr(const QXmlStreamAttributes &attributes, QLatin1StringView localName)
{
    for (const QXmlStreamAttribute &a : attributes)
        if (a.name() == localName)
            return a.value();
    return {};
}

// The attributes of the reader's current element are a copy: take them once
// per element (attributes_ below), or through this for a single look-up.
QString attr(const QXmlStreamReader &x, QLatin1StringView localName)
{
    return attr(x.attributes(), localName).toString();
}

// A plain decimal, [-]digits[.digits], as the general conversion below writes
// it, read straight from its characters: up to fifteen significant digits and
// a magnitude from 1e-4 to below 1e15, where that conversion gives the digits
// back as written without the zeros that say nothing. Anything else (zero
// among them) is left to it.
std::optional<QString> plainNumberText(QStringView value)
{
    const auto digit = [&](qsizetype i) { return value[i] >= u'0' && value[i] <= u'9'; };
    const qsizetype size = value.size();
    qsizetype i = 0;
    const bool negative = size > 0 && value[0] == u'-';
    if (negative)
        ++i;
    const qsizetype intStart = i;
    while (i < size && digit(i))
        ++i;
    const qsizetype intEnd = i;
    qsizetype fracStart = i;
    qsizetype fracEnd = i;
    if (i < size && value[i] == u'.') {
        fracStart = ++i;
        while (i < size && digit(i))
            ++i;
        fracEnd = i;
        if (fracEnd == fracStart)
            return std::nullopt;
    }
    if (i != size || intEnd == intStart)
        return std::nullopt;
    qsizetype first = intStart;
    while (first < intEnd && value[first] == u'0')
        ++first;
    qsizetype last = fracEnd;
    while (last > fracStart && value[last - 1] == u'0')
        --last;
    const qsizetype intDigits = intEnd - first;
    qsizetype significant = intDigits + (last - fracStart);
    if (intDigits == 0) {
        qsizetype z = fracStart;
        while (z < last && value[z] == u'0')
            ++z;
        if (z == last || z - fracStart > 3)
            return std::nullopt; // zero, or below 1e-4
        significant = last - z;
    }
    if (intDigits > 15 || significant > 15)
        return std::nullopt;
    QString text;
    text.reserve(significant + 5);
    if (negative)
        text += u'-';
    if (intDigits > 0)
        text += value.sliced(first, intDigits);
    else
        text += u'0';
    if (last > fracStart) {
        text += u',';
        text += value.sliced(fracStart, last - fracStart);
    }
    return text;
}

} // namespace

// A number as the program writes it: decimal comma, no exponent where the
// digits allow, at most fifteen significant digits.
QString numberText(QStringView value)
{
    if (std::optional<QString> plain = plainNumberText(value))
        return std::move(*plain);
    bool ok = false;
    const double v = QLocale::c().toDouble(value, &ok);
    QString text;
    if (ok && std::isfinite(v) && (v == 0 || (std::fabs(v) >= 1e-4 && std::fabs(v) < 1e15)))
        text = QString::number(v, 'g', 15);
    else
        text = value.toString();
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

namespace {

QString dateText(const QDate &d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

// The cells of one row, filled in order, with repeats and gaps.
struct RowBuilder {
    QStringList cells;
    void put(qsizetype column, const QString &text)
    {
        if (text.isEmpty())
            return;
        while (cells.size() < column)
            cells.append(QString());
        cells.append(text);
    }
};

class SheetSource : public RowSource {
public:
    SheetSource(const QString &path, const QString &entry, const QString &kind)
        : zip_(path), kind_(kind)
    {
        QString name;
        qint64 size = 0;
        while (zip_.next(name, size)) {
            if (name == entry) {
                size_ = size;
                return;
            }
        }
        throw Error(notSheetMessage());
    }
    bool next(QStringList &row) override
    {
        // The entry is unpacked ahead while the blocks before are parsed: a
        // sheet's XML is several times the size of its zip, and unpacking it
        // is a good part of reading it.
        if (!blocks_)
            blocks_ = std::make_unique<ReadAhead<QByteArray>>(
                [this](QByteArray &bytes) {
                    bytes = zip_.block();
                    return !bytes.isEmpty();
                },
                16);
        while (rows_.empty() && !done_) {
            QByteArray bytes;
            if (!blocks_->next(bytes))
                done_ = true;
            else
                position_ += bytes.size();
            // What follows the sheet's end is read (the zip checks its
            // entries whole) but no longer parsed.
            if (!finished_)
                feed(bytes, done_);
        }
        if (rows_.empty())
            return false;
        row = std::move(rows_.front());
        rows_.pop_front();
        if (width_ < 0)
            width_ = row.size();
        while (row.size() < width_)
            row.append(QString());
        return true;
    }
    qint64 position() const override { return position_; }
    qint64 size() const override { return std::max(size_, position_); }
    QString encoding() const override { return kind_; }
    QChar separator() const override { return QChar(); }

protected:
    // Parses the next block of the entry (`last`: the entry ends with it,
    // `bytes` may then be empty); throws for a damaged sheet.
    virtual void feed(const QByteArray &bytes, bool last) = 0;

    // A finished row: empty rows wait until a row with cells follows them, so
    // that a sheet's endless empty tail is never produced.
    void endRow(QStringList cells, qint64 repeat)
    {
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        if (cells.isEmpty()) {
            emptyRows_ += repeat;
            return;
        }
        if (repeat > kMostRepeats || emptyRows_ > kMostRepeats)
            throw Error(notSheetMessage());
        for (; emptyRows_ > 0; --emptyRows_)
            rows_.emplace_back();
        for (qint64 i = 1; i < repeat; ++i)
            rows_.push_back(cells);
        rows_.push_back(std::move(cells));
    }

    Zip zip_;
    std::unique_ptr<ReadAhead<QByteArray>> blocks_; // after zip_: it ends first
    QString kind_;
    qint64 size_ = 0;
    qint64 position_ = 0;
    bool done_ = false;
    bool finished_ = false;
    qint64 emptyRows_ = 0;
    qsizetype width_ = -1;
    std::deque<QStringList> rows_;
};

// content.xml of an OpenDocument spreadsheet.
class OdsSource : public SheetSource {
public:
    OdsSource(const QString &path, int sheet) : SheetSource(path, QStringLiteral("content.xml"), QStringLiteral("ODS")), sheet_(sheet) {}

private:
    void feed(const QByteArray &bytes, bool last) override
    {
        if (!bytes.isEmpty())
            xml_.addData(bytes);
        while (!finished_ && !xml_.atEnd()) {
            const QXmlStreamReader::TokenType t = xml_.readNext();
            if (t == QXmlStreamReader::Invalid) {
                if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                    break;
                throw Error(notSheetMessage());
            }
            token(t);
            if (text_.size() > kLongestCell)
                throw Error(notSheetMessage());
        }
        if (last && !finished_ && xml_.error() != QXmlStreamReader::NoError)
            throw Error(notSheetMessage());
    }

    void token(QXmlStreamReader::TokenType t)
    {
        if (t == QXmlStreamReader::StartElement) {
            const QStringView n = xml_.name();
            if (n == QLatin1String("table") && xml_.prefix() == QLatin1String("table")) {
                inTable_ = ++table_ == sheet_;
            } else if (!inTable_) {
                return;
            } else if (n == QLatin1String("table-row")) {
                row_ = RowBuilder();
                column_ = 0;
                rowRepeat_ = std::max<qint64>(1, attr(xml_, QLatin1String("number-rows-repeated")).toLongLong());
            } else if (n == QLatin1String("table-cell") || n == QLatin1String("covered-table-cell")) {
                inCell_ = true;
                paragraphs_ = 0;
                text_.clear();
                const QXmlStreamAttributes a = xml_.attributes();
                cellRepeat_ = std::max<qint64>(1, attr(a, QLatin1String("number-columns-repeated")).toLongLong());
                value_ = valueOf(a);
            } else if (inCell_ && n == QLatin1String("annotation")) {
                ++annotation_;
            } else if (inCell_ && !annotation_) {
                if (n == QLatin1String("p") || n == QLatin1String("h")) {
                    if (paragraphs_++ > 0)
                        text_ += QLatin1Char('\n');
                } else if (n == QLatin1String("s")) {
                    const qint64 c = attr(xml_, QLatin1String("c")).toLongLong();
                    text_ += QString(qsizetype(std::clamp<qint64>(c, 1, 1000)), QLatin1Char(' '));
                } else if (n == QLatin1String("tab")) {
                    text_ += QLatin1Char('\t');
                } else if (n == QLatin1String("line-break")) {
                    text_ += QLatin1Char('\n');
                }
            }
        } else if (t == QXmlStreamReader::Characters) {
            if (inTable_ && inCell_ && !annotation_ && paragraphs_ > 0)
                text_ += xml_.text();
        } else if (t == QXmlStreamReader::EndElement && inTable_) {
            const QStringView n = xml_.name();
            if (n == QLatin1String("annotation") && annotation_) {
                --annotation_;
            } else if (n == QLatin1String("table-cell") || n == QLatin1String("covered-table-cell")) {
                inCell_ = false;
                const QString cell = value_ ? *value_ : text_;
                if (!cell.isEmpty()) {
                    if (cellRepeat_ > 1024)
                        throw Error(notSheetMessage());
                    for (qint64 i = 0; i < cellRepeat_; ++i)
                        row_.put(column_ + i, cell);
                }
                column_ += qsizetype(std::min<qint64>(cellRepeat_, 1 << 16));
            } else if (n == QLatin1String("table-row")) {
                endRow(row_.cells, rowRepeat_);
            } else if (n == QLatin1String("table") && xml_.prefix() == QLatin1String("table")) {
                finished_ = true;
            }
        }
    }

    // The cell's value from its attributes; none for text.
    static std::optional<QString> valueOf(const QXmlStreamAttributes &a)
    {
        const QStringView type = attr(a, QLatin1String("value-type"));
        if (type == QLatin1String("float") || type == QLatin1String("currency") || type == QLatin1String("percentage"))
            return numberText(attr(a, QLatin1String("value")));
        if (type == QLatin1String("date")) {
            const QStringView v = attr(a, QLatin1String("date-value"));
            const QDate d = QDate::fromString(v.left(10).toString(), Qt::ISODate);
            if (d.isValid())
                return dateText(d);
            return std::nullopt;
        }
        if (type == QLatin1String("boolean"))
            return attr(a, QLatin1String("boolean-value")).toString();
        return std::nullopt;
    }

    QXmlStreamReader xml_;
    QString text_;
    int sheet_;
    int table_ = -1;
    bool inTable_ = false;
    bool inCell_ = false;
    int annotation_ = 0;
    int paragraphs_ = 0;
    qint64 rowRepeat_ = 1;
    qint64 cellRepeat_ = 1;
    qsizetype column_ = 0;
    std::optional<QString> value_;
    RowBuilder row_;
};

// What a worksheet of an xlsx needs from the rest of the file.
struct Workbook {
    QStringList names;       // sheet names in order
    QStringList entries;     // their worksheet entries
    std::vector<QString> shared; // shared strings, read once
    QList<bool> dateStyles;  // for each cell style, whether it shows a date
    bool date1904 = false;
};

// Whether a number format shows a date: a letter d, m or y outside quotes,
// brackets and escapes, and no h or s (a time).
bool dateFormat(QStringView code)
{
    bool date = false;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i].toLower();
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*'))
            ++i;
        else if (c == QLatin1Char('[')) {
            while (i < code.size() && code[i] != QLatin1Char(']'))
                ++i;
        } else if (c == QLatin1Char('d') || c == QLatin1Char('y') || c == QLatin1Char('m'))
            date = true;
        else if (c == QLatin1Char('h') || c == QLatin1Char('s'))
            return false;
    }
    return date;
}

QString resolveTarget(QString target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

Workbook readWorkbook(const QString &path)
{
    Zip zip(path);
    Workbook book;
    QList<QString> ids;
    QHash<QString, QString> targets;
    QHash<int, bool> customDate;
    QList<int> styleFormats;
    bool found = false;
    QString name;
    qint64 size = 0;
    while (zip.next(name, size)) {
        if (name == QLatin1String("xl/workbook.xml")) {
            found = true;
            QXmlStreamReader x(zip.whole());
            while (!x.atEnd()) {
                if (x.readNext() != QXmlStreamReader::StartElement)
                    continue;
                if (x.name() == QLatin1String("sheet")) {
                    book.names.append(attr(x, QLatin1String("name")));
                    ids.append(attr(x, QLatin1String("id")));
                } else if (x.name() == QLatin1String("workbookPr")) {
                    const QStringView d = attr(x, QLatin1String("date1904"));
                    book.date1904 = d == QLatin1String("1") || d == QLatin1String("true");
                }
            }
        } else if (name == QLatin1String("xl/_rels/workbook.xml.rels")) {
            QXmlStreamReader x(zip.whole());
            while (!x.atEnd()) {
                if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("Relationship"))
                    targets.insert(attr(x, QLatin1String("Id")),
                                   resolveTarget(attr(x, QLatin1String("Target"))));
            }
        } else if (name == QLatin1String("xl/sharedStrings.xml")) {
            QXmlStreamReader x(zip.whole());
            QString text;
            int phonetic = 0;
            bool inT = false;
            while (!x.atEnd()) {
                const auto t = x.readNext();
                if (t == QXmlStreamReader::StartElement) {
                    if (x.name() == QLatin1String("si"))
                        text.clear();
                    else if (x.name() == QLatin1String("rPh"))
                        ++phonetic;
                    else if (x.name() == QLatin1String("t"))
                        inT = true;
                } else if (t == QXmlStreamReader::EndElement) {
                    if (x.name() == QLatin1String("si"))
                        book.shared.push_back(text);
                    else if (x.name() == QLatin1String("rPh"))
                        --phonetic;
                    else if (x.name() == QLatin1String("t"))
                        inT = false;
                } else if (t == QXmlStreamReader::Characters && inT && !phonetic) {
                    text += x.text();
                }
            }
        } else if (name == QLatin1String("xl/styles.xml")) {
            QXmlStreamReader x(zip.whole());
            bool inXfs = false;
            while (!x.atEnd()) {
                const auto t = x.readNext();
                if (t == QXmlStreamReader::StartElement) {
                    if (x.name() == QLatin1String("numFmt"))
                        customDate.insert(attr(x, QLatin1String("numFmtId")).toInt(),
                                          dateFormat(attr(x, QLatin1String("formatCode"))));
                    else if (x.name() == QLatin1String("cellXfs"))
                        inXfs = true;
                    else if (inXfs && x.name() == QLatin1String("xf"))
                        styleFormats.append(attr(x, QLatin1String("numFmtId")).toInt());
                } else if (t == QXmlStreamReader::EndElement && x.name() == QLatin1String("cellXfs")) {
                    inXfs = false;
                }
            }
        }
    }
    if (!found)
        throw Error(notSheetMessage());
    for (const QString &id : ids)
        book.entries.append(targets.value(id));
    for (const int f : styleFormats)
        book.dateStyles.append(customDate.contains(f) ? customDate.value(f) : ((f >= 14 && f <= 17) || f == 22));
    return book;
}

// Column number of a cell reference ("C5" is 2); -1 when there is none.
qsizetype columnOf(QStringView ref)
{
    qsizetype column = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        column = std::min<qsizetype>(column * 26 + (ref[i].toUpper().unicode() - 'A' + 1), qsizetype(1) << 20);
    return i == 0 || column > 1 << 16 ? -1 : column - 1;
}

// The same for a reference in UTF-8, as the sheet's parser gives it.
qsizetype columnOf(const char *ref)
{
    qsizetype column = 0;
    qsizetype i = 0;
    for (; ref[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(ref[i]);
        if (c >= 0x80)
            return columnOf(QString::fromUtf8(ref));
        const bool upper = c >= 'A' && c <= 'Z';
        if (!upper && !(c >= 'a' && c <= 'z'))
            break;
        column = std::min<qsizetype>(column * 26 + ((upper ? c : c - 'a' + 'A') - 'A' + 1), qsizetype(1) << 20);
    }
    return i == 0 || column > 1 << 16 ? -1 : column - 1;
}

// An attribute's whole number as QString's conversion reads it, 0 when it
// reads as none. Plain digits, the usual case, are read here.
template<typename Number>
Number wholeNumber(const char *text)
{
    constexpr int kDigits = std::numeric_limits<Number>::digits10;
    Number value = 0;
    int i = 0;
    for (; i < kDigits && text[i] >= '0' && text[i] <= '9'; ++i)
        value = Number(value * 10 + (text[i] - '0'));
    if (i > 0 && text[i] == '\0')
        return value;
    const QString other = QString::fromUtf8(text);
    if constexpr (sizeof(Number) > sizeof(int))
        return other.toLongLong();
    else
        return other.toInt();
}

// A worksheet of an xlsx, streamed through expat: the sheet of a large
// collection runs to tens of megabytes of tags around short texts, which
// expat reads several times faster than QXmlStreamReader. Expat expands the
// five predefined entities and character references, gives CDATA as text,
// turns every line end into "\n", refuses an undeclared entity or a
// document cut short, and bounds the expansion of the entities a DTD
// declares. Names are matched by their local part, whatever their prefix;
// expat's own namespace processing would spell out the namespace of every
// tag, so the prefixes are checked here instead: one that no enclosing
// element declares makes the sheet damaged, as it is for QXmlStreamReader.
// The text of a cell is kept as UTF-8 until the cell ends.
class XlsxSource : public SheetSource {
public:
    XlsxSource(const QString &path, const QString &entry, Workbook book)
        : SheetSource(path, entry, QStringLiteral("XLSX")), book_(std::move(book)), parser_(XML_ParserCreate(nullptr))
    {
        if (!parser_)
            throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &XlsxSource::onStart, &XlsxSource::onEnd);
        XML_SetCharacterDataHandler(parser_, &XlsxSource::onText);
    }
    ~XlsxSource() override { XML_ParserFree(parser_); }
    XlsxSource(const XlsxSource &) = delete;
    XlsxSource &operator=(const XlsxSource &) = delete;

private:
    // Where a name's local part starts; names are short, so a plain loop.
    static const char *localName(const char *name)
    {
        for (const char *c = name; *c != '\0'; ++c)
            if (*c == ':')
                return c + 1;
        return name;
    }
    static bool declaration(const char *name)
    {
        return name[0] == 'x' && std::strncmp(name, "xmlns", 5) == 0 && (name[5] == '\0' || name[5] == ':');
    }
    static bool same(const char *a, const char *b) { return std::strcmp(a, b) == 0; }
    // The value of the first attribute with this local name (namespace
    // declarations are none); "" when there is none.
    static const char *attr(const char **attributes, const char *name)
    {
        for (; attributes[0]; attributes += 2)
            if (same(localName(attributes[0]), name) && !declaration(attributes[0]))
                return attributes[1];
        return "";
    }

    // Takes the namespace declarations of an element that starts, and checks
    // the prefixes of its name and attributes.
    void bindPrefixes(const char *name, const char **attributes)
    {
        ++depth_;
        for (const char **a = attributes; a[0]; a += 2)
            if (declaration(a[0]) && a[0][5] == ':')
                prefixes_.push_back({std::string(a[0] + 6), depth_});
        checkPrefix(name);
        for (const char **a = attributes; a[0]; a += 2)
            if (!declaration(a[0]))
                checkPrefix(a[0]);
    }
    void checkPrefix(const char *name) const
    {
        const char *local = localName(name);
        if (local == name)
            return;
        const std::string_view prefix(name, size_t(local - 1 - name));
        if (prefix == "xml")
            return;
        for (const Prefix &p : prefixes_)
            if (p.prefix == prefix)
                return;
        throw Error(notSheetMessage());
    }
    void unbindPrefixes()
    {
        while (!prefixes_.empty() && prefixes_.back().depth == depth_)
            prefixes_.pop_back();
        --depth_;
    }

    void feed(const QByteArray &bytes, bool last) override
    {
        const XML_Status status = XML_Parse(parser_, bytes.constData(), int(bytes.size()), last ? XML_TRUE : XML_FALSE);
        if (failure_)
            std::rethrow_exception(failure_);
        // The parser stops itself at the end of the sheet's rows.
        if (status == XML_STATUS_ERROR && !(finished_ && XML_GetErrorCode(parser_) == XML_ERROR_ABORTED))
            throw Error(notSheetMessage());
    }

    // Expat is C: what the handlers throw is kept, the parser stopped, and
    // the failure thrown again once XML_Parse has returned.
    template<typename Step>
    void guarded(Step step)
    {
        if (failure_ || finished_)
            return;
        try {
            step();
        } catch (...) {
            failure_ = std::current_exception();
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    static void XMLCALL onStart(void *self, const XML_Char *name, const XML_Char **attributes)
    {
        auto *s = static_cast<XlsxSource *>(self);
        s->guarded([&] {
            s->bindPrefixes(name, attributes);
            s->start(localName(name), attributes);
        });
    }
    static void XMLCALL onEnd(void *self, const XML_Char *name)
    {
        auto *s = static_cast<XlsxSource *>(self);
        s->guarded([&] {
            s->end(localName(name));
            s->unbindPrefixes();
        });
    }
    static void XMLCALL onText(void *self, const XML_Char *text, int length)
    {
        auto *s = static_cast<XlsxSource *>(self);
        if (!s->inValue_ || s->phonetic_)
            return;
        s->guarded([&] {
            s->text_.append(text, size_t(length));
            if (qsizetype(s->text_.size()) > kLongestCell)
                throw Error(notSheetMessage());
        });
    }

    void start(const char *n, const char **a)
    {
        if (same(n, "c")) {
            // One pass over the attributes: r, t and s, the first of each.
            const char *ref = nullptr;
            const char *type = nullptr;
            const char *style = nullptr;
            for (const char **at = a; at[0]; at += 2) {
                const char *local = localName(at[0]);
                if (local[0] == '\0' || local[1] != '\0' || declaration(at[0]))
                    continue;
                if (local[0] == 'r' && !ref)
                    ref = at[1];
                else if (local[0] == 't' && !type)
                    type = at[1];
                else if (local[0] == 's' && !style)
                    style = at[1];
            }
            const qsizetype c = columnOf(ref ? ref : "");
            if (c >= 0)
                column_ = c;
            type_ = !type || *type == '\0'           ? Type::Number
                    : same(type, "s")                 ? Type::Shared
                    : same(type, "b")                 ? Type::Boolean
                    : same(type, "inlineStr") || same(type, "str") || same(type, "e") ? Type::Text
                                                                                    : Type::Number;
            style_ = wholeNumber<int>(style ? style : "");
            text_.clear();
        } else if (same(n, "v") || same(n, "t")) {
            inValue_ = true;
        } else if (same(n, "row")) {
            row_ = RowBuilder();
            row_.cells.reserve(width_ > 0 ? width_ : 16);
            column_ = 0;
            const qint64 r = wholeNumber<qint64>(attr(a, "r"));
            if (r > rowNumber_ + 1)
                endRow({}, r - rowNumber_ - 1);
            rowNumber_ = std::max(r, rowNumber_ + 1);
        } else if (same(n, "rPh")) {
            ++phonetic_;
        }
    }

    void end(const char *n)
    {
        switch (n[0]) {
        case 'v':
        case 't':
            if (n[1] == '\0')
                inValue_ = false;
            break;
        case 'c':
            if (n[1] == '\0') {
                row_.put(column_, cellText());
                ++column_;
            }
            break;
        case 'r':
            if (same(n, "rPh"))
                --phonetic_;
            else if (same(n, "row"))
                endRow(std::move(row_.cells), 1);
            break;
        case 's':
            if (same(n, "sheetData")) {
                finished_ = true;
                XML_StopParser(parser_, XML_FALSE);
            }
            break;
        default:
            break;
        }
    }

    QString cellText() const
    {
        const QString text = QString::fromUtf8(text_.data(), qsizetype(text_.size()));
        switch (type_) {
        case Type::Shared: {
            bool ok = false;
            const int i = QStringView(text).trimmed().toInt(&ok);
            return ok && i >= 0 && i < qsizetype(book_.shared.size()) ? book_.shared[size_t(i)] : QString();
        }
        case Type::Boolean:
            return QStringView(text).trimmed() == u"1" ? QStringLiteral("true") : QStringLiteral("false");
        case Type::Text:
            return text;
        case Type::Number:
            break;
        }
        if (text.isEmpty())
            return QString();
        if (style_ >= 0 && style_ < book_.dateStyles.size() && book_.dateStyles[style_]) {
            bool ok = false;
            const double serial = QLocale::c().toDouble(text, &ok);
            if (ok && serial >= 1 && serial < 2958466) {
                const QDate base = book_.date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
                return dateText(base.addDays(qint64(std::floor(serial))));
            }
        }
        return numberText(text);
    }

    enum class Type { Number, Shared, Boolean, Text };

    struct Prefix {
        std::string prefix;
        int depth; // of the element that declares it
    };

    Workbook book_;
    XML_Parser parser_;
    std::exception_ptr failure_;
    std::vector<Prefix> prefixes_; // declared by the open elements, innermost last
    int depth_ = 0;
    std::string text_; // the cell's value so far, UTF-8
    qint64 rowNumber_ = 0;
    qsizetype column_ = 0;
    Type type_ = Type::Number;
    int style_ = 0;
    bool inValue_ = false;
    int phonetic_ = 0;
    RowBuilder row_;
};

enum class Kind { Ods, Xlsx };

Kind kindOf(const QString &path)
{
    Zip zip(path);
    QString name;
    qint64 size = 0;
    while (zip.next(name, size)) {
        if (name == QLatin1String("content.xml"))
            return Kind::Ods;
        if (name == QLatin1String("xl/workbook.xml"))
            return Kind::Xlsx;
    }
    throw Error(notSheetMessage());
}

} // namespace

bool isZip(QByteArrayView start) { return start.startsWith("PK\x03\x04"); }

QString notSheetMessage()
{
    return QStringLiteral("Attenzione: il file scelto non è un foglio di calcolo ODS o XLSX leggibile "
                          "(è danneggiato o di un altro tipo). Salvarlo di nuovo dal programma di "
                          "fogli di calcolo, oppure come CSV. Non è stata importata nessuna scheda.");
}

QStringList sheetNames(const QString &path)
{
    if (kindOf(path) == Kind::Xlsx)
        return readWorkbook(path).names;
    Zip zip(path);
    QString name;
    qint64 size = 0;
    while (zip.next(name, size)) {
        if (name != QLatin1String("content.xml"))
            continue;
        QStringList names;
        QXmlStreamReader x;
        for (QByteArray b = zip.block(); !b.isEmpty(); b = zip.block()) {
            x.addData(b);
            while (!x.atEnd()) {
                const auto t = x.readNext();
                if (t == QXmlStreamReader::Invalid)
                    break;
                if (t == QXmlStreamReader::StartElement && x.name() == QLatin1String("table")
                    && x.prefix() == QLatin1String("table"))
                    names.append(attr(x, QLatin1String("name")));
            }
            if (x.error() != QXmlStreamReader::NoError && x.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                throw Error(notSheetMessage());
        }
        return names;
    }
    throw Error(notSheetMessage());
}

std::unique_ptr<RowSource> openSheet(const QString &path, int sheet)
{
    if (kindOf(path) == Kind::Ods)
        return std::make_unique<OdsSource>(path, sheet);
    Workbook book = readWorkbook(path);
    const QString entry = book.entries.value(sheet);
    if (entry.isEmpty())
        throw Error(notSheetMessage());
    return std::make_unique<XlsxSource>(path, entry, std::move(book));
}

} // namespace Transfer
