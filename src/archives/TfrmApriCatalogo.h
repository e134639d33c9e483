#pragma once
#include "app/MainLevelWindow.h"

class QLabel;

// Lists the MOC archives of the program folder, opens or deletes one.
class TfrmApriCatalogo : public MainLevelWindow {
    Q_OBJECT
public:
    explicit TfrmApriCatalogo(QWidget *parent = nullptr);

    QLabel *lblMemory; // hidden: "avvio" or "cartoline", where closing leads
    QLabel *lblFile;   // hidden: the chosen archive's full path

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *closeTarget() override;
};
