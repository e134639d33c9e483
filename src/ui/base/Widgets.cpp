#include "ui/base/Widgets.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSvgRenderer>

namespace {

// A scroll area whose page is larger than the view follows the focus: the
// control that receives it, by Tab, by the fields' Return, by a click or from
// the program, is scrolled into view whole, with its focus halo (4 units
// round it). A text field is brought in whole, not only its cursor.
void followFocus(QScrollArea *scroller)
{
    QObject::connect(qApp, &QApplication::focusChanged, scroller, [scroller](QWidget *, QWidget *now) {
        QWidget *page = scroller->widget();
        if (!now || !page || !page->isAncestorOf(now))
            return;
        const QRect area = QRect(now->mapTo(page, QPoint(0, 0)), now->size()).adjusted(-6, -6, 6, 6);
        scroller->ensureVisible(area.center().x(), area.center().y(), area.width() / 2 + 1,
                                area.height() / 2 + 1);
    });
}

// What assistive technology sees of a picture: a push button with a press
// action where it is clickable, a graphic otherwise.
class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(Picture *picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    Picture *picture() const { return static_cast<Picture *>(widget()); }

    QAccessible::Role role() const override
    {
        return picture()->isClickable() ? QAccessible::Button : QAccessible::Graphic;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (picture()->isClickable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        // Queued, as a click is: the command may open a modal window, and the
        // assistive technology waits for its call to return.
        if (action == pressAction() && picture()->isClickable())
            QMetaObject::invokeMethod(picture(), &Picture::click, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action == pressAction() && picture()->isClickable())
            return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(action);
    }
};

// The focus sink is there for the program only: nothing to announce.
class FocusSinkAccessible : public QAccessibleWidget {
public:
    explicit FocusSinkAccessible(QWidget *sink) : QAccessibleWidget(sink, QAccessible::NoRole) {}

    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        s.focusable = false;
        return s;
    }
    QStringList actionNames() const override { return {}; }
};

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("Picture"))
        return new PictureAccessible(static_cast<Picture *>(object));
    if (className == QLatin1String("FocusSink"))
        return new FocusSinkAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

bool isPressKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return !(event->modifiers() & ~Qt::KeypadModifier);
    default:
        return false;
    }
}

} // namespace

Picture::Picture(const QString &objectName, const QString &resource, QWidget *parent)
    : QWidget(parent)
{
    installAccessibleFactory();
    setObjectName(objectName);
    setResource(resource);
    setFocusPolicy(Qt::NoFocus);
}

Picture::Picture(const QString &objectName, const QString &resource, const QRect &geometry,
                 QWidget *parent)
    : Picture(objectName, resource, parent)
{
    setGeometry(geometry);
}

void Picture::setResource(const QString &resource)
{
    resource_ = resource;
    // Parsed at the first paint: windows that are never shown cost nothing.
    delete renderer_;
    renderer_ = nullptr;
    update();
}

