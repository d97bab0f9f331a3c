#pragma once

#include <QDateTime>
#include <QPointF>
#include <QVector>

#include "device/acquisitionquality.h"
#include "device/curvesetting.h"

// One test started with Start, as the window saw it: the points of this test only,
// both strokes in acquisition order, forces in newtons and distances in mm exactly as
// the controller sent them, whatever unit the chart shows.
class TestRun
{
public:
    TestRun() = default;
    TestRun(const Curve_Setting &setting, const QDateTime &startedAt);

    // A point as the acquisition thread delivers it: stroke 0 forward, 1 return.
    void addPoint(int stroke, double distanceMm, double forceN);
    int pointCount() const { return forward.size() + back.size(); }

    QVector<QPointF> forward;  // x distance (mm), y force (N)
    QVector<QPointF> back;
    Curve_Setting setting{0, 0, 0, 0.0f};
    QDateTime startedAt;       // UTC
    qint64 durationMs = 0;     // from Start to the end of curve acquisition
    bool stopped = false;      // ended by Stop rather than by the controller running dry
    AcquisitionQuality quality;
};

Q_DECLARE_METATYPE(TestRun)
