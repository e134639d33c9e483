#pragma once
#include <QDialog>

class PhotoBox;

// A photo as large as the screen allows; a click closes it.
class TfrmZoom : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget *parent);

    QWidget *panContainer;
    PhotoBox *imgFoto;

public slots:
    void imgFotoClick();
    void panContainerClick();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