void Picture::setClickable(bool clickable)
{
    clickable_ = clickable;
    // Tab only: a click of the mouse must not take the focus from a field.
    setFocusPolicy(clickable ? Qt::TabFocus : Qt::NoFocus);
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void Picture::showShortcut(const QKeySequence &keys)
{
    setToolTip(hint_ + QStringLiteral(" (") + keys.toString(QKeySequence::PortableText)
               + QLatin1Char(')'));
}

void Picture::click()
{
    if (clickable_)
        emit clicked();
}

void Picture::keyPressEvent(QKeyEvent *event)
{
    if (clickable_ && isPressKey(event)) {
        event->accept();
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Picture::focusInEvent(QFocusEvent *event)
{
    // The ring marks where the keyboard put the focus; a window coming back
    // to the front brings back the ring it had.
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        ring_ = true;
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        break;
    default:
        ring_ = false;
        break;
    }
    update();
    QWidget::focusInEvent(event);
}

void Picture::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        ring_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void Picture::setHint(const QString &hint)
{
    hint_ = hint;
    setAccessibleName(hint);
}

void Picture::paintEvent(QPaintEvent *)
{
    if (!renderer_) {
        renderer_ = new QSvgRenderer(resource_, this);
        renderer_->setAspectRatioMode(Qt::KeepAspectRatio);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (renderer_->isValid())
        renderer_->render(&painter, QRectF(rect()));
    if (showsFocusRing()) {
        // A rounded steel-blue outline, as the bands of the artwork are drawn.
        painter.setPen(QPen(Colors::steelBlue(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        const qreal radius = qMin(6.0, qMin(width(), height()) / 4.0);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius, radius);
    }
}

void Picture::mousePressEvent(QMouseEvent *event)
{
    if (clickable_ && event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Picture::mouseReleaseEvent(QMouseEvent *event)
{
    if (clickable_ && pressed_ && event->button() == Qt::LeftButton) {
        pressed_ = false;
        event->accept();
        if (rect().contains(event->position().toPoint()))
            emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void addShortcuts(Picture *picture, const QList<QKeySequence> &keys, QWidget *window)
{
    for (const QKeySequence &k : keys) {
        auto *shortcut = new QShortcut(k, window);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setObjectName(picture->objectName() + QStringLiteral("Shortcut"));
        QObject::connect(shortcut, &QShortcut::activated, picture, &Picture::click);
    }
    if (!keys.isEmpty())
        picture->showShortcut(keys.first());
}

void picturesAfterControls(QWidget *window, const QList<Picture *> &order)
{
    bool othersTakeFocus = false;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (!qobject_cast<Picture *>(w) && (w->focusPolicy() & Qt::TabFocus))
            othersTakeFocus = true;
    QList<Picture *> pictures = order;
    if (pictures.isEmpty())
        for (Picture *p : window->findChildren<Picture *>())
            if (p->isClickable())
                pictures << p;
    for (Picture *p : std::as_const(pictures)) {
        QWidget *last = window->previousInFocusChain();
        if (last != p)
            QWidget::setTabOrder(last, p);
    }
    if (!othersTakeFocus)
        window->setFocus(Qt::OtherFocusReason);
}

FocusSink::FocusSink(QWidget *parent) : QPushButton(parent)
{
    installAccessibleFactory();
    // Only the program's own code gives it the focus, on its way elsewhere.
    keepReturnForWindow(this);
    // Focus::moveTo gives it the focus with setFocus, which no policy stops.
    setFocusPolicy(Qt::NoFocus);
}

QString fieldName(const QString &caption)
{
    QString name = caption.trimmed();
    if (name.endsWith(QChar(0x20AC)))
        name.chop(1);
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void nameField(QLabel *caption, QWidget *field)
{
    caption->setBuddy(field);
    field->setAccessibleName(fieldName(caption->text()));
}

Band::Band(const QString &objectName, const QRect &geometry, QWidget *parent, QColor fill,
           QColor border)
    : QWidget(parent), fill_(fill), border_(border)
{
    setObjectName(objectName);
    setGeometry(geometry);
}

void Band::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    painter.setPen(border_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

Halo::Halo(const QString &objectName, QWidget *field) : QWidget(field->parentWidget())
{
    setObjectName(objectName);
    setGeometry(field->geometry().adjusted(-4, -4, 4, 4));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    stackUnder(field);
    hide();
}

void Halo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient border(rect().topLeft(), rect().bottomRight());
    border.setColorAt(0, Colors::yellow());
    border.setColorAt(1, Qt::white);
    painter.setPen(QPen(QBrush(border), 2));
    painter.setBrush(Colors::yellow());
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

GradientWindow::GradientWindow(const QString &objectName, const QString &caption, QColor top,
                               QSize panelSize, QWidget *parent)
    : QWidget(parent), top_(top), panel_(new QWidget(this))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    panel_->setObjectName(QStringLiteral("panContainer"));
    panel_->setFixedSize(panelSize);
    // The panel keeps its size and layout. It stands centred in the window;
    // on a screen smaller than the panel the window scrolls, so that every
    // control stays within reach. The scroll area is see-through: the
    // window's gradient shows around the panel as before.
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("scrPanel"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->viewport()->setAutoFillBackground(false);
    auto *stage = new QWidget;
    stage->setObjectName(QStringLiteral("panStage"));
    stage->setMinimumSize(panelSize);
    auto *centre = new QGridLayout(stage);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->addWidget(panel_, 0, 0, Qt::AlignCenter);
    scroller->setWidget(stage);
    stage->setAutoFillBackground(false); // setWidget() turns it on
    followFocus(scroller);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller, 0, 0);
}

QScrollArea *GradientWindow::scroller() const { return findChild<QScrollArea *>(QStringLiteral("scrPanel")); }

void GradientWindow::paintEvent(QPaintEvent *) { paintVerticalGradient(this, top_); }

void paintVerticalGradient(QWidget *window, QColor top)
{
    QPainter painter(window);
    QLinearGradient gradient(0, 0, 0, window->height());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(window->rect(), gradient);
}

QPushButton *makeButton(const QString &objectName, const QString &text, const QRect &geometry,
                        QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

namespace {

// A fixed dialog larger than the screen it opens on gets scroll bars: its
// controls move, as they stand, onto a page of the dialog's size inside a
// scroll area as large as the screen allows. On a screen large enough the
// dialog is left exactly as it is made.
class FitToScreen : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *window = static_cast<QWidget *>(watched);
            window->removeEventFilter(this);
            deleteLater();
            fit(window);
        }
        return false;
    }

private:
    static void fit(QWidget *window)
    {
        const QScreen *screen = window->screen();
        if (!screen)
            return;
        // Room for the window's frame and title.
        const QSize room = screen->availableGeometry().size() - QSize(16, 40);
        const QSize full = window->size();
        if (full.width() <= room.width() && full.height() <= room.height())
            return;
        // The Tab order and the focus survive the move.
        QList<QPointer<QWidget>> chain;
        for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
            chain << w;
        const QPointer<QWidget> focused = window->focusWidget();
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("panPagina"));
        page->setFixedSize(full);
        const QObjectList children = window->children();
        for (QObject *child : children) {
            auto *control = qobject_cast<QWidget *>(child);
            if (!control || control->isWindow())
                continue;
            const bool shown = control->isVisibleTo(window);
            const QPoint at = control->pos();
            control->setParent(page);
            control->move(at);
            control->setVisible(shown);
        }
        auto *scroller = new QScrollArea(window);
        scroller->setObjectName(QStringLiteral("scrPanel"));
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setFocusPolicy(Qt::NoFocus);
        scroller->viewport()->setAutoFillBackground(false);
        scroller->setWidget(page);
        page->setAutoFillBackground(false); // setWidget() turns it on
        followFocus(scroller);
        const QSize fitted = full.boundedTo(room);
        window->setFixedSize(fitted);
        scroller->setGeometry(QRect(QPoint(0, 0), fitted));
        scroller->show();
        for (qsizetype i = 1; i < chain.size(); ++i)
            if (chain[i - 1] && chain[i])
                QWidget::setTabOrder(chain[i - 1], chain[i]);
        if (focused)
            focused->setFocus();
    }
};

} // namespace

void makeFixedModal(QDialog *window, const QString &objectName, const QString &caption, QSize size)
{
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(size);
    window->setModal(true);
    window->installEventFilter(new FitToScreen(window));
}

QFont verdana(int points, bool bold)
{
    QFont font(QStringLiteral("Verdana"), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QLabel *makeLabel(const QString &objectName, const QString &text, const QRect &geometry,
                  QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    return label;
}

void selectTheCurrentEntry(QAbstractItemView *view)
{
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    QItemSelectionModel *selection = view->selectionModel();
    const auto select = [view, selection](const QModelIndex &entry) {
        QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect;
        if (view->selectionBehavior() == QAbstractItemView::SelectRows)
            how |= QItemSelectionModel::Rows;
        selection->select(entry, how);
    };
    // The entry the keyboard lands on (the view sets one on gaining the
    // focus) is the selected one.
    QObject::connect(selection, &QItemSelectionModel::currentChanged, view,
                     [selection, select](const QModelIndex &current) {
                         if (current.isValid() && !selection->isSelected(current))
                             select(current);
                     });
    // A selection taken away (Ctrl+click, Ctrl+Space) takes the frame with
    // it; a selection made elsewhere brings the frame along.
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, view, [selection] {
        const QModelIndex current = selection->currentIndex();
        if (!selection->hasSelection()) {
            if (current.isValid())
                selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        } else if (!selection->isSelected(current)) {
            selection->setCurrentIndex(selection->selectedIndexes().constFirst(),
                                       QItemSelectionModel::NoUpdate);
        }
    });
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && !selection->isSelected(current))
        select(current);
}

namespace {

const char *const kKeepsReturn = "vetrinoraKeepsReturn";

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        // Default buttons of dialogs press themselves already.
        if (!button || !button->hasFocus() || button->autoDefault() || button->isDefault()
            || button->property(kKeepsReturn).toBool())
            return false;
        if (button->isEnabled() && button->isVisible() && !key->isAutoRepeat())
            button->click();
        return true;
    }
};

} // namespace

void installEnterPressesButtons()
{
    static EnterPressesButtons *filter = [] {
        auto *f = new EnterPressesButtons(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(filter);
}

void keepReturnForWindow(QPushButton *button) { button->setProperty(kKeepsReturn, true); }
