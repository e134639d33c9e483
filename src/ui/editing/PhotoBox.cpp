#include "ui/editing/PhotoBox.h"

#include "core/platform/AtomicFile.h"
#include "ui/platform/Platform.h"

#include <QBuffer>
#include <QFile>
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

void PhotoBox::setImage(const QImage &image) { setPhoto(image, QByteArray()); }

void PhotoBox::setPhoto(const QImage &image, const QByteArray &jpeg)
{
    image_ = image;
    jpeg_ = image.isNull() ? QByteArray() : jpeg;
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

Loaded loadKeepingFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const bool isJpeg = reader.format() == "jpeg"; // asked before the read uses the data up
    Loaded loaded;
    loaded.image = reader.read();
    if (!loaded.image.isNull() && isJpeg)
        loaded.jpeg = bytes;
    return loaded;
}

namespace {

QByteArray encode(const QImage &image, const QByteArray &format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(kJpegQuality);
    if (!writer.write(image))
        return {};
    return bytes;
}

bool sameBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.size() != bytes.size() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.readAll() == bytes;
}

} // namespace

bool save(const QImage &image, const QString &path)
{
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        format = "jpg";
    const QByteArray bytes = encode(image, format);
    return !bytes.isEmpty() && platform::AtomicFile::writeAll(path, bytes);
}

bool saveBox(const PhotoBox &box, const QString &path)
{
    if (box.jpeg().isEmpty())
        return save(box.image(), path);
    return sameBytes(path, box.jpeg()) || platform::AtomicFile::writeAll(path, box.jpeg());
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
