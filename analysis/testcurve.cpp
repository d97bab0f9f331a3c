#include "analysis/testcurve.h"

#include <algorithm>

TestCurve TestCurve::fromStoredOrder(QVector<QPointF> forward, QVector<QPointF> back)
{
    std::reverse(back.begin(), back.end());
    return {std::move(forward), std::move(back)};
}
