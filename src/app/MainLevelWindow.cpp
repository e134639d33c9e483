#include "app/MainLevelWindow.h"

#include "app/Roster.h"
#include "app/TfrmAvvio.h"

#include <QCloseEvent>

QWidget *MainLevelWindow::closeTarget() { return Roster::instance().frmAvvio(); }

void MainLevelWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The target is shown now; the close then hides this window.
    Roster::instance().showWindow(closeTarget());
}
