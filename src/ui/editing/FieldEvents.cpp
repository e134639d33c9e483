#include "ui/editing/FieldEvents.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

FieldEvents::FieldEvents(QWidget *field) : QObject(field), field_(field)
{
    setObjectName(QStringLiteral("fieldEvents"));
    field->installEventFilter(this);
}

FieldEvents *FieldEvents::of(QWidget *field)
{
    if (auto *existing = field->findChild<FieldEvents *>(QStringLiteral("fieldEvents"),
                                                         Qt::FindDirectChildrenOnly))
        return existing;
    return new FieldEvents(field);
}

void FieldEvents::onEnter(std::function<void()> handler) { enter_.push_back(std::move(handler)); }
void FieldEvents::onExit(std::function<void()> handler) { exit_.push_back(std::move(handler)); }
void FieldEvents::onKeyDown(std::function<bool(QKeyEvent *)> handler)
{
    keyDown_.push_back(std::move(handler));
}

void FieldEvents::detachAll(QWidget *window)
{
    for (FieldEvents *events : window->findChildren<FieldEvents *>(QStringLiteral("fieldEvents"))) {
        events->field_->removeEventFilter(events);
        events->enter_.clear();
        events->exit_.clear();
        events->keyDown_.clear();
    }
}

void FieldEvents::sync()
{
    const bool now = field_->window()->focusWidget() == field_ && field_->isEnabled();
    if (now == focused_)
        return;
    focused_ = now;
    for (const auto &handler : focused_ ? enter_ : exit_)
        handler();
}

bool FieldEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == field_) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Hide:
            sync();
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            for (const auto &handler : keyDown_)
                if (handler(key))
                    return true;
            break;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace Focus {

void moveTo(QWidget *target)
{
    QWidget *previous = target->window()->focusWidget();
    target->setFocus(Qt::OtherFocusReason);
    for (QWidget *w : {previous, target})
        if (w)
            if (auto *events = w->findChild<FieldEvents *>(QStringLiteral("fieldEvents"),
                                                           Qt::FindDirectChildrenOnly))
                events->sync();
}

} // namespace Focus

bool isReturnKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
