#include "ui/editing/TfrmZoom.h"

#include "ui/base/Widgets.h"
#include "ui/editing/PhotoBox.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

TfrmZoom::TfrmZoom(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->installEventFilter(this);
    imgFoto = new PhotoBox(QStringLiteral("imgFoto"), QRect(), panContainer);
    connect(imgFoto, &PhotoBox::clicked, this, &TfrmZoom::imgFotoClick);
}

void TfrmZoom::imgFotoClick() { close(); }
void TfrmZoom::panContainerClick() { close(); }

void TfrmZoom::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->size() - QSize(60, 90) : QSize(800, 600);
    panContainer->resize(area);
    imgFoto->setGeometry(QRect(QPoint(0, 0), area));
    panContainer->move((width() - area.width()) / 2, (height() - area.height()) / 2);
}

void TfrmZoom::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    panContainer->move((width() - panContainer->width()) / 2,
                       (height() - panContainer->height()) / 2);
}

void TfrmZoom::paintEvent(QPaintEvent *) { paintVerticalGradient(this, Colors::steelBlue()); }

bool TfrmZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panContainer && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        panContainerClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
