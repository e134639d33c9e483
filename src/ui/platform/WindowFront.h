#pragma once
class QWidget;

namespace platform {

// Brings a shown window to the front with the keyboard focus, as a click on
// it in the task bar does. On X11 the request carries the present time, so
// that neither the X server nor a window manager takes it for an old one and
// ignores it: the program asks for itself when a second start hands over.
void bringToFront(QWidget *window);

} // namespace platform
