#pragma once

#include <QElapsedTimer>
#include <optional>

#include "control/testrun.h"

// Follows the curve acquisition the operator started, from the command to the
// thread's report of its end: a test started with Start, whose points are kept as a
// TestRun, or a recording jog, whose points only go to the chart. Plain logic; the
// window feeds it and shows what it says.
class TestTracker
{
public:
    enum class Kind { None, Test, Jog };

    void startTest(const Curve_Setting &setting, const QDateTime &now);
    void startJog();
    void stopPressed();
    void addPoint(int stroke, double distanceMm, double forceN);

    // The end the acquisition thread reported. The finished test, or nothing when
    // the acquisition was a recording jog or none was followed.
    std::optional<TestRun> end(const AcquisitionQuality &quality);

    Kind kind() const { return current; }
    bool acquiring() const { return current != Kind::None; }
    bool testRunning() const { return current == Kind::Test; }

    // The running test so far; its duration is the time since Start.
    TestRun progress() const;
    qint64 elapsedMs() const { return clock.isValid() ? clock.elapsed() : 0; }
    // The distance of the last point received, in mm; none before the first.
    std::optional<double> lastDistance() const { return lastDistanceMm; }

private:
    Kind current = Kind::None;
    TestRun run;
    QElapsedTimer clock;
    bool stopRequested = false;
    std::optional<double> lastDistanceMm;
};
