// The charts module: the statistics window's charts, with Qt Charts.
#include "charts/QtChartMaker.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using platform::ChartSpec;

QChart *makeChart(const ChartSpec &s)
{
    auto *chart = new QChart;
    chart->setTitle(s.title);
    chart->setAnimationOptions(QChart::NoAnimation);
    QFont titleFont = chart->titleFont();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    if (s.kind == ChartSpec::Kind::Pie) {
        auto *series = new QPieSeries(chart);
        for (int i = 0; i < s.labels.size(); ++i) {
            const double value = std::max(0.0, s.values.at(i));
            QPieSlice *slice = series->append(s.labels.at(i), value);
            slice->setLabel(s.sliceLabels.value(i, s.labels.at(i)));
            slice->setLabelVisible(value > 0);
        }
        chart->addSeries(series);
        chart->legend()->setAlignment(Qt::AlignBottom);
        return chart;
    }
    const QString euro = QStringLiteral("€");
    auto *set = new QBarSet(s.unit == euro ? QStringLiteral("Valore (€)") : s.unit);
    QAbstractBarSeries *series = nullptr;
    if (s.kind == ChartSpec::Kind::SideBars)
        series = new QHorizontalBarSeries(chart);
    else
        series = new QBarSeries(chart);
    series->append(set);
    chart->addSeries(series);
    auto *categories = new QBarCategoryAxis(chart);
    QStringList labels = s.labels;
    QList<double> values = s.values;
    // The most valuable read from the top down.
    if (s.kind == ChartSpec::Kind::SideBars) {
        std::reverse(labels.begin(), labels.end());
        std::reverse(values.begin(), values.end());
    }
    for (double v : values)
        *set << v;
    categories->append(labels);
    auto *axis = new QValueAxis(chart);
    // The format is applied as a C format, in Latin-1: the unit goes in the
    // axis title.
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setTitleText(s.unit == euro ? QStringLiteral("Valore (€)") : s.unit);
    axis->setMin(0);
    double top = 0;
    for (double v : s.values)
        top = std::max(top, v);
    if (s.unit == euro) {
        axis->setMax(top > 0 ? top : 1);
        axis->applyNiceNumbers();
    } else {
        // Whole numbers of MOCs.
        axis->setMax(std::max(1.0, top));
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(std::max(1.0, std::ceil(top / 8)));
    }
    const bool side = s.kind == ChartSpec::Kind::SideBars;
    chart->addAxis(categories, side ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(axis, side ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(axis);
    chart->legend()->setVisible(false);
    return chart;
}

class QtChartMaker final : public platform::ChartMaker {
public:
    QWidget *view(QWidget *parent, const ChartSpec &spec) override
    {
        auto *view = new QChartView(parent);
        view->setRenderHint(QPainter::Antialiasing);
        // The view starts with an empty chart of its own, which setChart()
        // lets go of without deleting it.
        std::unique_ptr<QChart> empty(view->chart());
        view->setChart(makeChart(spec));
        return view;
    }

    void render(QPainter &painter, const ChartSpec &spec, const QRectF &area) override
    {
        QChartView view(makeChart(spec));
        view.setRenderHint(QPainter::Antialiasing);
        view.setFrameShape(QFrame::NoFrame);
        const QSize size = area.size().toSize();
        view.resize(size);
        // Drawn at twice the size into a picture of its own, whatever the
        // resolution of the printer or the document: the chart's texts keep
        // the size they have on screen.
        QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::white);
        view.grab(); // the chart lays itself out as the view first takes its size
        {
            QPainter onImage(&image);
            onImage.setRenderHint(QPainter::Antialiasing);
            view.render(&onImage, QRectF(QPointF(), size), QRect(QPoint(), view.viewport()->size()));
        }
        painter.drawImage(area, image);
    }
};

} // namespace

platform::ChartMaker *vetrinora_chart_maker()
{
    static QtChartMaker maker;
    return &maker;
}
