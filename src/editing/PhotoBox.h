#pragma once
#include <QImage>
#include <QWidget>

// A photo box: holds a picture at its own pixel size and shows it scaled to
// fit the box with its proportions kept.
class PhotoBox : public QWidget {
    Q_OBJECT
public:
    PhotoBox(const QString &objectName, const QRect &geometry, QWidget *parent);

    const QImage &image() const { return image_; }
    void setImage(const QImage &image);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage image_;
};

namespace Photos {
// The placeholder picture of a card without photos, drawn for a box size.
QImage placeholder(const QString &svgResource, QSize size);
// Loads a JPEG or bitmap file; a null image when it cannot be read.
QImage load(const QString &path);
// Writes a picture in the format its extension selects (JPEG for ".jpg");
// an extension that selects no format gets a JPEG all the same.
bool save(const QImage &image, const QString &path);

enum class Saved { Cancelled, Done, Failed };
// Asks where to save a picture as a JPEG file (proposed "Foto.jpg"; ".jpg"
// added to a name typed without extension) and writes it there.
Saved saveAs(QWidget *parent, const QImage &image);
} // namespace Photos
