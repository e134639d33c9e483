#include "core/reports/Report.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <memory>

namespace report {

namespace {

QColor colour(const QJsonValue &value)
{
    return value.isString() ? QColor(value.toString()) : QColor();
}

Qt::Alignment alignment(const QString &text)
{
    Qt::Alignment a;
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    a |= parts.contains(QLatin1String("center")) || parts.contains(QLatin1String("hcenter"))
             ? Qt::AlignHCenter
             : parts.contains(QLatin1String("right")) ? Qt::AlignRight : Qt::AlignLeft;
    a |= parts.contains(QLatin1String("center")) || parts.contains(QLatin1String("vcenter"))
             ? Qt::AlignVCenter
             : Qt::AlignTop;
    return a;
}

Object readObject(const QJsonObject &json)
{
    Object o;
    o.name = json.value(QLatin1String("name")).toString();
    const QString kind = json.value(QLatin1String("kind")).toString();
    o.kind = kind == QLatin1String("picture") ? ObjectKind::Picture
             : kind == QLatin1String("shape") ? ObjectKind::Shape
                                              : ObjectKind::Memo;
    const QJsonArray r = json.value(QLatin1String("rect")).toArray();
    o.rect = QRectF(r.at(0).toDouble(), r.at(1).toDouble(), r.at(2).toDouble(), r.at(3).toDouble());
    const QJsonArray font = json.value(QLatin1String("font")).toArray();
    if (!font.isEmpty()) {
        o.fontFamily = font.at(0).toString();
        o.fontSize = font.at(1).toDouble();
        o.bold = font.at(2).toString() == QLatin1String("bold");
    }
    if (json.contains(QLatin1String("color")))
        o.color = colour(json.value(QLatin1String("color")));
    o.fill = colour(json.value(QLatin1String("fill")));
    o.frame = colour(json.value(QLatin1String("frame")));
    o.alignment = alignment(json.value(QLatin1String("align")).toString());
    if (json.contains(QLatin1String("text")))
        o.lines = json.value(QLatin1String("text")).toString().split(QLatin1Char('\n'));
    o.resource = json.value(QLatin1String("resource")).toString();
    return o;
}

} // namespace

Template Template::load(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw Error("report template missing: " + resource.toStdString());
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    Template t;
    t.name = json.value(QLatin1String("name")).toString();
    const QJsonObject page = json.value(QLatin1String("page")).toObject();
    t.orientation = page.value(QLatin1String("orientation")).toString() == QLatin1String("landscape")
                        ? QPageLayout::Landscape
                        : QPageLayout::Portrait;
    t.marginMm = page.value(QLatin1String("margin")).toDouble(10);
    for (const QJsonValue &b : json.value(QLatin1String("bands")).toArray()) {
        const QJsonObject bj = b.toObject();
        Band band;
        band.name = bj.value(QLatin1String("name")).toString();
        const QString kind = bj.value(QLatin1String("kind")).toString();
        band.kind = kind == QLatin1String("title")    ? BandKind::Title
                    : kind == QLatin1String("footer") ? BandKind::Footer
                                                      : BandKind::MasterData;
        band.height = bj.value(QLatin1String("height")).toDouble();
        for (const QJsonValue &o : bj.value(QLatin1String("objects")).toArray())
            band.objects.append(readObject(o.toObject()));
        t.bands.append(band);
    }
    for (const QJsonValue &o : json.value(QLatin1String("objects")).toArray())
        t.pageObjects.append(readObject(o.toObject()));
    return t;
}

Object &Template::object(const QString &objectName)
{
    for (Object &o : pageObjects)
        if (o.name == objectName)
            return o;
    for (Band &b : bands)
        for (Object &o : b.objects)
            if (o.name == objectName)
                return o;
    throw Error("no report object " + objectName.toStdString());
}

const Object &Template::object(const QString &objectName) const
{
    return const_cast<Template *>(this)->object(objectName);
}

Band &Template::band(const QString &bandName)
{
    for (Band &b : bands)
        if (b.name == bandName)
            return b;
    throw Error("no report band " + bandName.toStdString());
}

void Template::setText(const QString &objectName, const QString &text)
{
    object(objectName).lines = QStringList{text};
}

void Template::setLines(const QString &objectName, const QStringList &lines)
{
    object(objectName).lines = lines;
}

void Template::setPicture(const QString &objectName, const QImage &picture)
{
    object(objectName).picture = picture;
}

QSizeF Template::printableSize() const
{
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    const QSizeF oriented = orientation == QPageLayout::Landscape ? mm.transposed() : mm;
    return (oriented - QSizeF(2 * marginMm, 2 * marginMm)) * kUnitsPerMm;
}

const Placed *Page::find(const QString &name) const
{
    for (const Placed &p : objects)
        if (p.object.name == name)
            return &p;
    return nullptr;
}

QPageLayout Prepared::pageLayout() const
{
    return QPageLayout(pageSize, orientation,
                       QMarginsF(marginMm, marginMm, marginMm, marginMm), QPageLayout::Millimeter);
}

Prepared prepare(const Template &report)
{
    Prepared out;
    out.name = report.name;
    out.pageSize = report.pageSize;
    out.orientation = report.orientation;
    out.marginMm = report.marginMm;
    out.printable = report.printableSize();
    out.pages.append(Page());
    for (const Object &o : report.pageObjects)
        out.pages.last().objects.append({o, o.rect});

    const double bottom = out.printable.height();
    double y = 0;
    auto newPage = [&] {
        out.pages.append(Page());
        y = 0;
    };
    auto place = [&](double top, const QList<Object> &objects) {
        for (const Object &o : objects)
            out.pages.last().objects.append({o, o.rect.translated(0, top)});
    };

    for (const Band &band : report.bands) {
        // A master-data band whose memo holds several lines may continue on
        // the following pages, line by line.
        const Object *memo = nullptr;
        if (band.kind == BandKind::MasterData)
            for (const Object &o : band.objects)
                if (o.kind == ObjectKind::Memo && o.lines.size() > 1)
                    memo = &o;
        if (!memo || y + band.height <= bottom + 1e-6) {
            if (y + band.height > bottom + 1e-6 && y > 0)
                newPage();
            place(y, band.objects);
            y += band.height;
            continue;
        }
        // Every page must take at least one line of the memo, or the band
        // would never end.
        const double pitch = memo->rect.height() / memo->lines.size();
        if (!std::isfinite(memo->rect.top()) || !std::isfinite(pitch) || pitch <= 0)
            throw Error(QStringLiteral("Impossibile preparare la stampa \"%1\": il riquadro di "
                                       "testo \"%2\" del modello non ha un'altezza valida.")
                            .arg(report.name, memo->name)
                            .toStdString());
        // How many of the remaining lines fit below `from` on the current page.
        auto linesFitting = [&](double from, qsizetype remaining) -> qsizetype {
            const double room = std::floor((bottom - from - memo->rect.top()) / pitch + 1e-6);
            if (!(room >= 1))
                return 0;
            return room >= double(remaining) ? remaining : qsizetype(room);
        };
        if (linesFitting(0, 1) < 1)
            throw Error(QStringLiteral("Impossibile preparare la stampa \"%1\": il riquadro di "
                                       "testo \"%2\" del modello non entra in una pagina.")
                            .arg(report.name, memo->name)
                            .toStdString());
        const double below = band.height - memo->rect.bottom();
        qsizetype done = 0;
        while (done < memo->lines.size()) {
            const qsizetype fit = linesFitting(y, memo->lines.size() - done);
            if (fit <= 0) {
                newPage();
                continue;
            }
            Object part = *memo;
            part.lines = memo->lines.mid(done, fit);
            part.rect.setHeight(fit * pitch);
            QList<Object> objects;
            for (const Object &o : band.objects)
                objects.append(&o == memo ? part : o);
            done += fit;
            const double height = memo->rect.top() + fit * pitch
                                  + (done == memo->lines.size() ? below : 0);
            place(y, objects);
            y += height;
            if (done < memo->lines.size())
                newPage();
        }
    }
    return out;
}

namespace {

QFont deviceFont(const Object &o, double scale)
{
    QFont font(o.fontFamily);
    font.setPixelSize(std::max(1, int(std::lround(o.fontSize * 96.0 / 72.0 * scale))));
    font.setBold(o.bold);
    if (o.fontFamily.contains(QLatin1String("Courier")))
        font.setStyleHint(QFont::Monospace);
    else
        font.setStyleHint(QFont::SansSerif);
    return font;
}

void paintPicture(QPainter &painter, const Object &o, const QRectF &target)
{
    if (!o.picture.isNull()) {
        QSizeF size = QSizeF(o.picture.size()).scaled(target.size(), Qt::KeepAspectRatio);
        QRectF r(QPointF(), size);
        r.moveCenter(target.center());
        painter.drawImage(r, o.picture);
        return;
    }
    if (o.resource.isEmpty())
        return;
    QSvgRenderer svg(o.resource);
    if (svg.isValid()) {
        QSizeF size = QSizeF(svg.defaultSize()).scaled(target.size(), Qt::KeepAspectRatio);
        QRectF r(QPointF(), size);
        r.moveCenter(target.center());
        svg.render(&painter, r);
    }
}

} // namespace

void paintPage(QPainter &painter, const Prepared &report, int page, double scale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Placed &p : report.pages.at(page).objects) {
        const Object &o = p.object;
        const QRectF r(p.rect.x() * scale, p.rect.y() * scale, p.rect.width() * scale,
                       p.rect.height() * scale);
        if (o.fill.isValid())
            painter.fillRect(r, o.fill);
        if (o.frame.isValid()) {
            painter.setPen(QPen(o.frame, std::max(1.0, scale)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
        }
        if (o.kind == ObjectKind::Picture) {
            paintPicture(painter, o, r);
            continue;
        }
        if (o.kind != ObjectKind::Memo || o.lines.isEmpty())
            continue;
        // Text is cut at the memo's edge, never wrapped.
        painter.save();
        painter.setClipRect(r);
        painter.setFont(deviceFont(o, scale));
        painter.setPen(o.color);
        if (o.lines.size() == 1) {
            painter.drawText(r.adjusted(2 * scale, 0, -2 * scale, 0), int(o.alignment) | Qt::TextSingleLine,
                             o.lines.first());
        } else {
            const double pitch = r.height() / o.lines.size();
            for (qsizetype i = 0; i < o.lines.size(); ++i)
                painter.drawText(QRectF(r.x() + 2 * scale, r.y() + i * pitch, r.width(), pitch),
                                 int(Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextSingleLine,
                                 o.lines.at(i));
        }
        painter.restore();
    }
    painter.restore();
}

platform::PrintJob printJob(const Prepared &report)
{
    auto shared = std::make_shared<Prepared>(report);
    platform::PrintJob job;
    job.title = report.name;
    job.layout = report.pageLayout();
    job.pageCount = int(report.pages.size());
    job.paintPage = [shared](QPainter &painter, int page, double scale) {
        paintPage(painter, *shared, page, scale);
    };
    return job;
}

QImage renderPage(const Prepared &report, int page)
{
    QImage image(report.printable.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, report, page, 1.0);
    return image;
}

} // namespace report
