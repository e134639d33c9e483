#pragma once
// What the two password windows (login and password change) share.
#include <QSize>
#include <QString>

class QLineEdit;
class QRect;
class QWidget;

// A masked password field in the program's password windows.
QLineEdit *makePasswordField(const QString &objectName, const QRect &geometry, QWidget *parent);
// Flags and size of a fixed dialog window without title-bar buttons.
void makeFixedDialog(QWidget *window, const QString &caption, QSize clientSize);
