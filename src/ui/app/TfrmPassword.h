#pragma once
#include "ui/app/PasswordWindows.h"
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class Halo;
class Picture;

// The login window: the program's first window and its gate.
class TfrmPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget *parent = nullptr);
    ~TfrmPassword() override;

    Picture *imgLogo;
    QLabel *lblRigo05;
    Halo *effPassword;
    QLineEdit *txtPassword;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QPushButton *btnCambiaPassword;
    QLabel *lblMemory;

public slots:
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();
    void txtPasswordChange();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};

