#pragma once
#include "ui/search/ListWindow.h"

class TfrmArmi;
class TfrmCartoline;

// Searches the set catalogue ("armi").
class TfrmTrovaArmi : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmTrovaArmi(TfrmArmi *editor);
};

// Searches the open MOC archive ("cartoline").
class TfrmTrovaCartoline : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmTrovaCartoline(TfrmCartoline *editor);
};

// The sets marked for sale.
class TfrmArmi_Disponibili : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmArmi_Disponibili(TfrmArmi *editor);
};

// The MOCs marked for sale.
class TfrmInVendita : public ListWindow {
    Q_OBJECT
public:
    explicit TfrmInVendita(TfrmCartoline *editor);
};
