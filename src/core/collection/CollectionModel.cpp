#include "core/collection/CollectionModel.h"

#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "core/editing/Money.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr qint64 kBlockRecords = 256;
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

QString moneyText(qint64 cents) { return Money::fromCents(cents) + QStringLiteral(" €"); }

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

void CollectionModel::load(const QList<CardFile> &files)
{
    beginResetModel();
    files_ = files;
    rows_.clear();
    folded_.clear();
    offsets_.clear();
    blocks_.clear();
    filter_.clear();
    foldedFilter_.clear();
    buildColumns();
    const auto &table = foldTable();
    try {
        for (int fi = 0; fi < files_.size(); ++fi) {
            const CardFile &file = files_.at(fi);
            const RecordLayout &layout = *file.layout;
            const FieldDef &money = layout.money();
            const FieldDef &forSale = layout.forSale();
            file.store().scan(
                [&](const char *record, qint64 index) {
                    Row row{quint32(index), quint16(fi), false, false, 0};
                    const QByteArrayView sale = Record::bytesAt(record, forSale);
                    row.forSale = sale == QByteArrayView("S\xEC", 2);
                    const QByteArrayView amount = Record::bytesAt(record, money);
                    if (const auto c = Money::cents(Windows1252::decode(amount.data(), amount.size()))) {
                        row.readable = true;
                        row.cents = *c;
                    }
                    offsets_.push_back(quint32(folded_.size()));
                    bool first = true;
                    for (const FieldDef &f : layout.fields) {
                        if (!first)
                            folded_.append(kSeparator);
                        first = false;
                        const QByteArrayView bytes = Record::bytesAt(record, f);
                        const qsizetype at = folded_.size();
                        folded_.append(bytes.data(), bytes.size());
                        for (char *c = folded_.data() + at, *end = folded_.data() + folded_.size();
                             c != end; ++c)
                            *c = table[static_cast<unsigned char>(*c)];
                    }
                    rows_.push_back(row);
                },
                [&](qint64 count) {
                    rows_.reserve(rows_.size() + std::size_t(count));
                    offsets_.reserve(offsets_.size() + std::size_t(count) + 1);
                });
        }
    } catch (...) {
        rows_.clear();
        folded_.clear();
        offsets_.clear();
        order_.clear();
        shown_.clear();
        endResetModel();
        throw;
    }
    offsets_.push_back(quint32(folded_.size()));
    folded_.squeeze();
    order_.resize(rows_.size());
    for (std::size_t i = 0; i < order_.size(); ++i)
        order_[i] = quint32(i);
    shown_ = order_;
    endResetModel();
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
    const Column &c = columns_.at(column);
    // Every row gets its key once; the sort then compares keys only.
    struct Key {
        bool number = false;
        double value = 0;
        qsizetype text = -1; // into textKeys
    };
    std::vector<QCollatorSortKey> textKeys;
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<Key> keys(rows_.size());
    // The position of each field of a layout among a row's folded fields.
    auto fieldNumber = [](const RecordLayout &layout, const FieldDef *f) {
        return f ? int(f - layout.fields.data()) : -1;
    };
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const CardFile &file = files_.at(rows_[r].file);
        Key &key = keys[r];
        QByteArrayView t;
        QString decoded;
        if (c.fileColumn) {
            decoded = file.name;
        } else {
            const int n = fieldNumber(*file.layout, c.fieldFor(*file.layout));
            if (n >= 0) {
                const char *p = folded_.constData() + offsets_[r];
                const char *end = folded_.constData() + offsets_[r + 1];
                for (int i = 0; i < n; ++i)
                    p = std::find(p, end, kSeparator) + 1;
                t = QByteArrayView(p, std::find(p, end, kSeparator) - p);
            }
            if (c.numeric) {
                if (c.fieldFor(*file.layout)->role == FieldRole::Money) {
                    key.number = rows_[r].readable;
                    key.value = double(rows_[r].cents);
                } else {
                    key.number = leadingNumber(std::string_view(t.data(), t.size()), key.value);
                }
            }
            if (!key.number)
                decoded = Windows1252::decode(t.data(), t.size());
        }
        if (!key.number) {
            key.text = qsizetype(textKeys.size());
            textKeys.push_back(collator.sortKey(decoded));
        }
    }
    const bool ascending = order == Qt::AscendingOrder;
    auto less = [&](quint32 a, quint32 b) {
        const Key &x = keys[a];
        const Key &y = keys[b];
        if (x.number != y.number)
            return x.number; // numbers before texts
        if (x.number)
            return x.value < y.value;
        return textKeys[std::size_t(x.text)].compare(textKeys[std::size_t(y.text)]) < 0;
    };
    emit layoutAboutToBeChanged();
    const std::vector<quint32> before = shown_;
    if (ascending)
        std::stable_sort(order_.begin(), order_.end(), less);
    else
        std::stable_sort(order_.begin(), order_.end(),
                         [&](quint32 a, quint32 b) { return less(b, a); });
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
        const std::string_view n(needle.constData(), std::size_t(needle.size()));
        result.reserve(from.size());
        for (quint32 r : from) {
            const std::string_view row(folded_.constData() + offsets_[r],
                                       offsets_[r + 1] - offsets_[r]);
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
    t.overflow |= __builtin_add_overflow(t.cents, row.cents, &t.cents);
    if (row.forSale) {
        ++t.forSale;
        t.overflow |= __builtin_add_overflow(t.forSaleCents, row.cents, &t.forSaleCents);
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
