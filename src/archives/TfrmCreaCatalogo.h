#pragma once
#include "app/MainLevelWindow.h"

// Creates a new, empty MOC archive under a name the user types.
class TfrmCreaCatalogo : public MainLevelWindow {
    Q_OBJECT
public:
    explicit TfrmCreaCatalogo(QWidget *parent = nullptr);
};
