#pragma once
#include "ui/search/ListWindow.h"

class CardHost;


// Searches the set catalogue ("armi").
class TfrmTrovaArmi : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmTrovaArmi(CardHost *editor);
};

// Searches the open MOC archive ("cartoline").
class TfrmTrovaCartoline : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmTrovaCartoline(CardHost *editor);
};

// The sets marked for sale.
class TfrmArmi_Disponibili : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmArmi_Disponibili(CardHost *editor);
};

// The MOCs marked for sale.
class TfrmInVendita : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmInVendita(CardHost *editor);
};
