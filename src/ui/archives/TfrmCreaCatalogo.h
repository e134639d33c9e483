#pragma once
#include "ui/archives/ArchiveWindow.h"

class QLabel;
class QLineEdit;

// Creates a new, empty MOC archive under a name the user types.
class TfrmCreaCatalogo : public ArchiveWindow {
    Q_OBJECT
public:
    explicit TfrmCreaCatalogo(QWidget *parent = nullptr);
    ~TfrmCreaCatalogo() override;

    QLineEdit *txtFile;
    Picture *btnApplica;
    Picture *btnAnnulla;
    QLabel *lblFile; // hidden: the path of the archive being created

public slots:
    void btnApplicaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;
};
