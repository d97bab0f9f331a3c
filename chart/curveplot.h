#pragma once

#include <cstdint>
#include <memory>

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QVector>

#include "chart/axissetting.h"
#include "chart/curvemarkers.h"

class QCustomPlot;

// The force/distance chart: graph 0 holds the forward stroke, graph 1 the return
// stroke, forces in the unit the operator sees. The graphs are the only store of a
// test's points; saving and export read them back from here.
class CurvePlot
{
public:
    enum Stroke { Forward = 0, Return = 1 };

    explicit CurvePlot(QCustomPlot *plot);

    void init();

    // Appends a point already converted to the shown unit, widens the distance axis to
    // take it in and asks for a redraw. Redraw requests made in one pass of the event
    // loop are drawn once, so a fast test cannot pile up replots.
    void addPoint(int stroke, double distance, double force);

    // Relabels the force axis and converts its range and every value held from
    // `previousUnit` along the controller's unit cycle.
    void changeUnit(uint8_t previousUnit, uint8_t newUnit);

    void clear();
    void setStrokeVisible(int stroke, bool visible);
    void setForceRange(double ratedForce);  // -ratedForce .. +ratedForce
    bool hasPoints() const;

    // A stroke's points in ascending distance: x the distance, y the force shown.
    QVector<QPointF> points(int stroke) const;

    // Replaces both strokes with points loaded from a file, already in the shown
    // unit, and shows the distances 0..100 again; the force range stays.
    void showLoaded(const QVector<QPointF> &forward, const QVector<QPointF> &back);

    AxisSetting axisSetting() const;

    // Bounds given the wrong way round are swapped; a range whose bounds are equal
    // is left as it was. The directions always apply.
    void applyAxisSetting(const AxisSetting &setting);

    // Status-bar text for the cursor at `pos`: distance with 1 decimal, force with
    // `decimals` decimals.
    QString cursorText(const QPoint &pos, int decimals) const;

    void toggleFullScreen();
    bool isFullScreen() const { return fullScreen; }

    // Brings back the ranges the program last set, undoing the operator's dragging
    // and zooming; the distance range has taken in every point since.
    void resetZoom();

    // Marks of the results; cleared with the points they mark.
    CurveMarkers &markers() { return *marks; }

private:
    void rememberRanges();

    QCustomPlot *plot;
    std::unique_ptr<CurveMarkers> marks;
    bool fullScreen = false;
    double homeDistance[2] = {0, 100};  // lower, upper
    double homeForce[2] = {-300, 500};
};

// The distance axis only ever widens on its own: the range that takes in `x`.
void widenToInclude(double &lower, double &upper, double x);
