#include "report/reportchart.h"

#include <qcustomplot.h>

#include "chart/graphpoints.h"
#include "report/reportdocument.h"
#include "report/resulttext.h"

namespace {

constexpr int MaxLegendEntries = 12;
constexpr int LegendColumns = 6;
constexpr int LegendColumnWidth = 110;  // plot pixels

QVector<QPointF> inUnit(const QVector<QPointF> &newtons, int unit)
{
    QVector<QPointF> shown;
    shown.reserve(newtons.size());
    for (const QPointF &point : newtons)
        shown.append(QPointF(point.x(), forceInUnit(point.y(), unit)));
    return shown;
}

QCPGraph *addStroke(QCustomPlot &plot, const QVector<QPointF> &points, const QPen &pen, const QString &name)
{
    QCPGraph *graph = plot.addGraph();
    setGraphPoints(graph, points);
    graph->setPen(pen);
    graph->setName(name);
    return graph;
}

// Fonts in pixels: the chart is laid out in screen pixels and drawn scaled, so a
// size in points would be scaled twice.
QFont plotFont(int pixels)
{
    QFont font = reportFont();
    font.setPixelSize(pixels);
    return font;
}

std::unique_ptr<QCustomPlot> emptyChart(int unit)
{
    auto plot = std::make_unique<QCustomPlot>();
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        axis->setLabelFont(plotFont(12));
        axis->setTickLabelFont(plotFont(11));
    }
    plot->xAxis->setLabel(ReportChart::tr("Distance (mm)"));
    plot->yAxis->setLabel(ReportChart::tr("Force (%1)").arg(unitName(unit)));
    return plot;
}

// The legend goes in a row of its own under the chart, so it never hides a curve.
void showLegendBelow(QCustomPlot &plot)
{
    auto *row = new QCPLayoutGrid;
    plot.plotLayout()->addElement(1, 0, row);
    plot.plotLayout()->setRowStretchFactor(1, 0.001);
    row->addElement(0, 0, plot.legend);
    row->addElement(0, 1, new QCPLayoutElement(&plot));  // takes the rest of the row
    plot.legend->setFillOrder(QCPLegend::foColumnsFirst);
    plot.legend->setWrap(LegendColumns);
    // As wide as its entries, from the left, rather than spread over the row.
    plot.legend->setMaximumSize(LegendColumnWidth * qMin(plot.legend->itemCount(), LegendColumns), QWIDGETSIZE_MAX);
    plot.legend->setFont(plotFont(11));
    plot.legend->setBorderPen(Qt::NoPen);
    plot.legend->setVisible(true);
}

void fitRanges(QCustomPlot &plot)
{
    plot.rescaleAxes();
    for (QCPAxis *axis : {plot.xAxis, plot.yAxis}) {
        const QCPRange range = axis->range();
        const double margin = range.size() > 0 ? range.size() * 0.05 : 1.0;
        axis->setRange(range.lower - margin, range.upper + margin);
    }
}

} // namespace

std::unique_ptr<QCustomPlot> ReportChart::record(const TestRecord &record, int unit)
{
    auto plot = emptyChart(unit);
    addStroke(*plot, inUnit(record.forward, unit), QPen(QColor(Qt::blue), 1.2), tr("Forward"));
    addStroke(*plot, inUnit(record.back, unit), QPen(QColor(Qt::red), 1.2), tr("Return"));
    showLegendBelow(*plot);
    fitRanges(*plot);
    return plot;
}

std::unique_ptr<QCustomPlot> ReportChart::overlay(const QVector<TestRecord> &records, int unit)
{
    auto plot = emptyChart(unit);
    for (int i = 0; i < records.size(); ++i) {
        const TestRecord &record = records[i];
        const QColor color = overlayColor(i, records.size());
        const QString sample = record.record.value(QStringLiteral("sample")).toString();
        addStroke(*plot, inUnit(record.forward, unit), QPen(color, 1.0), sample);
        QCPGraph *back = addStroke(*plot, inUnit(record.back, unit), QPen(color, 1.0, Qt::DashLine), QString());
        back->removeFromLegend();
    }
    if (records.size() <= MaxLegendEntries)
        showLegendBelow(*plot);
    else
        plot->legend->setVisible(false);
    fitRanges(*plot);
    return plot;
}

QColor ReportChart::overlayColor(int index, int count)
{
    // Hues spread evenly; every other curve a little darker, so neighbours differ
    // in brightness as well when there are many.
    const int hue = count > 0 ? index * 360 / count : 0;
    return QColor::fromHsv(hue % 360, 230, index % 2 ? 150 : 210);
}
