#include "core/collection/CollectionModel.h"

#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "core/editing/Money.h"
#include "core/platform/BigMemory.h"

#include <QCollator>
#include <QDate>
#include <QtGlobal>
#include <QLocale>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <exception>
#include <optional>
#include <thread>
#include <string_view>

namespace {

constexpr qint64 kBlockRecords = 256;
// A file is read in two halves at once.
constexpr int kParts = 2;
constexpr std::size_t kBlocksKept = 8;
constexpr char kSeparator = '\x01';

// Each byte of Windows-1252 text to its folded byte: lower case, without its
// accent; control characters become blanks so that they never join fields.
const std::array<char, 256> &foldTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            if (b < 32) {
                t[b] = ' ';
                continue;
            }
            const char byte = char(b);
            QString c = Windows1252::decode(&byte, 1);
            const QString decomposed = c.at(0).decomposition();
            if (!decomposed.isEmpty() && c.at(0).decompositionTag() == QChar::Canonical)
                c = decomposed.left(1);
            c = c.toLower();
            const QByteArray back = Windows1252::encode(c);
            t[b] = back.size() == 1 && back.at(0) != '?' ? back.at(0) : byte;
            if (c.at(0) == QLatin1Char('?'))
                t[b] = '?';
        }
        return t;
    }();
    return table;
}

// Folds `from`..`to` into `out` and returns the end of what it wrote. Runs
// of eight bytes that folding leaves as they are (blanks, digits, lower case,
// punctuation) are copied whole.
char *foldInto(const char *from, const char *to, char *out, const std::array<char, 256> &table)
{
    constexpr quint64 kEach = 0x0101010101010101ULL;
    constexpr quint64 kHigh = 0x80 * kEach;
    for (; to - from >= 8; from += 8, out += 8) {
        quint64 w;
        std::memcpy(&w, from, 8);
        // With no byte past 0x7F no sum below carries into the next byte.
        const bool plain = (w & kHigh) == 0
                           && ((w + 0x60 * kEach) & kHigh) == kHigh         // all >= 0x20
                           && ((w + 0x3F * kEach) & ~(w + 0x25 * kEach) & kHigh) == 0; // no A-Z
        if (plain) {
            std::memcpy(out, from, 8);
        } else {
            for (int i = 0; i < 8; ++i)
                out[i] = table[static_cast<unsigned char>(from[i])];
        }
    }
    for (; from != to; ++from)
        *out++ = table[static_cast<unsigned char>(*from)];
    return out;
}

// The fields a column list is made of: all but the attachments.
bool shownField(const FieldDef &f) { return f.role != FieldRole::Attachment; }

bool numericField(const FieldDef &f)
{
    return f.role == FieldRole::Money || f.name == "AnnoUscita" || f.name == "NumeroPezzi";
}

// Fields that hold a measure written with its unit ("1,2 kg", "40x30",
// "8+"): they sort by the number they begin with.
bool measureField(const FieldDef &f)
{
    for (std::string_view start : {"Peso", "Dimensioni", "Tempo", "Eta", "LivelloDifficolta"})
        if (f.name.starts_with(start))
            return true;
    return false;
}

// A whole text that reads as a date: dd/mm/yyyy, d/m/yy, yyyy-mm-dd, mm/yyyy
// (with "/", "-" or "." between the parts); its key orders dates by day, a
// month alone before its first day. Two-digit years up to 49 are 2000s.
bool dateKey(std::string_view t, quint64 &key)
{
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    char separator = 0;
    for (char ch : t) {
        if (ch >= '0' && ch <= '9') {
            if (count == 0)
                count = 1;
            if (++digits[count - 1] > 4)
                return false;
            parts[count - 1] = parts[count - 1] * 10 + (ch - '0');
        } else if ((ch == '/' || ch == '-' || ch == '.') && count > 0 && digits[count - 1] > 0
                   && count < 3 && (separator == 0 || separator == ch)) {
            separator = ch;
            ++count;
        } else {
            return false;
        }
    }
    if (count < 2 || digits[count - 1] == 0)
        return false;
    int day = 0, month = 0, year = 0;
    if (count == 2) {
        if (digits[0] > 2 || digits[1] != 4)
            return false;
        month = parts[0];
        year = parts[1];
    } else if (digits[0] == 4) {
        if (digits[1] > 2 || digits[2] > 2)
            return false;
        year = parts[0];
        month = parts[1];
        day = parts[2];
    } else {
        if (digits[0] > 2 || digits[1] > 2 || (digits[2] != 2 && digits[2] != 4))
            return false;
        day = parts[0];
        month = parts[1];
        year = digits[2] == 2 ? (parts[2] <= 49 ? 2000 : 1900) + parts[2] : parts[2];
    }
    if (month < 1 || month > 12)
        return false;
    // The day exists in the Gregorian calendar, as QDate has it (no year 0),
    // checked without building a date: the statistics read every card's.
    if (day != 0) {
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (year == 0 || day > kDays[month - 1] + (month == 2 && leap))
            return false;
    }
    key = quint64(year) * 10000 + quint64(month) * 100 + quint64(day);
    return true;
}

