#include "ui/base/MainLevelWindow.h"

#include "ui/base/Navigation.h"

#include <QCloseEvent>

QWidget *MainLevelWindow::closeTarget() { return navigation().window(Place::Start); }

void MainLevelWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The target is shown now; the close then hides this window.
    navigation().showWindow(closeTarget());
}
