#pragma once
#include <QDialog>

class CardHost;

class QLabel;
class QTimer;
class Picture;
class PhotoBox;

// Photo A of every card of the open MOC archive, full screen, one after
// another every six seconds; a click closes the show.
class TfrmSlideshow_Euro_01 : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSlideshow_Euro_01(CardHost *editor);

    QWidget *panContainer;
    PhotoBox *imgFoto;
    PhotoBox *imgBianco; // hidden: the start banner
    QLabel *lblPosizione; // hidden: the card shown, "0" after the last
    Picture *cmdAvanti;   // hidden: one step of the show
    QTimer *Timer;

public slots:
    void cmdAvantiClick();
    void subApriFoto();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CardHost *editor_;
};
