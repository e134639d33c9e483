#pragma once
// A small banded report engine. A template is data (a JSON file built into
// the program): a page with its size, orientation and margins, bands, and
// memo, picture and shape objects with names, positions and sizes in units of
// 1/96 inch, fonts and colours. Preparing a template lays its bands out on
// pages, splitting a tall master-data band across as many pages as needed;
// a prepared report paints onto any device: a printer, the print preview, a
// PDF file or an image.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <stdexcept>

#include "core/reports/PrintJob.h"

class QPainter;

namespace report {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr double kUnitsPerMm = 96.0 / 25.4; // 3.78

enum class ObjectKind { Memo, Picture, Shape };
enum class BandKind { Title, MasterData, Footer };

struct Object {
    QString name;
    ObjectKind kind = ObjectKind::Memo;
    QRectF rect; // within its band, or within the page's printable area
    QString fontFamily = QStringLiteral("Arial");
    double fontSize = 10; // points
    bool bold = false;
    QColor color = Qt::black;
    QColor fill;  // invalid: none
    QColor frame; // invalid: none
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    QStringList lines; // memo text
    QString resource;  // picture: an image or SVG resource
    QImage picture;    // picture: an assigned bitmap (takes precedence)
};

struct Band {
    QString name;
    BandKind kind = BandKind::MasterData;
    double height = 0;
    QList<Object> objects;
};

class Template {
public:
    static Template load(const QString &resource);

    QString name;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double marginMm = 10;
    QList<Band> bands;
    QList<Object> pageObjects; // objects standing directly on the page

    // Objects and bands by name; throw report::Error when there is none.
    Object &object(const QString &name);
    const Object &object(const QString &name) const;
    Band &band(const QString &name);

    void setText(const QString &name, const QString &text);
    void setLines(const QString &name, const QStringList &lines);
    void setPicture(const QString &name, const QImage &picture);

    // The printable area of a page, in units.
    QSizeF printableSize() const;
};

// An object where it lands on a prepared page, in units from the top-left
// corner of the printable area; a split memo carries only its page's lines.
struct Placed {
    Object object;
    QRectF rect;
};

struct Page {
    QList<Placed> objects;
    const Placed *find(const QString &name) const;
};

struct Prepared {
    QString name;
    QPageSize pageSize;
    QPageLayout::Orientation orientation;
    double marginMm;
    QSizeF printable;
    QList<Page> pages;

    QPageLayout pageLayout() const;
};

Prepared prepare(const Template &report);

// Paints a page with its printable area's top-left corner at the painter's
// origin; `scale` is device pixels per unit.
void paintPage(QPainter &painter, const Prepared &report, int page, double scale);
// The prepared report as a document for the print dialog or the preview.
platform::PrintJob printJob(const Prepared &report);

// A page as a picture at 96 dots per inch (one pixel per unit), printable area only.
QImage renderPage(const Prepared &report, int page);

} // namespace report
