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
    // A picture together with the bytes of the JPEG file it was read from, so
    // that saving an unchanged photo stores exactly those bytes again.
    void setPhoto(const QImage &image, const QByteArray &jpeg);
    // The JPEG bytes of the picture shown, or nothing once the picture came
    // from anywhere but a JPEG file.
    const QByteArray &jpeg() const { return jpeg_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage image_;
    QByteArray jpeg_;
};

namespace Photos {
// The placeholder picture of a card without photos, drawn for a box size.
QImage placeholder(const QString &svgResource, QSize size);
// The JPEG quality of every photo the program encodes: high enough that a
// collector sees no loss, and a photo is encoded only when it changed.
inline constexpr int kJpegQuality = 92;

// Loads a JPEG or bitmap file; a null image when it cannot be read.
QImage load(const QString &path);
struct Loaded {
    QImage image;
    QByteArray jpeg; // the file's bytes when it is a JPEG file
};
Loaded loadKeepingFile(const QString &path);
// Writes a picture in the format its extension selects (JPEG for ".jpg");
// an extension that selects no format gets a JPEG all the same. The file is
// replaced in one step: on any failure the old file stays whole.
bool save(const QImage &image, const QString &path);
// Writes a photo box's picture as a JPEG file: its own JPEG bytes when the
// picture is unchanged since it was read (nothing is written when the file
// already holds them), else the picture encoded anew.
bool saveBox(const PhotoBox &box, const QString &path);

enum class Saved { Cancelled, Done, Failed };
// Asks where to save a picture as a JPEG file (proposed "Foto.jpg"; ".jpg"
// added to a name typed without extension) and writes it there.
Saved saveAs(QWidget *parent, const QImage &image);
} // namespace Photos
