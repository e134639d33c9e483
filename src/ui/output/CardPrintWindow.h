#pragma once
// The small windows that print the card on screen (or preview it) on one
// portrait A4 page: the set card, the MOC card and the MOC card's preview.
// One implementation; each window names its template and its editor.

#include <QDialog>

#include "core/reports/Report.h"

class CardHost;

class QLabel;
class QPushButton;
class PhotoBox;

struct CardPrintConfig {
    const char *objectName;
    const char *caption;
    const char *reportTemplate;
    const char *buttonText;
    bool preview;
    bool dateLine;        // txtCalce: the date and time of printing
    bool archiveName;     // txtNome: the MOC archive's name
    QString (*failure)(); // the warning shown when printing fails
};

class CardPrintWindow : public QDialog {
    Q_OBJECT
public:
    CardPrintWindow(const CardPrintConfig &config, CardHost *editor);

    QPushButton *btnAnnulla;
    QPushButton *btnStampa;
    PhotoBox *imgLogo; // hidden: the card's photo
    PhotoBox *imgTemp; // hidden: the stand-by picture

    // The page as it will print, filled from the editor's controls.
    report::Prepared preparePage() const;

public slots:
    void btnStampaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const CardPrintConfig &config_;
    CardHost *editor_;
};


class TfrmStampaArma : public CardPrintWindow {
    Q_OBJECT
public:
    explicit TfrmStampaArma(CardHost *editor);
};

class TfrmStampaCartolina : public CardPrintWindow {
    Q_OBJECT
public:
    explicit TfrmStampaCartolina(CardHost *editor);
};

class TfrmAnteprimaCartolina : public CardPrintWindow {
    Q_OBJECT
public:
    explicit TfrmAnteprimaCartolina(CardHost *editor);
};