QString headerCaption(const FieldDef &f)
{
    QString c = f.captionText();
    if (c.endsWith(QStringLiteral("€")))
        c.chop(1);
    c = c.trimmed();
    if (c.endsWith(QLatin1Char(':')))
        c.chop(1);
    return c;
}

// Fields of the two layouts that the whole collection shows in one column.
struct Pair {
    std::string_view set, moc;
    const char *caption;
};
constexpr Pair kPairs[] = {
    {"NomeSet", "NomeProgetto", "Nome"},
    {"CodiceSet", "CodiceID", "Codice"},
    {"Valore", "CostoTotale", "Valore / costo"},
};

// A number at the start of a text: digits with "." between thousands and
// an optional comma and decimals ("1.500", "2010", "12,50 circa").
bool leadingNumber(std::string_view t, double &value)
{
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ')
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    double v = 0;
    bool digits = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            v = v * 10 + (t[i] - '0');
            digits = true;
        } else if (t[i] == '.' && digits && i + 1 < t.size() && t[i + 1] >= '0' && t[i + 1] <= '9') {
            continue;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < t.size() && t[i] == ',') {
        double scale = 0.1;
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, scale /= 10)
            v += (t[i] - '0') * scale;
    }
    value = negative ? -v : v;
    return true;
}

// The order the list sorts texts in.
QCollator italianCollator()
{
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The bytes of folded text that the collation weighs one by one, each on its
// own: for each, its place in Italian order among them, from 1; 0 for every
// other byte. Two texts made of such bytes compare as their places do, the
// shorter first when it begins the longer. The places are taken from the
// collation keys themselves, and a byte that does not behave so is left out.
const std::array<quint8, 256> &plainRanks()
{
    static const std::array<quint8, 256> ranks = [] {
        std::array<quint8, 256> r{};
        const QCollator collator = italianCollator();
        const auto text = [](std::initializer_list<char> bytes) {
            QString t;
            for (char b : bytes)
                t += QLatin1Char(b);
            return t;
        };
        std::vector<char> plain;
        for (char b = ' '; b < 0x7F; ++b)
            if (b < 'A' || b > 'Z') // folded text has no capitals
                plain.push_back(b);
        const auto before = [&](const QString &a, const QString &b) {
            return collator.sortKey(a).compare(collator.sortKey(b)) < 0;
        };
        std::stable_sort(plain.begin(), plain.end(),
                         [&](char a, char b) { return before(text({a}), text({b})); });
        std::vector<bool> kept(plain.size(), true);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            // It weighs something, and nothing else weighs the same.
            if (!before(text({'a'}), text({'a', plain[i]})))
                kept[i] = false;
            if (i + 1 < plain.size() && !before(text({plain[i]}), text({plain[i + 1]})))
                kept[i] = kept[i + 1] = false;
        }
        std::vector<char> order;
        for (std::size_t i = 0; i < plain.size(); ++i)
            if (kept[i])
                order.push_back(plain[i]);
        if (order.size() < 2)
            return r;
        // A difference in first place decides whatever follows.
        for (std::size_t i = 0; i + 1 < order.size(); ++i)
            if (!before(text({order[i], order.back()}), text({order[i + 1], order.front()}))
                || !before(text({order[i]}), text({order[i + 1]})))
                return r;
        for (std::size_t i = 0; i < order.size(); ++i)
            r[static_cast<unsigned char>(order[i])] = quint8(i + 1);
        return r;
    }();
    return ranks;
}

} // namespace

const FieldDef *CollectionModel::Column::fieldFor(const RecordLayout &layout) const
{
    return &layout == &Schede::TSchedaSet ? setField : mocField;
}

