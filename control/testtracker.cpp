#include "control/testtracker.h"

void TestTracker::startTest(const Curve_Setting &setting, const QDateTime &now)
{
    current = Kind::Test;
    run = TestRun(setting, now);
    clock.start();
    stopRequested = false;
    lastDistanceMm.reset();
}

void TestTracker::startJog()
{
    current = Kind::Jog;
    run = TestRun();
    clock.start();
    stopRequested = false;
    lastDistanceMm.reset();
}

void TestTracker::stopPressed()
{
    stopRequested = acquiring();
}

void TestTracker::addPoint(int stroke, double distanceMm, double forceN)
{
    if (current == Kind::Test)
        run.addPoint(stroke, distanceMm, forceN);
    if (acquiring())
        lastDistanceMm = distanceMm;
}

std::optional<TestRun> TestTracker::end(const AcquisitionQuality &quality)
{
    const Kind ended = current;
    current = Kind::None;
    if (ended != Kind::Test)
        return std::nullopt;
    TestRun finished = run;
    finished.durationMs = clock.elapsed();
    finished.stopped = stopRequested;
    finished.quality = quality;
    run = TestRun();
    return finished;
}

TestRun TestTracker::progress() const
{
    TestRun sofar = run;
    sofar.durationMs = elapsedMs();
    return sofar;
}
