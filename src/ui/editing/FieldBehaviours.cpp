#include "ui/editing/FieldBehaviours.h"

#include "ui/base/Widgets.h"
#include "ui/editing/FieldEvents.h"

#include <QKeyEvent>

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
