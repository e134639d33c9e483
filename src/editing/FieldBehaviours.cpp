#include "editing/FieldBehaviours.h"

#include "app/Widgets.h"
#include "editing/FieldEvents.h"

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
