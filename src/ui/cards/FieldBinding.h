#pragma once
// How a record field meets the control that shows it: one binding per field
// role, made once when the editor is built. Clearing, showing and saving a
// card are then the same loop over the bindings for every field.

#include "core/cards/RecordLayout.h"

#include <QString>
#include <memory>

class QWidget;

class FieldBinding {
public:
    virtual ~FieldBinding() = default;
    // The control's state for a new card.
    virtual void clear() = 0;
    // Shows the field's stored text.
    virtual void show(const QString &stored) = 0;
    // The text the control gives the record.
    virtual QString value() const = 0;

    // The binding of a field's role to its control (an edit box for text and
    // money, the check box for the for-sale flag, a hidden label for an
    // attachment).
    static std::unique_ptr<FieldBinding> make(const FieldDef &def, QWidget *control);
};
