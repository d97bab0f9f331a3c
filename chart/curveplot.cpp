#include "chart/curveplot.h"

#include <qcustomplot.h>

#include <algorithm>

#include "app/windowtext.h"
#include "chart/forceunit.h"
#include "control/readout.h"

void widenToInclude(double &lower, double &upper, double x)
{
    if (x > upper)
        upper = x;
    if (x < lower)
        lower = x;
}

CurvePlot::CurvePlot(QCustomPlot *plot)
    : plot(plot)
    , marks(std::make_unique<CurveMarkers>(plot))
{
}

void CurvePlot::init()
{
    plot->addGraph();
    plot->graph(Forward)->setPen(QPen(QColor(Qt::blue)));
    plot->xAxis->setLabel(trWindow("Distance"));
    plot->yAxis->setLabel(trWindow("Force %1").arg(QStringLiteral("N")));
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot->xAxis->setRange(0, 100);
    plot->yAxis->setRange(500, -300);
    plot->addGraph();
    plot->graph(Return)->setPen(QPen(QColor(Qt::red)));
    plot->graph(Forward)->setName(trWindow("Forward"));
    plot->graph(Return)->setName(trWindow("Return"));
    plot->legend->setVisible(true);
    rememberRanges();
}

void CurvePlot::rememberRanges()
{
    homeDistance[0] = plot->xAxis->range().lower;
    homeDistance[1] = plot->xAxis->range().upper;
    homeForce[0] = plot->yAxis->range().lower;
    homeForce[1] = plot->yAxis->range().upper;
}

void CurvePlot::resetZoom()
{
    plot->xAxis->setRange(homeDistance[0], homeDistance[1]);
    plot->yAxis->setRange(homeForce[0], homeForce[1]);
    plot->replot();
}

void CurvePlot::addPoint(int stroke, double distance, double force)
{
    if (stroke != Forward && stroke != Return)
        return;
    plot->graph(stroke)->addData(distance, force);
    widenToInclude(homeDistance[0], homeDistance[1], distance);
    QCPRange range = plot->xAxis->range();
    widenToInclude(range.lower, range.upper, distance);
    if (range != plot->xAxis->range())
        plot->xAxis->setRange(range.lower, range.upper);
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void CurvePlot::changeUnit(uint8_t previousUnit, uint8_t newUnit)
{
    plot->yAxis->setLabel(trWindow("Force %1").arg(ForceUnit::name(newUnit)));
    if (ForceUnit::isKnown(previousUnit)) {
        const QCPRange range = plot->yAxis->range();
        plot->yAxis->setRange(ForceUnit::nextInCycle(float(range.lower), previousUnit),
                              ForceUnit::nextInCycle(float(range.upper), previousUnit));
        for (double &bound : homeForce)
            bound = ForceUnit::nextInCycle(float(bound), previousUnit);
        for (int stroke : {Forward, Return}) {
            QSharedPointer<QCPGraphDataContainer> data = plot->graph(stroke)->data();
            QVector<double> keys, values;
            keys.reserve(data->size());
            values.reserve(data->size());
            for (const QCPGraphData &point : *data) {
                keys.append(point.key);
                values.append(ForceUnit::nextInCycle(float(point.value), previousUnit));
            }
            data->clear();
            plot->graph(stroke)->addData(keys, values, true);
        }
    }
    plot->replot();
}

void CurvePlot::clear()
{
    plot->graph(Forward)->data()->clear();
    plot->graph(Return)->data()->clear();
    marks->clear();
    plot->replot();
}

void CurvePlot::setStrokeVisible(int stroke, bool visible)
{
    plot->graph(stroke)->setVisible(visible);
    plot->replot();
}

void CurvePlot::setForceRange(double ratedForce)
{
    plot->yAxis->setRange(-ratedForce, ratedForce);
    homeForce[0] = plot->yAxis->range().lower;
    homeForce[1] = plot->yAxis->range().upper;
    plot->replot();
}

bool CurvePlot::hasPoints() const
{
    return !plot->graph(Forward)->data()->isEmpty() || !plot->graph(Return)->data()->isEmpty();
}

QVector<QPointF> CurvePlot::points(int stroke) const
{
    const QSharedPointer<QCPGraphDataContainer> data = plot->graph(stroke)->data();
    QVector<QPointF> points;
    points.reserve(data->size());
    for (const QCPGraphData &point : *data)
        points.append(QPointF(point.key, point.value));
    return points;
}

void CurvePlot::showLoaded(const QVector<QPointF> &forward, const QVector<QPointF> &back)
{
    for (int stroke : {Forward, Return}) {
        const QVector<QPointF> &points = stroke == Forward ? forward : back;
        QVector<QCPGraphData> data;
        data.reserve(points.size());
        for (const QPointF &point : points)
            data.append(QCPGraphData(point.x(), point.y()));
        // Points of equal distance keep the order of the file, which a plain sort
        // would not guarantee.
        const auto byDistance = [](const QCPGraphData &a, const QCPGraphData &b) { return a.key < b.key; };
        if (!std::is_sorted(data.cbegin(), data.cend(), byDistance))
            std::stable_sort(data.begin(), data.end(), byDistance);
        plot->graph(stroke)->data()->set(data, true);
    }
    marks->clear();
    plot->xAxis->setRange(0, 100);
    homeDistance[0] = 0;
    homeDistance[1] = 100;
    plot->replot();
}

AxisSetting CurvePlot::axisSetting() const
{
    return {plot->xAxis->range().lower, plot->xAxis->range().upper,
            plot->yAxis->range().lower, plot->yAxis->range().upper,
            plot->xAxis->rangeReversed(), plot->yAxis->rangeReversed()};
}

void CurvePlot::applyAxisSetting(const AxisSetting &setting)
{
    plot->xAxis->setRange(setting.xMin, setting.xMax);
    plot->yAxis->setRange(setting.yMin, setting.yMax);
    plot->xAxis->setRangeReversed(setting.xReversed);
    plot->yAxis->setRangeReversed(setting.yReversed);
    rememberRanges();
    plot->replot();
}

QString CurvePlot::cursorText(const QPoint &pos, int decimals) const
{
    const float x = float(plot->xAxis->pixelToCoord(pos.x()));
    const float y = float(plot->yAxis->pixelToCoord(pos.y()));
    return trWindow("%1, %2").arg(x, 0, 'f', 1).arg(y, 0, 'f', Readout::boundedDecimals(decimals));
}

void CurvePlot::toggleFullScreen()
{
    // A child widget can only fill the screen as a window of its own; going back, it
    // returns to its place in the window's layout.
    fullScreen = !fullScreen;
    plot->setWindowFlag(Qt::Window, fullScreen);
    if (fullScreen)
        plot->showFullScreen();
    else
        plot->showNormal();
}
