#include "core/output/ExportModel.h"

#include "core/cards/CardStore.h"
#include "core/cards/Windows1252.h"

#include <QBrush>
#include <QColor>
#include <cstring>

QString ExportColumn::headingIn(const RecordLayout &layout) const
{
    if (heading)
        return QString::fromUtf8(heading);
    const FieldDef *def = layout.field(field);
    if (!def)
        return {};
    const QString caption = def->captionText();
    return caption.left(caption.indexOf(QLatin1Char(':'))).trimmed();
}

ExportModel::ExportModel(const RecordLayout &layout, std::span<const ExportColumn> columns,
                         QObject *parent)
    : QAbstractTableModel(parent), layout_(layout), columns_(columns)
{
    for (const ExportColumn &c : columns)
        fields_.push_back(c.field.empty() ? nullptr : layout.field(c.field));
}

bool ExportModel::load(const CardStore &cards)
{
    // The grid is reset only once the file is open and holds cards; until
    // then it keeps its empty design rows.
    constexpr int kRuns = 2;
    std::vector<Run> runs(kRuns);
    std::vector<int> read(kRuns, 0);
    bool complete = true;
    qint64 count = 0;
    try {
        cards.scanParts(
            kRuns,
            [&](int part, const char *record, qint64 index) {
                Run &run = runs[size_t(part)];
                if (read[size_t(part)]++ == 0)
                    run.firstRow = int(index);
                for (const FieldDef *f : fields_) {
                    if (f) {
                        const QByteArrayView text = Record::bytesAt(record, *f);
                        std::memcpy(run.bytes.grow(size_t(text.size())), text.data(), size_t(text.size()));
                    }
                    run.offsets.push_back(quint32(run.bytes.size()));
                }
            },
            [](int) {},
            [&](qint64 records) {
                count = records;
                // Room for every field full: only what is written is taken.
                std::size_t widest = 0;
                for (const FieldDef *f : fields_)
                    widest += f ? std::size_t(f->capacity) : 0;
                const auto most = size_t(CardStore::mostPerPart(records, kRuns));
                for (Run &run : runs) {
                    run.offsets = platform::BigArray<quint32>(most * fields_.size() + 1);
                    run.offsets.push_back(0);
                    run.bytes = platform::BigArray<char>(most * widest);
                }
            });
    } catch (const CardStore::Failure &) {
        complete = false;
    }
    if (count == 0)
        return complete;
    // Rows of a run cut short by a failure are left empty.
    beginResetModel();
    rows_ = int(count);
    loaded_ = true;
    runs_.clear();
    for (int part = 0; part < kRuns; ++part) {
        if (read[size_t(part)] > 0) {
            runs[size_t(part)].bytes.trim();
            runs[size_t(part)].offsets.trim();
            runs_.push_back(std::move(runs[size_t(part)]));
        }
    }
    endResetModel();
    return complete;
}

int ExportModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }

int ExportModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QByteArrayView ExportModel::stored(int row, int column) const
{
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (row < run->firstRow)
            continue;
        const std::size_t cell = std::size_t(row - run->firstRow) * columns_.size() + std::size_t(column);
        if (cell + 1 >= run->offsets.size())
            return {};
        return QByteArrayView(run->bytes.data() + run->offsets[cell],
                              run->offsets[cell + 1] - run->offsets[cell]);
    }
    return {};
}

QString ExportModel::cellText(int row, int column) const
{
    if (column == 0)
        return loaded_ ? QString::number(row + 1) : QString();
    const qint64 key = qint64(row) * columns_.size() + column;
    if (auto edit = edits_.constFind(key); edit != edits_.constEnd())
        return *edit;
    const QByteArrayView bytes = stored(row, column);
    return Windows1252::decode(bytes.data(), bytes.size());
}

QByteArrayView ExportModel::cellBytes(int row, int column, QByteArray &scratch) const
{
    if (!edits_.isEmpty()) {
        const qint64 key = qint64(row) * columns_.size() + column;
        if (auto edit = edits_.constFind(key); edit != edits_.constEnd()) {
            scratch = Windows1252::encode(*edit);
            return scratch;
        }
    }
    return stored(row, column);
}

QVariant ExportModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index.row(), index.column());
    return {};
}

QVariant ExportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(columns_.size()))
        return columns_[section].headingIn(layout_);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ExportModel::flags(const QModelIndex &index) const
{
    // The root is no cell: it has no flags.
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (columns_[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ExportModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !columns_[index.column()].editable)
        return false;
    edits_.insert(qint64(index.row()) * columns_.size() + index.column(), value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

int ExportModel::columnNamed(std::string_view name) const
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == name)
            return int(i);
    return -1;
}
