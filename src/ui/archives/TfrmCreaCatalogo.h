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

    // The warning for a new archive's trimmed name that breaks the naming
    // rules (missing, refused characters, too long), or an empty text.
    static QString nameProblem(const QString &trimmedName);

public slots:
    void btnApplicaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;
};
