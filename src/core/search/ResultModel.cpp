#include "core/search/ResultModel.h"

#include "core/app/Text.h"

#include <QColor>
#include <QFontMetrics>
#include <algorithm>

ResultModel::ResultModel(QObject *parent) : QAbstractListModel(parent), font_(lineFont())
{
    // Long lines scroll sideways: every item is 1600 wide.
    itemSize_ = QSize(1600, QFontMetrics(font_).height() + 2);
}

QFont ResultModel::lineFont()
{
    QFont font(QStringLiteral("Courier New"), 12);
    font.setStyleHint(QFont::Monospace);
    return font;
}

void ResultModel::setEntries(QList<Entry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return Text::lessFoldingAZ(a.line, b.line);
    });
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void ResultModel::clear() { setEntries({}); }

QStringList ResultModel::lines() const
{
    QStringList result;
    result.reserve(entries_.size());
    for (const Entry &e : entries_)
        result.append(e.line);
    return result;
}

int ResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant ResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole: return entries_.at(index.row()).line;
    case Qt::FontRole: return font_;
    case Qt::ForegroundRole: return QColor(Qt::black);
    case Qt::SizeHintRole: return itemSize_;
    default: return {};
    }
}
