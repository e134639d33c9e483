#pragma once
#include <QDialog>
#include <memory>

#include "ui/platform/Platform.h"

class QLabel;
class QPushButton;
class PhotoBox;

// Photo A or B of a MOC card taken with the webcam: the live picture on the
// left, the captured still on the right.
class TfrmWebCam : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWebCam(QWidget *parent);
    ~TfrmWebCam() override;

    QWidget *panCamera;
    QWidget *panTarget;
    PhotoBox *imgCamera;
    PhotoBox *imgTarget;
    PhotoBox *imgBianco; // hidden: the webcam drawing
    QPushButton *btnAccendi;
    QPushButton *btnSpegni;
    QPushButton *btnCattura;
    QPushButton *btnSalvaFotogramma;
    QPushButton *btnImportaFoto;
    QPushButton *btnClose;
    QLabel *lblMemory; // hidden: "foto01" or "foto02"

    platform::VideoInput *camCamera() const { return camera_.get(); }

public slots:
    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();

private:
    // Runs on the user-interface thread, one frame at a time.
    void showFrame();

    std::unique_ptr<platform::VideoInput> camera_;
};
