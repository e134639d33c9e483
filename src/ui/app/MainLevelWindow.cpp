#include "ui/app/MainLevelWindow.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"

#include <QCloseEvent>

QWidget *MainLevelWindow::closeTarget() { return Roster::instance().frmAvvio(); }

void MainLevelWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The target is shown now; the close then hides this window.
    Roster::instance().showWindow(closeTarget());
}
