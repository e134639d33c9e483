#include "ui/collection/CardTable.h"

#include <QAbstractItemDelegate>
#include <QFontMetricsF>
#include <QHeaderView>
#include <algorithm>
#include <array>
#include <vector>

CardTable::CardTable(QWidget *parent) : QTableView(parent) {}

namespace {

// A text's width told from its letters' own widths: its longest line, without
// the kerning and shaping that a layout adds, which change it by a few pixels.
class Estimate {
public:
    explicit Estimate(const QFont &font) : metrics_(font)
    {
        for (int c = 0; c < 256; ++c)
            latin_[std::size_t(c)] = metrics_.horizontalAdvance(QChar(c));
    }

    qreal operator()(const QString &text) const
    {
        qreal widest = 0, line = 0;
        for (const QChar c : text) {
            if (c == QLatin1Char('\n')) {
                widest = std::max(widest, line);
                line = 0;
            } else {
                line += c.unicode() < 256 ? latin_[c.unicode()] : metrics_.horizontalAdvance(c);
            }
        }
        return std::max(widest, line);
    }

private:
    QFontMetricsF metrics_;
    std::array<qreal, 256> latin_{};
};

} // namespace

int CardTable::sizeHintForColumn(int column) const
{
    QAbstractItemModel *m = model();
    if (!m || column < 0 || column >= m->columnCount(rootIndex()) || isColumnHidden(column))
        return -1;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const Estimate estimate(option.font);
    const int precision = horizontalHeader()->resizeContentsPrecision();
    const int rows = m->rowCount(rootIndex());
    QHeaderView *vertical = verticalHeader();

    // The rows sampled: from the first in view downwards, then upwards.
    const int top = std::max(0, vertical->visualIndexAt(0));
    std::vector<std::pair<qreal, int>> widths; // estimated width, row
    const auto sample = [&](int visual) {
        const int row = vertical->logicalIndex(visual);
        if (vertical->isSectionHidden(row))
            return;
        widths.emplace_back(estimate(m->data(m->index(row, column, rootIndex()), Qt::DisplayRole).toString()), row);
    };
    const auto enough = [&] { return precision > 0 && qsizetype(widths.size()) >= precision; };
    for (int visual = top; visual < rows && !enough(); ++visual)
        sample(visual);
    for (int visual = top - 1; visual >= 0 && !enough(); --visual)
        sample(visual);

    // Laid out as the delegate does, the widest few only.
    const auto measured = std::min<qsizetype>(kMeasured, qsizetype(widths.size()));
    std::partial_sort(widths.begin(), widths.begin() + measured, widths.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });
    int hint = 0;
    for (qsizetype i = 0; i < measured; ++i) {
        const QModelIndex index = m->index(widths[std::size_t(i)].second, column, rootIndex());
        if (const QAbstractItemDelegate *delegate = itemDelegateForIndex(index))
            hint = std::max(hint, delegate->sizeHint(option, index).width());
    }
    return showGrid() ? hint + 1 : hint;
}
