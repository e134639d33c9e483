#pragma once
#include <QPageLayout>
#include <QString>
#include <functional>

class QPainter;

namespace platform {

// A document of pages to print or preview. paintPage paints one page with the
// top-left corner of its printable area at the painter's origin, at `scale`
// device pixels per 1/96 inch.
struct PrintJob {
    QString title;
    QPageLayout layout;
    int pageCount = 0;
    std::function<void(QPainter &painter, int page, double scale)> paintPage;
};

} // namespace platform
