#include "ui/editing/TfrmWebCam.h"

#include "ui/base/Navigation.h"
#include "ui/editing/CardHost.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "ui/editing/PhotoBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QThread>

namespace {
QWidget *frame(const QString &name, const QRect &geometry, QWidget *parent)
{
    auto *panel = new Band(name, geometry, parent, QColor(0xF7, 0xFA, 0xFD));
    return panel;
}
} // namespace

TfrmWebCam::TfrmWebCam(QWidget *parent)
    : QDialog(parent), camera_(platform::services().openVideoInput())
{
    makeFixedModal(this, QStringLiteral("frmWebCam"), QStringLiteral(" Cattura foto con webcam"),
                   QSize(807, 405));
    panCamera = frame(QStringLiteral("panCamera"), QRect(14, 14, 378, 286), this);
    panTarget = frame(QStringLiteral("panTarget"), QRect(415, 14, 378, 286), this);
    const QImage webcam = Photos::placeholder(QStringLiteral(":/images/webcam.svg"), QSize(366, 274));
    imgCamera = new PhotoBox(QStringLiteral("imgCamera"), QRect(6, 6, 366, 274), panCamera);
    imgCamera->setImage(webcam);
    imgTarget = new PhotoBox(QStringLiteral("imgTarget"), QRect(6, 6, 366, 274), panTarget);
    imgTarget->setImage(Photos::placeholder(QStringLiteral(":/images/fotocamera.svg"), QSize(366, 274)));
    imgBianco = new PhotoBox(QStringLiteral("imgBianco"), QRect(0, 0, 366, 274), this);
    imgBianco->setImage(webcam);
    imgBianco->hide();
    btnAccendi = makeButton(QStringLiteral("btnAccendi"), QStringLiteral("Accendi webcam"), QRect(14, 312, 122, 34), this);
    btnSpegni = makeButton(QStringLiteral("btnSpegni"), QStringLiteral("Spegni webcam"), QRect(142, 312, 122, 34), this);
    btnCattura = makeButton(QStringLiteral("btnCattura"), QStringLiteral("Cattura foto"), QRect(270, 312, 122, 34), this);
    btnSalvaFotogramma = makeButton(QStringLiteral("btnSalvaFotogramma"), QStringLiteral("Salva foto su disco"),
                                QRect(415, 312, 185, 34), this);
    btnImportaFoto = makeButton(QStringLiteral("btnImportaFoto"), QStringLiteral("Importa foto in scheda"),
                            QRect(608, 312, 185, 34), this);
    btnClose = makeButton(QStringLiteral("btnClose"), QStringLiteral("Annulla"), QRect(673, 358, 120, 34), this);
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QString(), QRect(), this);
    lblMemory->hide();

    connect(btnAccendi, &QPushButton::clicked, this, &TfrmWebCam::btnAccendiClick);
    connect(btnSpegni, &QPushButton::clicked, this, &TfrmWebCam::btnSpegniClick);
    connect(btnCattura, &QPushButton::clicked, this, &TfrmWebCam::btnCatturaClick);
    connect(btnSalvaFotogramma, &QPushButton::clicked, this, &TfrmWebCam::btnSalvaFotogrammaClick);
    connect(btnImportaFoto, &QPushButton::clicked, this, &TfrmWebCam::btnImportaFotoClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmWebCam::btnCloseClick);

    // Each frame is handed to the user-interface thread, and the capture
    // thread waits until it has been converted: one conversion at a time.
    connect(camera_.get(), &platform::VideoInput::frameArrived, this,
            [this] {
                if (QThread::currentThread() == thread())
                    showFrame();
                else
                    QMetaObject::invokeMethod(this, &TfrmWebCam::showFrame,
                                              Qt::BlockingQueuedConnection);
            },
            Qt::DirectConnection);
}

TfrmWebCam::~TfrmWebCam()
{
    disconnect(camera_.get(), nullptr, this, nullptr);
    camera_->stop();
}

void TfrmWebCam::showFrame()
{
    if (!camera_->isActive())
        return;
    const QImage image = camera_->currentFrame();
    if (!image.isNull())
        imgCamera->setImage(image);
}

void TfrmWebCam::btnAccendiClick() { camera_->start(); }
void TfrmWebCam::btnSpegniClick() { camera_->stop(); }
void TfrmWebCam::btnCatturaClick() { imgTarget->setImage(imgCamera->image()); }

void TfrmWebCam::btnSalvaFotogrammaClick()
{
    if (Photos::saveAs(this, imgTarget->image()) == Photos::Saved::Failed)
        imgTarget->setImage(imgBianco->image());
}

void TfrmWebCam::btnImportaFotoClick()
{
    camera_->stop();
    const QString slot = Text::trim(lblMemory->text());
    auto *editor = dynamic_cast<CardHost *>(navigation().window(Place::Mocs));
    if (slot == QLatin1String("foto01"))
        editor->photoBox(0)->setImage(imgTarget->image());
    else if (slot == QLatin1String("foto02"))
        editor->photoBox(1)->setImage(imgTarget->image());
    close();
}

void TfrmWebCam::btnCloseClick()
{
    camera_->stop();
    close();
}