QByteArray CollectionModel::fold(const QString &text)
{
    QByteArray bytes = Windows1252::encode(text);
    const auto &table = foldTable();
    for (char &c : bytes)
        c = table[static_cast<unsigned char>(c)];
    return bytes;
}

QString moneyText(qint64 cents)
{
    // Thousands grouped with points, as an Italian reader writes amounts; the
    // record fields themselves never hold a group separator.
    QString text = Money::fromCents(cents);
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype at = comma - 3; at > first; at -= 3)
        text.insert(at, QLatin1Char('.'));
    return text + QStringLiteral(" €");
}

CollectionModel::CollectionModel(QObject *parent) : QAbstractTableModel(parent) {}

void CollectionModel::buildColumns()
{
    columns_.clear();
    const bool hasSet = std::any_of(files_.begin(), files_.end(),
                                    [](const CardFile &f) { return !f.archive; });
    const bool hasMoc = std::any_of(files_.begin(), files_.end(),
                                    [](const CardFile &f) { return f.archive; });
    if (files_.size() > 1)
        columns_ << Column{QStringLiteral("Archivio"), nullptr, nullptr, true, false};
    const RecordLayout &set = Schede::TSchedaSet;
    const RecordLayout &moc = Schede::TSchedaMOC;
    QList<const FieldDef *> mocTaken;
    if (hasSet) {
        for (const FieldDef &f : set.fields) {
            if (!shownField(f))
                continue;
            Column c{headerCaption(f), &f, nullptr, false, numericField(f)};
            if (hasMoc) {
                for (const Pair &p : kPairs)
                    if (p.set == f.name) {
                        c.mocField = moc.field(p.moc);
                        c.caption = QString::fromUtf8(p.caption);
                    }
                if (!c.mocField && f.role != FieldRole::Money)
                    c.mocField = moc.field(f.name);
                if (c.mocField)
                    mocTaken << c.mocField;
            }
            columns_ << c;
        }
    }
    if (hasMoc) {
        for (const FieldDef &f : moc.fields)
            if (shownField(f) && !mocTaken.contains(&f))
                columns_ << Column{headerCaption(f), nullptr, &f, false, numericField(f)};
    }
}

CollectionModel::Row CollectionModel::readRow(const char *record, const RecordLayout &layout, qint64 index,
                                              int fileNumber)
{
    Row row{quint32(index), quint16(fileNumber), false, false, 0};
    row.forSale = Record::bytesAt(record, layout.forSale()) == QByteArrayView("S\xEC", 2);
    const QByteArrayView amount = Record::bytesAt(record, layout.money());
    std::optional<qint64> cents = Money::normalCents(std::string_view(amount.data(), std::size_t(amount.size())));
    if (!cents)
        cents = Money::cents(Windows1252::decode(amount.data(), amount.size()));
    if (cents) {
        row.readable = true;
        row.cents = *cents;
    }
    return row;
}

void CollectionModel::appendScanned(int fileNumber, std::vector<Row> &rows) const
{
    const CardFile &file = files_.at(fileNumber);
    const RecordLayout &layout = *file.layout;
    std::vector<std::vector<Row>> parts(kParts);
    file.store().scanParts(
        kParts,
        [&](int part, const char *record, qint64 index) {
            parts[std::size_t(part)].push_back(readRow(record, layout, index, fileNumber));
        },
        [](int) {},
        [&](qint64 count) {
            for (std::vector<Row> &p : parts)
                p.reserve(std::size_t(count / kParts + 1));
        });
    for (const std::vector<Row> &p : parts)
        rows.insert(rows.end(), p.begin(), p.end());
}

void CollectionModel::start(const QList<CardFile> &files)
{
    files_ = files;
    rows_.clear();
    folded_.clear();
    texts_.clear();
    blocks_.clear();
    filter_.clear();
    foldedFilter_.clear();
    pending_ = false;
    buildColumns();
}

void CollectionModel::showInFileOrder()
{
    order_.resize(rows_.size());
    for (std::size_t i = 0; i < order_.size(); ++i)
        order_[i] = quint32(i);
    shown_ = order_;
}

void CollectionModel::clearRows()
{
    rows_.clear();
    folded_.clear();
    texts_.clear();
    order_.clear();
    shown_.clear();
    pending_ = false;
}

