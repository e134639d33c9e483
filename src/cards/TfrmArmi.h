#pragma once
#include "app/MainLevelWindow.h"

// The set card editor of the catalogue "Catalogo_BLOKKO.pro".
class TfrmArmi : public MainLevelWindow {
    Q_OBJECT
public:
    explicit TfrmArmi(QWidget *parent = nullptr);
};
