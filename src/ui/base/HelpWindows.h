#pragma once
// The help viewer, the about window and the splash window, and the links
// they carry.

#include "core/app/HelpTopics.h"

#include <QDialog>
#include <QLabel>

class QPushButton;
class QTextEdit;
class Picture;

// An underlined link text: dark blue, orange while a mouse button is held
// on it (or on its icon), dark blue again when released or activated.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString &objectName, const QString &text, const QRect &geometry, QWidget *parent);
    // The icon beside the link acts as part of it.
    void addIcon(Picture *icon);
    bool isPressed() const { return pressed_; }

signals:
    void activated();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setPressed(bool pressed);
    bool pressed_ = false;
};

class TfrmGuida : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent);

    Picture *imgLogo;
    QLabel *lblTitolo;
    QTextEdit *txtGuida;
    Picture *imgPDF;
    LinkLabel *lnkWeb;
    QPushButton *btnChiudi;

    void setTopic(const HelpTopics::Topic &topic);

    // Shows a topic in a fresh modal help window owned by the caller.
    static void showTopic(QWidget *caller, const HelpTopics::Topic &topic);
};

class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent);

    Picture *imgLogo;
    Picture *imgEmail;
    LinkLabel *lnkWeb;
    QPushButton *btnChiudi;
};

class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent);

    Picture *imgLogo;
    Picture *imgWeb;
    LinkLabel *lnkWeb;
    QPushButton *btnChiudi;
};