void CollectionModel::load(const QList<CardFile> &files)
{
    // One pass over each file for what the rows and the totals need; the
    // folded text for the filter and the sort is made when first asked
    // for, so the window opens at the speed of a read.
    prepare(files);
    completeLoad();
}

qint64 CollectionModel::prepare(const QList<CardFile> &files)
{
    beginResetModel();
    start(files);
    try {
        for (int fi = 0; fi < files_.size(); ++fi) {
            const qint64 count = files_.at(fi).store().count();
            rows_.reserve(rows_.size() + std::size_t(count));
            for (qint64 i = 0; i < count; ++i)
                rows_.push_back(Row{quint32(i), quint16(fi), false, false, 0});
        }
    } catch (...) {
        clearRows();
        endResetModel();
        throw;
    }
    showInFileOrder();
    pending_ = true;
    endResetModel();
    return qint64(rows_.size());
}

void CollectionModel::completeLoad()
{
    if (!pending_)
        return;
    pending_ = false;
    std::vector<Row> rows;
    rows.reserve(rows_.size());
    try {
        for (int fi = 0; fi < files_.size(); ++fi)
            appendScanned(fi, rows);
    } catch (...) {
        beginResetModel();
        clearRows();
        endResetModel();
        throw;
    }
    const bool same = rows.size() == rows_.size()
                      && std::equal(rows.begin(), rows.end(), rows_.begin(),
                                    [](const Row &a, const Row &b) { return a.file == b.file; });
    if (same) {
        // The same cards: the rows, their order and the filter stay.
        rows_ = std::move(rows);
        return;
    }
    // A file changed size since it was counted: its cards as they are now.
    beginResetModel();
    rows_ = std::move(rows);
    folded_.clear();
    texts_.clear();
    blocks_.clear();
    filter_.clear();
    foldedFilter_.clear();
    showInFileOrder();
    endResetModel();
}

void CollectionModel::ensureTexts()
{
    if (texts_.size() == rows_.size())
        return;
    texts_.assign(rows_.size(), std::string_view());
    folded_.clear();
    const auto &table = foldTable();
    // The rows of each file are one run of rows_, in file order.
    std::size_t start = 0;
    for (int fi = 0; fi < files_.size(); ++fi) {
        std::size_t count = 0;
        while (start + count < rows_.size() && rows_[start + count].file == fi)
            ++count;
        if (count == 0)
            continue;
        const CardFile &file = files_.at(fi);
        const RecordLayout &layout = *file.layout;
        // The most a card's folded text can take: every field full, and its separators.
        std::size_t widest = 0;
        for (const FieldDef &f : layout.fields)
            widest += std::size_t(f.capacity) + 1;
        struct Part {
            platform::BigBlock room;
            std::size_t size = 0;
            std::vector<std::pair<qint64, std::size_t>> ends; // card, end of its text
        };
        std::vector<Part> parts(kParts);
        try {
            file.store().scanParts(
                kParts,
                [&](int partNo, const char *record, qint64 index) {
                    if (std::size_t(index) >= count)
                        return; // the file grew since it was loaded
                    Part &part = parts[std::size_t(partNo)];
                    char *const begin = part.room.data() + part.size;
                    char *out = begin;
                    bool firstField = true;
                    for (const FieldDef &f : layout.fields) {
                        if (!firstField)
                            *out++ = kSeparator;
                        firstField = false;
                        const QByteArrayView bytes = Record::bytesAt(record, f);
                        out = foldInto(bytes.data(), bytes.data() + bytes.size(), out, table);
                    }
                    part.size += std::size_t(out - begin);
                    part.ends.emplace_back(index, part.size);
                },
                [](int) {},
                [&](qint64 cards) {
                    const std::size_t most = std::size_t(std::min<qint64>(cards, qint64(count)) / kParts + 1);
                    for (Part &part : parts) {
                        part.room = platform::BigBlock(widest * most);
                        part.ends.reserve(most);
                    }
                });
        } catch (...) {
            // The file cannot be read again: its cards keep no text, so the
            // filter passes over them and the sort puts them together.
            start += count;
            continue;
        }
        for (Part &part : parts) {
            std::size_t from = 0;
            for (const auto &[index, end] : part.ends) {
                texts_[start + std::size_t(index)] = std::string_view(part.room.data() + from, end - from);
                from = end;
            }
            part.room.keep(part.size);
            folded_.push_back(std::move(part.room));
        }
        start += count;
    }
}

int CollectionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

int CollectionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

