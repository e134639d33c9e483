#include "ui/editing/HintBar.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

HintBar::HintBar(QWidget *window, QLabel *panInfo)
    : QObject(window), window_(window), panInfo_(panInfo)
{
    window->setMouseTracking(true);
    addBlank(window);
    qApp->installEventFilter(this);
}

void HintBar::addHint(QWidget *control, const QString &hint)
{
    hints_.insert(control, hint);
    control->setMouseTracking(true);
}

void HintBar::addBlank(QWidget *control)
{
    blanks_.insert(control);
    control->setMouseTracking(true);
}

void HintBar::setText(const QString &text)
{
    panInfo_->setText(text);
    panInfo_->adjustSize();
}

void HintBar::pointerOver(QWidget *widget)
{
    if (!widget)
        return;
    if (auto hint = hints_.constFind(widget); hint != hints_.constEnd())
        setText(*hint);
    else if (blanks_.contains(widget) || holdsThePanel(widget))
        setText(QString());
}

bool HintBar::holdsThePanel(const QWidget *widget) const
{
    // What stands between the window and its panel (the scroll area that
    // centres the panel, its viewport and stage) is the window's own area
    // around the panel: the pointer there is over the window.
    return widget->window() == window_ && widget->isAncestorOf(panInfo_);
}

bool HintBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        auto *target = static_cast<QWidget *>(watched);
        if (target->window() == window_) {
            const QPoint at = window_->mapFromGlobal(
                static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
            QWidget *under = window_->childAt(at);
            pointerOver(under ? under : window_);
        }
    }
    return false;
}
