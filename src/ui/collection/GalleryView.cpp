#include "ui/collection/GalleryView.h"

#include "core/collection/CollectionModel.h"
#include "ui/editing/PhotoBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

constexpr int kMargin = 6;

class GalleryDelegate : public QStyledItemDelegate {
public:
    explicit GalleryDelegate(GalleryView *view) : QStyledItemDelegate(view), view_(view) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        const int line = option.fontMetrics.height();
        return {GalleryView::kPicture + 2 * kMargin + 24, GalleryView::kPicture + 3 * kMargin + 2 * line};
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        // A selected card is marked whole, picture and name.
        if (opt.state & QStyle::State_Selected) {
            const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                               : opt.state & QStyle::State_Active   ? QPalette::Active
                                                                                    : QPalette::Inactive;
            painter->fillRect(opt.rect, opt.palette.brush(group, QPalette::Highlight));
        }

        const int row = index.row();
        CollectionModel *model = view_->collection();
        const CollectionModel::CardRef ref = model->card(row);
        if (ref.file < 0)
            return;
        const bool archive = model->files().at(ref.file).archive;
        const QRect box(opt.rect.left() + (opt.rect.width() - GalleryView::kPicture) / 2, opt.rect.top() + kMargin,
                        GalleryView::kPicture, GalleryView::kPicture);
        const ThumbnailQueue::Found found = view_->thumbnails()->find(view_->photoOf(row));
        const QImage image = found.state == ThumbnailQueue::State::Ready ? found.image : view_->placeholder(archive);
        // A thumbnail stands for its size in device pixels.
        const qreal ratio = found.state == ThumbnailQueue::State::Ready
                                ? qreal(GalleryView::kPicture) / Thumbnails::pixels(view_->thumbnails()->size())
                                : 1 / image.devicePixelRatio();
        QSizeF shown = QSizeF(image.size()) * ratio;
        if (shown.width() > box.width() || shown.height() > box.height())
            shown.scale(box.size(), Qt::KeepAspectRatio);
        const QRectF target(box.left() + (box.width() - shown.width()) / 2,
                            box.top() + (box.height() - shown.height()) / 2, shown.width(), shown.height());
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, image);
        painter->restore();

        const QPalette::ColorRole role = opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                            : QPalette::Text;
        painter->save();
        painter->setPen(opt.palette.color(opt.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive, role));
        painter->setFont(opt.font);
        const int line = opt.fontMetrics.height();
        QRect text(opt.rect.left() + 2, box.bottom() + kMargin, opt.rect.width() - 4, line);
        painter->drawText(text, Qt::AlignHCenter | Qt::AlignVCenter,
                          opt.fontMetrics.elidedText(index.data().toString().trimmed(), Qt::ElideRight,
                                                     text.width()));
        // The value, once the totals have read it.
        if (!model->pending()) {
            const CollectionModel::Totals t = model->totalsOf({row});
            if (!t.unreadable && !t.overflow) {
                text.translate(0, line);
                painter->drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, moneyText(t.cents));
            }
        }
        painter->restore();
        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.backgroundColor = opt.palette.color(QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }

private:
    GalleryView *view_;
};

} // namespace