const QByteArray &CollectionModel::block(int file, qint64 number) const
{
    for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
        if (it->file == file && it->number == number) {
            blocks_.splice(blocks_.begin(), blocks_, it);
            return blocks_.front().bytes;
        }
    }
    QByteArray bytes;
    try {
        bytes = files_.at(file).store().readRange(number * kBlockRecords, kBlockRecords);
    } catch (const CardStore::Failure &) {
        // The view shows empty cells; the next action that opens the file
        // reports the failure.
    }
    blocks_.push_front(Block{file, number, bytes});
    if (blocks_.size() > kBlocksKept)
        blocks_.pop_back();
    return blocks_.front().bytes;
}

QString CollectionModel::cellText(quint32 r, int column) const
{
    const Row &row = rows_[r];
    const CardFile &file = files_.at(row.file);
    const Column &c = columns_.at(column);
    if (c.fileColumn)
        return file.name;
    const FieldDef *f = c.fieldFor(*file.layout);
    if (!f)
        return {};
    const QByteArray &bytes = block(row.file, row.index / kBlockRecords);
    const qint64 offset = (row.index % kBlockRecords) * file.layout->size;
    if (offset + file.layout->size > bytes.size())
        return {};
    return Record::textAt(bytes.constData() + offset, *f);
}

QString CollectionModel::text(int row, int column) const
{
    if (row < 0 || std::size_t(row) >= shown_.size() || column < 0 || column >= columns_.size())
        return {};
    return cellText(shown_[std::size_t(row)], column);
}

QVariant CollectionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && columns_.at(index.column()).numeric)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant CollectionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns_.size() ? columns_.at(section).caption : QString();
    if (section < 0 || std::size_t(section) >= shown_.size())
        return {};
    return QString::number(rows_[shown_[std::size_t(section)]].index + 1);
}

CollectionModel::CardRef CollectionModel::card(int row) const
{
    if (row < 0 || std::size_t(row) >= shown_.size())
        return {};
    const Row &r = rows_[shown_[std::size_t(row)]];
    return CardRef{r.file, qint64(r.index)};
}

QString CollectionModel::cardTitle(int row) const
{
    const CardRef ref = card(row);
    if (ref.file < 0)
        return {};
    const CardFile &file = files_.at(ref.file);
    int nameColumn = 0;
    while (nameColumn < columns_.size() && columns_.at(nameColumn).fileColumn)
        ++nameColumn;
    return QStringLiteral("%1, scheda %2: %3")
        .arg(file.name)
        .arg(ref.index + 1)
        .arg(text(row, nameColumn));
}

void CollectionModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columns_.size())
        return;
    if (pending_) {
        // Amounts sort by their value: read them first. A file that cannot
        // be read empties the model, which then has nothing to sort.
        try {
            completeLoad();
        } catch (...) {
            return;
        }
    }
    ensureTexts();
    const Column &c = columns_.at(column);
    // Every row gets a small key once, and the sort moves the keys: numbers
    // by their value, texts by the places of their first plain bytes. Where
    // these cannot decide, texts are compared by all their plain bytes, and
    // where not even those can, by their Italian collation keys, made when
    // first needed.
    // What a cell reads as: dates come first, then numbers, then the texts
    // that are neither, whichever way the column is sorted.
    enum Kind : quint8 { Date, Number, Text };
    struct Entry {
        quint64 head;     // a date's day, a number's value in integer order, or a text's first places
        quint32 row;
        Kind kind;
        bool whole;       // head holds the whole text
    };
    const QCollator collator = italianCollator();
    const std::array<quint8, 256> &rank = plainRanks();
    std::vector<std::string_view> texts(rows_.size());
    std::vector<Entry> entries(order_.size());
    // The position of each field of a layout among a row's folded fields.
    auto fieldNumber = [](const RecordLayout &layout, const FieldDef *f) {
        return f ? int(f - layout.fields.data()) : -1;
    };
    // A number as an integer of the same order.
    const auto numberHead = [](double v) {
        if (v == 0)
            v = 0; // -0 ranks with 0
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        return (bits & (quint64(1) << 63)) ? ~bits : bits | (quint64(1) << 63);
    };
    // The file column compares files by their names' places in collation order.
    std::vector<int> filePlace(std::size_t(files_.size()), 0);
    if (c.fileColumn) {
        std::vector<int> byName(filePlace.size());
        for (std::size_t f = 0; f < byName.size(); ++f)
            byName[f] = int(f);
        std::vector<QCollatorSortKey> names;
        for (const CardFile &f : files_)
            names.push_back(collator.sortKey(f.name));
        const auto nameOrder = [&](int a, int b) {
            return names[std::size_t(a)].compare(names[std::size_t(b)]);
        };
        std::stable_sort(byName.begin(), byName.end(), [&](int a, int b) { return nameOrder(a, b) < 0; });
        for (std::size_t i = 1; i < byName.size(); ++i)
            filePlace[std::size_t(byName[i])] = filePlace[std::size_t(byName[i - 1])]
                                                + (nameOrder(byName[i - 1], byName[i]) < 0 ? 1 : 0);
    }
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const quint32 r = order_[i];
        const CardFile &file = files_.at(rows_[r].file);
        Entry &e = entries[i];
        e = Entry{0, r, Number, false};
        if (c.fileColumn) {
            e.head = quint64(filePlace[rows_[r].file]);
            continue;
        }
        std::string_view t;
        const int n = fieldNumber(*file.layout, c.fieldFor(*file.layout));
        if (n >= 0) {
            const char *p = texts_[r].data();
            const char *end = p + texts_[r].size();
            for (int k = 0; k < n; ++k)
                p = std::find(p, end, kSeparator) + 1;
            t = std::string_view(p, std::size_t(std::find(p, end, kSeparator) - p));
        }
        const FieldDef *field = c.fieldFor(*file.layout);
        if (c.numeric || (field && measureField(*field))) {
            double value = 0;
            bool number = false;
            if (field->role == FieldRole::Money) {
                number = rows_[r].readable;
                value = double(rows_[r].cents);
            } else {
                number = leadingNumber(t, value);
            }
            if (number) {
                e.head = numberHead(value);
                continue;
            }
        } else if (field && dateKey(t, e.head)) {
            e.kind = Date;
            continue;
        }
        e.kind = Text;
        texts[r] = t;
        std::size_t taken = 0;
        for (; taken < std::min<std::size_t>(8, t.size()); ++taken) {
            const quint8 place = rank[static_cast<unsigned char>(t[taken])];
            if (place == 0)
                break;
            e.head |= quint64(place) << (56 - 8 * taken);
        }
        e.whole = taken == t.size();
    }
    std::vector<std::optional<QCollatorSortKey>> collationKeys(rows_.size());
    const auto collationKey = [&](quint32 r) -> const QCollatorSortKey & {
        std::optional<QCollatorSortKey> &k = collationKeys[r];
        if (!k)
            k.emplace(collator.sortKey(Windows1252::decode(texts[r].data(), qsizetype(texts[r].size()))));
        return *k;
    };
    // -1, 0 or 1 where the plain bytes decide, 2 where only the collation can.
    constexpr int kUndecided = 2;
    const auto plainCompare = [&](std::string_view x, std::string_view y) {
        const std::size_t n = std::min(x.size(), y.size());
        if (x == y)
            return 0;
        for (std::size_t i = 0; i < n; ++i) {
            const quint8 a = rank[static_cast<unsigned char>(x[i])];
            const quint8 b = rank[static_cast<unsigned char>(y[i])];
            if (a == 0 || b == 0)
                return kUndecided;
            if (a != b)
                return a < b ? -1 : 1;
        }
        // One text begins the other: the longer comes after when it goes on
        // with a plain byte, which always weighs something.
        if (x.size() < y.size())
            return rank[static_cast<unsigned char>(y[n])] != 0 ? -1 : kUndecided;
        return rank[static_cast<unsigned char>(x[n])] != 0 ? 1 : kUndecided;
    };
    // Within one kind of cell.
    auto less = [&](const Entry &x, const Entry &y) {
        if (x.kind != Text)
            return x.head < y.head;
        if (x.head != y.head) {
            // The first differing place decides when both texts have one there.
            const int shift = 56 - (std::countl_zero(x.head ^ y.head) & ~7);
            const quint64 a = (x.head >> shift) & 0xFF;
            const quint64 b = (y.head >> shift) & 0xFF;
            if (a != 0 && b != 0)
                return a < b;
        } else if (x.whole && y.whole) {
            return false; // the same text
        }
        const int plain = plainCompare(texts[x.row], texts[y.row]);
        if (plain != kUndecided)
            return plain < 0;
        return collationKey(x.row).compare(collationKey(y.row)) < 0;
    };
    const bool ascending = order == Qt::AscendingOrder;
    emit layoutAboutToBeChanged();
    const std::vector<quint32> before = shown_;
    if (ascending)
        std::stable_sort(entries.begin(), entries.end(), [&](const Entry &x, const Entry &y) {
            return x.kind != y.kind ? x.kind < y.kind : less(x, y);
        });
    else
        std::stable_sort(entries.begin(), entries.end(), [&](const Entry &x, const Entry &y) {
            return x.kind != y.kind ? x.kind < y.kind : less(y, x);
        });
    for (std::size_t i = 0; i < entries.size(); ++i)
        order_[i] = entries[i].row;
    const QByteArray kept = foldedFilter_;
    if (kept.isEmpty()) {
        shown_ = order_;
    } else {
        std::vector<char> pass(rows_.size(), 0);
        for (quint32 r : shown_)
            pass[r] = 1;
        shown_.clear();
        for (quint32 r : order_)
            if (pass[r])
                shown_.push_back(r);
    }
    // The view's current and selected cards stay the same cards.
    std::vector<int> place(rows_.size(), -1);
    for (std::size_t i = 0; i < shown_.size(); ++i)
        place[shown_[i]] = int(i);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex &p : persistent) {
        const int row = std::size_t(p.row()) < before.size() ? place[before[std::size_t(p.row())]] : -1;
        moved << (row < 0 ? QModelIndex() : index(row, p.column()));
    }
    changePersistentIndexList(persistent, moved);
    emit layoutChanged();
}

