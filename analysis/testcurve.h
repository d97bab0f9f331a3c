#pragma once

#include <QPointF>
#include <QVector>

// A test's two strokes as the calculations take them: each in time order, x the
// distance in mm, y the force in N.
struct TestCurve
{
    QVector<QPointF> forward;
    QVector<QPointF> back;  // the return stroke

    // A curve known only in stored order (a data file, the chart), which is
    // ascending distance: the forward stroke ran that way, the return stroke the
    // other way, so its points are taken in reverse (in place when `back` is moved in).
    static TestCurve fromStoredOrder(QVector<QPointF> forward, QVector<QPointF> back);
};
