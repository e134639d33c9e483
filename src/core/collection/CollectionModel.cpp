#include "core/collection/CollectionModel.h"

#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "core/collection/CollectionSort.h"
#include "core/collection/Folding.h"
#include "core/editing/Money.h"
#include "core/platform/BigMemory.h"

#include <QtGlobal>
#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>

namespace {

constexpr qint64 kBlockRecords = 256;
// A file is read in two halves at once.
constexpr int kParts = 2;
constexpr std::size_t kBlocksKept = 8;
using Folding::kSeparator;

// The fields a column list is made of: all but the attachments.
bool shownField(const FieldDef &f) { return f.role != FieldRole::Attachment; }

bool numericField(const FieldDef &f)
{
    return f.role == FieldRole::Money || f.name == "AnnoUscita" || f.name == "NumeroPezzi";
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

} // namespace

const FieldDef *CollectionModel::Column::fieldFor(const RecordLayout &layout) const
{
    return &layout == &Schede::TSchedaSet ? setField : mocField;
}

QByteArray CollectionModel::fold(const QString &text) { return Folding::fold(text); }

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
                p.reserve(std::size_t(CardStore::mostPerPart(count, kParts)));
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
    const auto &table = Folding::table();
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
                        out = Folding::into(bytes.data(), bytes.data() + bytes.size(), out, table);
                    }
                    part.size += std::size_t(out - begin);
                    part.ends.emplace_back(index, part.size);
                },
                [](int) {},
                [&](qint64 cards) {
                    const std::size_t most = std::size_t(CardStore::mostPerPart(cards, kParts));
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

std::string_view CollectionModel::foldedField(quint32 row, int field) const
{
    if (field < 0)
        return {};
    const char *p = texts_[row].data();
    const char *end = p + texts_[row].size();
    for (int k = 0; k < field; ++k)
        p = std::find(p, end, kSeparator) + 1;
    return std::string_view(p, std::size_t(std::find(p, end, kSeparator) - p));
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
    CollectionSort::Cells cells(rows_.size());
    // The file column compares files by their names' places in collation order.
    std::vector<int> filePlace;
    if (c.fileColumn) {
        QList<QString> names;
        for (const CardFile &f : files_)
            names << f.name;
        filePlace = CollectionSort::places(names);
    }
    for (const quint32 r : order_) {
        const Row &row = rows_[r];
        if (c.fileColumn) {
            cells.addPlace(r, quint64(filePlace[row.file]));
            continue;
        }
        const RecordLayout &layout = *files_.at(row.file).layout;
        const FieldDef *field = c.fieldFor(layout);
        const std::string_view t = foldedField(r, field ? int(field - layout.fields.data()) : -1);
        quint64 day = 0;
        if (field && (c.numeric || CollectionSort::measureField(*field))) {
            double value = 0;
            bool number = false;
            if (field->role == FieldRole::Money) {
                number = row.readable;
                value = double(row.cents);
            } else {
                number = CollectionSort::leadingNumber(t, value);
            }
            if (number) {
                cells.addNumber(r, value);
                continue;
            }
        } else if (field && CollectionSort::dateKey(t, day)) {
            cells.addDate(r, day);
            continue;
        }
        cells.addText(r, t);
    }
    showInOrder(cells.sorted(order));
}

void CollectionModel::showInOrder(std::vector<quint32> order)
{
    emit layoutAboutToBeChanged();
    const std::vector<quint32> before = shown_;
    order_ = std::move(order);
    if (foldedFilter_.isEmpty()) {
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

bool collectionDateKey(std::string_view text, quint64 &key) { return CollectionSort::dateKey(text, key); }
