#pragma once
#include "ui/cards/CardEditor.h"

// The set card editor of the catalogue "Catalogo_BLOKKO.pro".
class TfrmArmi : public CardEditor {
    Q_OBJECT
public:
    explicit TfrmArmi(QWidget *parent = nullptr);

    QString recordFilePath() const override;
    QString photoFileName(int slot, const QString &position) const override;
    QString archiveName() const override { return {}; }

public slots:
    void cmdDuplicaClick();
    void cmdTrovaClick();
    void cmdSegnalatiClick();
    void cmdStampaClick();
    void cmdEsportaClick();
};
