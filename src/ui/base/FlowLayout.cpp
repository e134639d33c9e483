#include "ui/base/FlowLayout.h"

#include <QWidget>

#include <algorithm>

FlowLayout::FlowLayout(QWidget *parent, int spacing) : QLayout(parent)
{
    setSpacing(spacing);
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem *item) { items_.append(item); }

void FlowLayout::addStretch() { stretchAt_ = int(items_.size()); }

int FlowLayout::count() const { return int(items_.size()); }

QLayoutItem *FlowLayout::itemAt(int index) const { return items_.value(index); }

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= items_.size())
        return nullptr;
    if (stretchAt_ > index)
        --stretchAt_;
    return items_.takeAt(index);
}

int FlowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const
{
    // As narrow as the widest control: everything else wraps.
    QSize size;
    for (const QLayoutItem *item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->sizeHint());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const
{
    // One line, as wide as all the controls side by side.
    int width = 0;
    int height = 0;
    for (const QLayoutItem *item : items_) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width() + (width ? spacing() : 0);
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect &rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = spacing();
    // The lines: each a run of items that fits the width.
    struct Line {
        int first, last; // [first, last)
        int height;
    };
    QList<Line> lines;
    int x = 0;
    Line line{0, 0, 0};
    for (int i = 0; i < items_.size(); ++i) {
        const QLayoutItem *item = items_.at(i);
        if (item->isEmpty()) {
            line.last = i + 1;
            continue;
        }
        const QSize hint = item->sizeHint();
        if (x > 0 && x + hint.width() > area.width()) {
            lines << line;
            line = Line{i, i, 0};
            x = 0;
        }
        x += hint.width() + gap;
        line.last = i + 1;
        line.height = std::max(line.height, hint.height());
    }
    lines << line;
    int y = area.top();
    for (const Line &l : lines) {
        if (apply) {
            // Left to right up to the stretch, the rest against the right edge.
            int left = area.left();
            int right = area.right() + 1;
            const int split = (stretchAt_ >= l.first && stretchAt_ <= l.last) ? stretchAt_ : l.last;
            for (int i = l.first; i < split; ++i) {
                QLayoutItem *item = items_.at(i);
                if (item->isEmpty())
                    continue;
                const QSize hint = item->sizeHint();
                item->setGeometry(QRect(QPoint(left, y + (l.height - hint.height()) / 2), hint));
                left += hint.width() + gap;
            }
            for (int i = l.last - 1; i >= split; --i) {
                QLayoutItem *item = items_.at(i);
                if (item->isEmpty())
                    continue;
                const QSize hint = item->sizeHint();
                right -= hint.width();
                item->setGeometry(QRect(QPoint(right, y + (l.height - hint.height()) / 2), hint));
                right -= gap;
            }
        }
        y += l.height + gap;
    }
    const QMargins m = contentsMargins();
    return y - gap - area.top() + m.top() + m.bottom();
}
