#include "ui/editing/FieldBehaviours.h"

#include "ui/base/Widgets.h"
#include "ui/editing/FieldEvents.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace FieldBehaviours {

Halo *attachHalo(QWidget *field, const QString &haloName)
{
    auto *halo = new Halo(haloName, field);
    auto *events = FieldEvents::of(field);
    events->onEnter([halo] { halo->show(); });
    events->onExit([halo] { halo->hide(); });
    return halo;
}

void returnCycle(const QList<QWidget *> &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QWidget *next = fields.at((i + 1) % fields.size());
        FieldEvents::of(fields.at(i))->onKeyDown([next](QKeyEvent *key) {
            if (isReturnKey(key))
                Focus::moveTo(next);
            return false;
        });
    }
}

namespace {
// A click that gives the field the focus places the cursor when it is
// pressed: the text is selected once it is released, and a later click in
// the field places the cursor as usual.
class SelectOnFocus : public QObject {
public:
    explicit SelectOnFocus(QLineEdit *field) : QObject(field), field_(field)
    {
        field->installEventFilter(this);
        // A move by the program in a window that is not active: the field
        // gets no focus event until the window is active again.
        FieldEvents::of(field)->onEnter([field] {
            if (!field->hasFocus())
                field->selectAll();
        });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            switch (static_cast<QFocusEvent *>(event)->reason()) {
            case Qt::MouseFocusReason: afterClick_ = true; break;
            // The window coming back (after a message, another program)
            // leaves the text as the user left it.
            case Qt::ActiveWindowFocusReason:
            case Qt::PopupFocusReason: break;
            default: field_->selectAll(); break;
            }
            break;
        case QEvent::FocusOut:
            afterClick_ = false;
            break;
        case QEvent::MouseButtonRelease:
            if (afterClick_) {
                afterClick_ = false;
                field_->selectAll();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit *field_;
    bool afterClick_ = false;
};
} // namespace

void selectAllOnFocus(QLineEdit *field) { new SelectOnFocus(field); }

} // namespace FieldBehaviours

#include <QLineEdit>

namespace FieldBehaviours {

QColor aliceBlue() { return QColor(0xF0, 0xF8, 0xFF); }
QColor focusedYellow() { return QColor(0xFF, 0xFF, 0x00); }
QColor fieldBorder() { return QColor(0x87, 0xCE, 0xEB); }

namespace {
void fill(QLineEdit *field, const QColor &colour)
{
    field->setProperty("fill", colour);
    field->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; "
                                        "padding: 0px 2px; }")
                             .arg(colour.name(), fieldBorder().name()));
}
} // namespace

void paintField(QLineEdit *field, const QColor &resting)
{
    fill(field, resting);
    auto *events = FieldEvents::of(field);
    events->onEnter([field] { fill(field, focusedYellow()); });
    events->onExit([field, resting] { fill(field, resting); });
}

} // namespace FieldBehaviours
