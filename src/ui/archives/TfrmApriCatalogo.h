#pragma once
#include "ui/archives/ArchiveWindow.h"

class QLabel;
class QListWidget;

// Lists the MOC archives of the program folder, opens or deletes one.
class TfrmApriCatalogo : public ArchiveWindow {
    Q_OBJECT
public:
    explicit TfrmApriCatalogo(QWidget *parent = nullptr);

    QListWidget *lstFiles;
    QLabel *lblCreati;
    Picture *btnApri;
    Picture *btnElimina;
    Picture *btnAnnulla;
    QLabel *lblMemory; // hidden: "avvio" or "cartoline", where closing leads
    QLabel *lblFile;   // hidden: the chosen archive's full path

public slots:
    void btnApriClick();
    void btnEliminaClick();
    void btnAnnullaClick();
    void buildList();

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *closeTarget() override;

private:
    // Each entry carries the name of its file exactly as the folder holds
    // it, blanks included: that file is the one opened or deleted.
    static constexpr int kFileNameRole = Qt::UserRole;
    QString selectedEntry() const;
    QString selectedFile() const; // full path, empty without a selection
};
