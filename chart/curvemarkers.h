#pragma once

// Marks on the chart for what a test's results found: each stroke's peak and break,
// and the window mean force and slope were taken over. Each kind is switched on its
// own; all are off until the operator asks, so the chart and its exports look as
// they always did.

#include <QList>
#include <QPointF>
#include <optional>
#include <utility>

class QCPAbstractItem;
class QCustomPlot;

class CurveMarkers
{
public:
    enum Kind { Peak, Break, Window, KindCount };

    // Forces in the unit the chart shows; index 0 the forward stroke, 1 the return.
    struct Places
    {
        std::optional<QPointF> peak[2];
        std::optional<double> breakDistance[2];
        std::optional<std::pair<double, double>> window;
    };

    explicit CurveMarkers(QCustomPlot *plot);

    void place(const Places &places);
    void clear() { place(Places()); }
    void setShown(Kind kind, bool shown);
    bool isShown(Kind kind) const { return shown[kind]; }

private:
    void redraw();

    QCustomPlot *plot;
    Places places;
    bool shown[KindCount] = {};
    QList<QCPAbstractItem *> items;
};
