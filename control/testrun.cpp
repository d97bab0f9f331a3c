#include "control/testrun.h"

TestRun::TestRun(const Curve_Setting &setting, const QDateTime &startedAt)
    : setting(setting)
    , startedAt(startedAt.toUTC())
{
}

void TestRun::addPoint(int stroke, double distanceMm, double forceN)
{
    (stroke == 0 ? forward : back).append(QPointF(distanceMm, forceN));
}