GalleryView::GalleryView(CollectionModel *model, QWidget *parent)
    : QListView(parent), model_(model),
      queue_(new ThumbnailQueue(devicePixelRatioF() > 1 ? Thumbnails::Size::Large : Thumbnails::Size::Normal, this))
{
    setObjectName(QStringLiteral("lstGalleria"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(4);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(false);
    setItemDelegate(new GalleryDelegate(this));
    setModel(model);
    followColumns();
    connect(model, &QAbstractItemModel::modelReset, this, &GalleryView::followColumns);
    connect(this, &QAbstractItemView::doubleClicked, this, &GalleryView::openRequested);
    connect(queue_, &ThumbnailQueue::ready, this, [this](const QString &photo) {
        const auto at = onScreen_.constFind(photo);
        if (at != onScreen_.constEnd())
            update(model_->index(*at, modelColumn()));
    });
}

void GalleryView::followColumns()
{
    // The card's name: the first field, after the column naming the file.
    int column = 0;
    while (column < model_->columnList().size() && model_->columnList().at(column).fileColumn)
        ++column;
    if (column != modelColumn())
        setModelColumn(column);
    onScreen_.clear();
}

QString GalleryView::photoOf(int row) const
{
    const CollectionModel::CardRef ref = model_->card(row);
    if (ref.file < 0)
        return {};
    return model_->files().at(ref.file).photoPath(0, ref.index + 1);
}

QImage GalleryView::placeholder(bool archive) const
{
    // Drawn once for the program: every gallery shows the same two.
    static QImage placeholders[2];
    QImage &image = placeholders[archive ? 1 : 0];
    const qreal ratio = devicePixelRatioF();
    if (image.isNull() || image.devicePixelRatio() != ratio) {
        const QSize size = QSizeF(kPicture * ratio, kPicture * ratio * 2 / 3).toSize();
        image = Photos::placeholder(archive ? QStringLiteral(":/images/segnaposto_moc.svg")
                                            : QStringLiteral(":/images/segnaposto_set.svg"),
                                    size);
        image.setDevicePixelRatio(ratio);
    }
    return image;
}

QList<int> GalleryView::rowsWithin(int from, int to) const
{
    QList<int> rows;
    const int count = model_->rowCount();
    if (count == 0)
        return rows;
    const int column = modelColumn();
    // The cards lie in reading order: the first whose picture reaches `from`.
    int low = 0, high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (visualRect(model_->index(middle, column)).bottom() < from)
            low = middle + 1;
        else
            high = middle;
    }
    for (int row = low; row < count; ++row) {
        const QRect rect = visualRect(model_->index(row, column));
        if (rect.top() > to)
            break;
        if (rect.bottom() >= from && rect.right() >= 0 && rect.left() < viewport()->width())
            rows << row;
    }
    return rows;
}

QList<int> GalleryView::visibleRows() const { return rowsWithin(0, viewport()->height() - 1); }

void GalleryView::requestVisible()
{
    requestPending_ = false;
    if (!isVisible())
        return;
    const int height = viewport()->height();
    const QList<int> shown = visibleRows();
    // The next screen down comes after what is on screen.
    const QList<int> next = rowsWithin(height, 2 * height - 1);
    onScreen_.clear();
    QStringList wanted;
    for (const QList<int> *rows : {&shown, &next})
        for (int row : *rows) {
            const QString photo = photoOf(row);
            if (rows == &shown)
                onScreen_.insert(photo, row);
            if (queue_->find(photo).state == ThumbnailQueue::State::Waiting)
                wanted << photo;
        }
    queue_->want(wanted);
    // Memory keeps room for three screens of thumbnails.
    const qint64 each = qint64(Thumbnails::pixels(queue_->size())) * Thumbnails::pixels(queue_->size()) * 4;
    queue_->setMemoryLimit(std::max<qint64>(16 << 20, 3 * each * (shown.size() + next.size())));
}

void GalleryView::showEvent(QShowEvent *event)
{
    QListView::showEvent(event);
    // Asked for once the layout has given the gallery its size, before the
    // first drawing (which waits behind every other event), so that the
    // thumbnails are being read while it happens.
    scheduleRequest();
}

void GalleryView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    scheduleRequest();
}

void GalleryView::scheduleRequest()
{
    if (requestPending_)
        return;
    requestPending_ = true;
    QMetaObject::invokeMethod(this, &GalleryView::requestVisible, Qt::QueuedConnection);
}

void GalleryView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    // Whatever came into view is asked for once the drawing is done.
    scheduleRequest();
}

void GalleryView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit openRequested();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}
