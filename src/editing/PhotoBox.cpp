#include "editing/PhotoBox.h"

#include "platform/Platform.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

PhotoBox::PhotoBox(const QString &objectName, const QRect &geometry, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setGeometry(geometry);
}

void PhotoBox::setImage(const QImage &image)
{
    image_ = image;
    update();
}

void PhotoBox::paintEvent(QPaintEvent *)
{
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize scaled = image_.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), scaled);
    target.moveCenter(rect().center());
    painter.drawImage(target, image_);
}

void PhotoBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

namespace Photos {

QImage placeholder(const QString &svgResource, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(svgResource).render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QImage load(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

bool save(const QImage &image, const QString &path)
{
    QImageWriter writer(path);
    if (writer.format().isEmpty() || !writer.canWrite()) {
        QImageWriter jpeg(path, "jpg");
        return jpeg.write(image);
    }
    return writer.write(image);
}

Saved saveAs(QWidget *parent, const QImage &image)
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    request.filters = {QStringLiteral("File Jpeg (*.jpg)")};
    request.proposedName = QStringLiteral("Foto.jpg");
    request.defaultExtension = QStringLiteral("jpg");
    request.overwritePrompt = true;
    QString path = platform::services().saveFile(parent, request);
    if (path.isEmpty())
        return Saved::Cancelled;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".jpg");
    return save(image, path) ? Saved::Done : Saved::Failed;
}

} // namespace Photos
