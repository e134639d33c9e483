#pragma once
// The two pictures that the kill tests' writer saves in turn.
#include <QColor>
#include <QImage>

inline QImage durabilityPicture(int which)
{
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(which == 0 ? QColor(200, 40, 40) : QColor(40, 40, 200));
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return image;
}
