#pragma once
#include <QList>
#include <QString>

class QWidget;
class QLineEdit;
class Halo;

namespace FieldBehaviours {

// Puts a yellow halo named haloName behind the field, visible exactly while
// the field has the focus.
Halo *attachHalo(QWidget *field, const QString &haloName);

// Return in each field gives the focus to the next one; the last leads back
// to the first.
void returnCycle(const QList<QWidget *> &fields);

// The field's whole text is selected whenever it takes the focus, however
// it came (a click anywhere in it, Tab, Return, a move by the program), so
// that what is typed replaces it.
void selectAllOnFocus(QLineEdit *field);

} // namespace FieldBehaviours

class QLineEdit;
class QColor;

namespace FieldBehaviours {

// The painted field: its whole box is filled with the resting colour, or
// yellow while it has the focus, inside a sky-blue border.
void paintField(QLineEdit *field, const QColor &resting);
QColor aliceBlue();
QColor focusedYellow();
QColor fieldBorder();

} // namespace FieldBehaviours
