#pragma once
#include <QDialog>

class CardHost;

class QLabel;
class QLineEdit;
class QPushButton;
class Picture;

// Up to three files attached to the card on screen, each with a description.
// The files are copied into "Documenti_Allegati" at once; the card keeps
// their names, written back into the calling editor by "Applica e chiudi".
class TfrmAllegaCartella : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget *parent);

    static QString folder();

    // The six attachment labels of an editor, read into the slots or
    // written back from them, each trimmed.
    void readFrom(const CardHost *editor);
    void writeTo(CardHost *editor) const;

    QLineEdit *txtFile[3];
    QLineEdit *txtDesc[3];
    Picture *imgCancella[3];
    QPushButton *btnSfoglia[3];
    QPushButton *btnApri[3];
    QPushButton *btnAnnulla;
    QPushButton *btnApplica;
    QLabel *lblMemory; // hidden: "armi" or "cartoline", the editor that called

public slots:
    void attach(int slot);
    void open(int slot);
    void erase(int slot);
    void btnApplicaClick();
};
