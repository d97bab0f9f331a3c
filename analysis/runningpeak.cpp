#include "analysis/runningpeak.h"

#include <cmath>

void RunningPeak::follow(const QVector<QPointF> &points)
{
    if (points.size() < seen)
        *this = RunningPeak();
    for (; seen < points.size(); ++seen) {
        const QPointF &p = points[seen];
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            continue;
        ++counted;
        if (!largest || std::fabs(p.y()) > std::fabs(largest->y()))
            largest = p;
    }
}