void CollectionModel::setFilter(const QString &text)
{
    const QByteArray needle = fold(text.trimmed());
    if (needle == foldedFilter_) {
        filter_ = text;
        return;
    }
    // A longer text can only narrow what the shorter one let through.
    const bool narrowing = !foldedFilter_.isEmpty() && needle.contains(foldedFilter_);
    const std::vector<quint32> &from = narrowing ? shown_ : order_;
    std::vector<quint32> result;
    if (needle.isEmpty()) {
        result = order_;
    } else {
        ensureTexts();
        const std::string_view n(needle.constData(), std::size_t(needle.size()));
        result.reserve(from.size());
        for (quint32 r : from) {
            const std::string_view &row = texts_[r];
            if (row.find(n) != std::string_view::npos)
                result.push_back(r);
        }
    }
    beginResetModel();
    filter_ = text;
    foldedFilter_ = needle;
    shown_ = std::move(result);
    endResetModel();
}

void CollectionModel::addToTotals(Totals &t, quint32 r) const
{
    const Row &row = rows_[r];
    ++t.cards;
    if (!row.readable) {
        ++t.unreadable;
        if (t.unreadableCards.size() < 50) {
            const CardFile &file = files_.at(row.file);
            QString amount;
            const QByteArray &bytes = block(row.file, row.index / kBlockRecords);
            const qint64 offset = (row.index % kBlockRecords) * file.layout->size;
            if (offset + file.layout->size <= bytes.size())
                amount = Record::textAt(bytes.constData() + offset, file.layout->money());
            t.unreadableCards << QStringLiteral("%1, scheda %2: «%3»")
                                     .arg(file.name)
                                     .arg(qint64(row.index) + 1)
                                     .arg(amount);
        }
        if (row.forSale)
            ++t.forSale;
        return;
    }
    t.overflow |= qAddOverflow(t.cents, row.cents, &t.cents);
    if (row.forSale) {
        ++t.forSale;
        t.overflow |= qAddOverflow(t.forSaleCents, row.cents, &t.forSaleCents);
    }
}

CollectionModel::Totals CollectionModel::totalsAll() const
{
    Totals t;
    for (quint32 r = 0; r < rows_.size(); ++r)
        addToTotals(t, r);
    return t;
}

CollectionModel::Totals CollectionModel::totalsShown() const
{
    Totals t;
    for (quint32 r : shown_)
        addToTotals(t, r);
    return t;
}

CollectionModel::Totals CollectionModel::totalsOf(const QList<int> &shownRows) const
{
    Totals t;
    for (int row : shownRows)
        if (row >= 0 && std::size_t(row) < shown_.size())
            addToTotals(t, shown_[std::size_t(row)]);
    return t;
}

bool collectionDateKey(std::string_view text, quint64 &key) { return dateKey(text, key); }
