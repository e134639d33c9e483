#pragma once
#include "ui/base/Widgets.h"

// A maximised main-level window reached from the start screen. Closing it,
// by its own exit control or the close box, brings the start screen back;
// windows that return elsewhere override closeTarget().
class MainLevelWindow : public GradientWindow {
    Q_OBJECT
public:
    using GradientWindow::GradientWindow;

protected:
    virtual QWidget *closeTarget();
    void closeEvent(QCloseEvent *event) override;
};
