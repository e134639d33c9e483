#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class Halo;
class Picture;

// The password change, reached from the login window before logging in.
class TfrmCambiaPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);
    ~TfrmCambiaPassword() override;

    Picture *imgLogo;
    QLineEdit *txtPasswordOld;
    QLineEdit *txtPasswordNew;
    QLineEdit *txtConferma;
    Halo *effPasswordOld;
    Halo *effPasswordNew;
    Halo *effConferma;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QLabel *lblMemory;

public slots:
    void cmdOKClick();
    void cmdEsciClick();
    void fieldChange();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refuse(const QString &message);
};
