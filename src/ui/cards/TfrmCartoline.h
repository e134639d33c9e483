#pragma once
#include "ui/cards/CardEditor.h"

class QLabel;

// The MOC card editor of the archive chosen in the open-archive window.
class TfrmCartoline : public CardEditor {
    Q_OBJECT
public:
    explicit TfrmCartoline(QWidget *parent = nullptr);

    QLabel *lblNome; // the archive's name
    QLabel *lblFile; // hidden: the archive file's full path

    QString recordFilePath() const override;
    QString photoFileName(int slot, const QString &position) const override;
    QString archiveName() const override;

public slots:
    void cmdTrovaClick();
    void cmdCercaDisponibiliClick();
    void cmdStampaClick();
    void cmdEsportaClick();
    void cmdAnteprimaClick();
    void cmdSlideShowClick();
};
