// The simulated stand's mechanics and controller state, driven by the
// model's own time: strokes, sampling, the specimen, limits, offsets,
// switches, the peak, the point queue and the delayed answers.

#include "sim/standmodel.h"

#include <QtTest>

#include <cmath>

namespace {

using Motion = StandModel::Motion;
using Point = StandModel::Point;

// 120 mm/min is 2 mm/s: 10 mm take 5 s of stand time.
constexpr int TestSpeed = 120;

// Noise off and a specimen with round numbers: contact 1 mm beyond the start,
// 50 N/mm, yield at 300 N (6 mm after contact), 2.5 N/mm past the knee.
StandModel::Specimen roundSpecimen(double breakMm = 0.0)
{
    StandModel::Specimen specimen;
    specimen.slackMm = 1.0;
    specimen.stiffnessNPerMm = 50.0;
    specimen.yieldForceN = 300.0;
    specimen.hardening = 0.05;
    specimen.breakMm = breakMm;
    return specimen;
}

void makeQuiet(StandModel &model, double breakMm = 0.0)
{
    model.setNoise(0.0);
    model.setSpecimen(roundSpecimen(breakMm));
}

StandModel::TestSetting test(int mode, float distanceMm, int distanceMode = 0, int speed = TestSpeed)
{
    StandModel::TestSetting setting;
    setting.mode = mode;
    setting.distanceMode = distanceMode;
    setting.speedMmPerMin = speed;
    setting.distanceMm = distanceMm;
    return setting;
}

void setJogSpeed(StandModel &model, quint16 mmPerMin)
{
    StandModel::StoredParameters parameters = model.storedParameters();
    parameters.systemSet[0] = mmPerMin;
    model.setStoredParameters(parameters);
}

void setStopValue(StandModel &model, float newtons)
{
    StandModel::StoredParameters parameters = model.storedParameters();
    parameters.pointSet[0] = newtons;
    model.setStoredParameters(parameters);
}

QVector<Point> drain(StandModel &model)
{
    QVector<Point> points;
    for (QVector<Point> block = model.takeBlock(); !block.isEmpty(); block = model.takeBlock())
        points += block;
    return points;
}

bool near(double actual, double expected, double tolerance = 1e-3)
{
    return std::fabs(actual - expected) <= tolerance;
}

QByteArray describe(double actual, double expected)
{
    return QByteArray::number(actual, 'f', 6) + " instead of " + QByteArray::number(expected, 'f', 6);
}

} // namespace

class StandModelTest : public QObject
{
    Q_OBJECT

private slots:
    void testRunsOutAndBackSampledAtTheRate_data();
    void testRunsOutAndBackSampledAtTheRate();
    void absoluteTargetIsOnTheDistanceReadout();
    void forceFollowsTheSpecimen_data();
    void forceFollowsTheSpecimen();
    void travelLimitsEndMotion_data();
    void travelLimitsEndMotion();
    void stopValueTurnsTheTest_data();
    void stopValueTurnsTheTest();
    void stopValueHaltsAJogOnlyIntoTheLoad();
    void jogMovesByTheStepDistance();
    void stopEndsMotionAndRecording_data();
    void stopEndsMotionAndRecording();
    void zeroAndDistanceZeroSetOffsets();
    void switchesCycle();
    void peakModeHoldsTheLargestForce_data();
    void peakModeHoldsTheLargestForce();
    void recordingJogsCallTheLastTestsStrokeForward_data();
    void recordingJogsCallTheLastTestsStrokeForward();
    void newRecordingReplacesQueuedPoints_data();
    void newRecordingReplacesQueuedPoints();
    void blocksHoldOneDirectionAndAtMost30_data();
    void blocksHoldOneDirectionAndAtMost30();
    void queueDropsTheOldestBeyondItsLimit();
    void requestIsAnsweredAfterTheProcessingDelay_data();
    void requestIsAnsweredAfterTheProcessingDelay();
    void noiseIsSeededAndSmall();
};

void StandModelTest::testRunsOutAndBackSampledAtTheRate_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<float>("distance");
    QTest::addColumn<int>("rate");
    QTest::addColumn<float>("turn");  // distance readout where the stroke turns
    QTest::addColumn<int>("strokeMs");

    QTest::newRow("push 10 mm, 50 Hz") << int(StandModel::Push) << 10.0f << 50 << 10.0f << 5000;
    QTest::newRow("pull 10 mm, 50 Hz") << int(StandModel::Pull) << 10.0f << 50 << -10.0f << 5000;
    QTest::newRow("push 10 mm, 5000 Hz") << int(StandModel::Push) << 10.0f << 5000 << 10.0f << 5000;
    QTest::newRow("push -4 mm moves up") << int(StandModel::Push) << -4.0f << 50 << -4.0f << 2000;
    QTest::newRow("pull 10 mm, 3 Hz") << int(StandModel::Pull) << 10.0f << 3 << -10.0f << 5000;
}

void StandModelTest::testRunsOutAndBackSampledAtTheRate()
{
    QFETCH(int, mode);
    QFETCH(float, distance);
    QFETCH(int, rate);
    QFETCH(float, turn);
    QFETCH(int, strokeMs);
    StandModel model;
    makeQuiet(model);
    model.setSampleRate(rate);
    model.advance(1234);  // the start time must not matter

    model.startTest(test(mode, distance));
    model.advance(strokeMs - 1);
    QCOMPARE(model.motion(), Motion::TestForward);
    model.advance(1);
    QCOMPARE(model.distance(), turn);
    QCOMPARE(model.motion(), Motion::TestReturn);
    model.advance(strokeMs - 1);
    QCOMPARE(model.motion(), Motion::TestReturn);
    model.advance(1);
    QCOMPARE(model.motion(), Motion::Idle);
    QCOMPARE(model.distance(), 0.0f);

    // One point at the start, then one each period; the turn and the end
    // fall on a period here, so both strokes end on their target.
    const QVector<Point> points = drain(model);
    const int perStroke = int(qint64(strokeMs) * rate / 1000);
    QCOMPARE(points.size(), 2 * perStroke + 1);
    const double stepMm = double(turn) / perStroke;
    for (int i = 0; i < points.size(); ++i) {
        const bool forward = i <= perStroke;
        QCOMPARE(points[i].direction, quint16(forward ? StandModel::Forward : StandModel::Return));
        const double expected = forward ? i * stepMm : double(turn) - (i - perStroke) * stepMm;
        QVERIFY2(near(points[i].distance, expected, 1e-4), describe(points[i].distance, expected) + " at " + QByteArray::number(i));
    }
    QCOMPARE(points[perStroke].distance, turn);
    QCOMPARE(points.last().distance, 0.0f);
}

void StandModelTest::absoluteTargetIsOnTheDistanceReadout()
{
    StandModel model;
    makeQuiet(model);
    setJogSpeed(model, 100);
    model.jog(StandModel::Jog::Down, false);
    model.advance(3000);  // 5 mm down
    model.stop();
    model.zeroDistance();

    // Push, but the target lies above: the forward stroke goes up.
    model.startTest(test(StandModel::Push, -2.0f, 1));
    model.advance(1000);
    QCOMPARE(model.distance(), -2.0f);
    QVERIFY(near(model.position(), 3.0, 1e-9));
    model.advance(1000);
    QCOMPARE(model.motion(), Motion::Idle);
    QCOMPARE(model.distance(), 0.0f);

    // The same target from there is no travel at all: out and back at once.
    model.startTest(test(StandModel::Pull, 0.0f, 1));
    model.advance(1);
    QCOMPARE(model.motion(), Motion::Idle);
    QCOMPARE(model.distance(), 0.0f);
}

void StandModelTest::forceFollowsTheSpecimen_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("breakMm");
    QTest::addColumn<int>("atMs");
    QTest::addColumn<double>("force");

    // Push 10 mm at 2 mm/s: contact at 1 mm, the knee at 7 mm, the turn at 5 s.
    const int push = StandModel::Push;
    const int pull = StandModel::Pull;
    QTest::newRow("before contact") << push << 0.0 << 400 << 0.0;
    QTest::newRow("elastic") << push << 0.0 << 1500 << 100.0;
    QTest::newRow("at the knee") << push << 0.0 << 3500 << 300.0;
    QTest::newRow("hardening to the turn") << push << 0.0 << 5000 << 307.5;
    QTest::newRow("unloading elastically") << push << 0.0 << 6000 << 207.5;
    QTest::newRow("permanent set leaves the head free") << push << 0.0 << 9000 << 0.0;
    QTest::newRow("pull is tension, negative") << pull << 0.0 << 1500 << -100.0;
    QTest::newRow("pull hardening") << pull << 0.0 << 5000 << -307.5;
    QTest::newRow("loaded before the break") << push << 5.0 << 2500 << 200.0;
    QTest::newRow("broken") << push << 5.0 << 3000 << 0.0;
    QTest::newRow("stays broken on the return") << push << 5.0 << 8000 << 0.0;
}

void StandModelTest::forceFollowsTheSpecimen()
{
    QFETCH(int, mode);
    QFETCH(double, breakMm);
    QFETCH(int, atMs);
    QFETCH(double, force);
    StandModel model;
    makeQuiet(model, breakMm);

    model.startTest(test(mode, 10.0f));
    model.advance(atMs);
    QVERIFY2(near(model.liveForce(), force), describe(model.liveForce(), force));
}

void StandModelTest::travelLimitsEndMotion_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<double>("limit");

    QTest::newRow("jog up") << "up" << StandModel::MinPositionMm;
    QTest::newRow("recording jog down") << "down" << StandModel::MaxPositionMm;
    QTest::newRow("test past the lower limit stays there") << "test" << StandModel::MaxPositionMm;
}

void StandModelTest::travelLimitsEndMotion()
{
    QFETCH(QString, action);
    QFETCH(double, limit);
    StandModel model;
    makeQuiet(model);
    setJogSpeed(model, 1000);

    if (action == QLatin1String("up"))
        model.jog(StandModel::Jog::Up, false);
    else if (action == QLatin1String("down"))
        model.jog(StandModel::Jog::Down, true);
    else
        model.startTest(test(StandModel::Push, 700.0f, 0, 1000));
    model.advance(qint64(std::fabs(limit) * 60.0) - 1);  // just short of the limit at 1000 mm/min
    QVERIFY(model.motion() != Motion::Idle);
    model.advance(1);
    QCOMPARE(model.position(), limit);
    QCOMPARE(model.motion(), Motion::Idle);

    const int queued = model.queuedPoints();
    model.advance(10000);
    QCOMPARE(model.position(), limit);
    QCOMPARE(model.queuedPoints(), queued);
}

void StandModelTest::stopValueTurnsTheTest_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<float>("stopValue");
    QTest::addColumn<double>("turnMm");  // distance readout where the forward stroke ends
    QTest::addColumn<double>("peak");    // force reached, in the test's direction

    // Push or pull 10 mm at 2 mm/s into the round specimen: 200 N lie 4 mm past
    // the 1 mm of slack; without a stop value the stroke turns at 10 mm, 307.5 N.
    const int push = StandModel::Push;
    const int pull = StandModel::Pull;
    QTest::newRow("push, 200 N") << push << 200.0f << 5.0 << 200.0;
    QTest::newRow("pull, 200 N is tension") << pull << 200.0f << -5.0 << 200.0;
    QTest::newRow("past the knee") << push << 305.0f << 9.0 << 305.0;
    QTest::newRow("0 is no stop value") << push << 0.0f << 10.0 << 307.5;
}

void StandModelTest::stopValueTurnsTheTest()
{
    QFETCH(int, mode);
    QFETCH(float, stopValue);
    QFETCH(double, turnMm);
    QFETCH(double, peak);
    StandModel model;
    makeQuiet(model);
    setStopValue(model, stopValue);
    const double sign = mode == StandModel::Push ? 1.0 : -1.0;

    model.startTest(test(mode, 10.0f));
    while (model.motion() == Motion::TestForward && model.now() < 6000)
        model.advance(1);
    // The return has just begun where the forward stroke ended. The force is
    // checked every ms of travel, so the head turns within 2 mm/s x 1 ms of
    // the point where it reaches the stop value: 0.1 N at 50 N/mm.
    QCOMPARE(model.motion(), Motion::TestReturn);
    QVERIFY2(near(model.distance(), turnMm, 0.002 + 1e-4), describe(model.distance(), turnMm));
    const double turnForce = sign * model.liveForce();
    QVERIFY2(turnForce >= peak - 1e-3 && turnForce <= peak + 0.1 + 1e-3, describe(turnForce, peak));

    // The test comes back to its start as from any turn.
    model.advance(6000);
    QCOMPARE(model.motion(), Motion::Idle);
    QCOMPARE(model.distance(), 0.0f);
}

void StandModelTest::stopValueHaltsAJogOnlyIntoTheLoad()
{
    StandModel model;
    makeQuiet(model);
    setJogSpeed(model, 60);  // 1 mm/s: 50 N a second once in contact
    setStopValue(model, 100.0f);

    model.jog(StandModel::Jog::Down, true);
    model.advance(10000);
    QCOMPARE(model.motion(), Motion::Idle);
    QVERIFY2(near(model.distance(), 3.0, 0.001 + 1e-4), describe(model.distance(), 3.0));
    const int queued = model.queuedPoints();
    model.advance(1000);
    QCOMPARE(model.queuedPoints(), queued);

    // Pressed further in it stays put; backing off moves freely.
    model.jog(StandModel::Jog::Down, false);
    model.advance(100);
    QCOMPARE(model.motion(), Motion::Idle);
    QVERIFY(near(model.distance(), 3.0, 0.002));
    const double pressed = model.distance();
    model.jog(StandModel::Jog::Up, false);
    model.advance(1000);
    QVERIFY(near(model.distance(), pressed - 1.0));
    QVERIFY(model.motion() != Motion::Idle);
}

void StandModelTest::jogMovesByTheStepDistance()
{
    StandModel model;
    makeQuiet(model);
    StandModel::StoredParameters parameters = model.storedParameters();
    parameters.pointSet[1] = 2.5f;
    parameters.systemSet[0] = 300;  // 5 mm/s: 0.5 s, 25 sampling periods
    model.setStoredParameters(parameters);

    model.jog(StandModel::Jog::Up, true);
    model.advance(499);
    QVERIFY(model.motion() != Motion::Idle);
    model.advance(1);
    QCOMPARE(model.motion(), Motion::Idle);
    QCOMPARE(model.distance(), -2.5f);
    model.advance(1000);
    QCOMPARE(model.distance(), -2.5f);
    QCOMPARE(model.queuedPoints(), 26);
}

void StandModelTest::stopEndsMotionAndRecording_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("stopAtMs");

    QTest::newRow("test, forward stroke") << "test" << 2000;
    QTest::newRow("test, return stroke") << "test" << 7000;
    QTest::newRow("jog") << "jog" << 2000;
    QTest::newRow("recording jog") << "record" << 2000;
}

void StandModelTest::stopEndsMotionAndRecording()
{
    QFETCH(QString, action);
    QFETCH(int, stopAtMs);
    StandModel model;
    makeQuiet(model);

    if (action == QLatin1String("test"))
        model.startTest(test(StandModel::Push, 10.0f));
    else
        model.jog(StandModel::Jog::Up, action == QLatin1String("record"));
    model.advance(stopAtMs);
    model.stop();
    QCOMPARE(model.motion(), Motion::Idle);

    const double position = model.position();
    const int queued = model.queuedPoints();
    model.advance(5000);
    QCOMPARE(model.position(), position);
    QCOMPARE(model.queuedPoints(), queued);
}

void StandModelTest::zeroAndDistanceZeroSetOffsets()
{
    StandModel model;
    makeQuiet(model);
    setJogSpeed(model, 100);
    model.jog(StandModel::Jog::Down, false);
    model.advance(3000);  // 5 mm: 4 mm into the specimen
    QVERIFY(near(model.liveForce(), 200.0));

    model.zeroForce();
    QCOMPARE(model.liveForce(), 0.0f);
    QCOMPARE(model.forceOffset(), 200.0f);
    model.advance(600);  // 1 mm further
    QVERIFY(near(model.liveForce(), 50.0));

    model.stop();
    QVERIFY(near(model.distance(), 6.0));
    model.zeroDistance();
    QCOMPARE(model.distance(), 0.0f);
    QVERIFY(near(model.position(), 6.0));
    model.jog(StandModel::Jog::Up, false);
    model.advance(1200);
    QVERIFY(near(model.distance(), -2.0));
}

void StandModelTest::switchesCycle()
{
    StandModel model;
    QCOMPARE(model.typeNumber(), 500);
    QCOMPARE(model.decimals(), 3);

    QCOMPARE(model.unit(), 0);
    for (int expected : {1, 2, 0, 1}) {
        model.switchUnit();
        QCOMPARE(model.unit(), expected);
    }
    QCOMPARE(model.autoMode(), false);
    for (bool expected : {true, false, true}) {
        model.switchAuto();
        QCOMPARE(model.autoMode(), expected);
    }
    QCOMPARE(model.displayMode(), 0);
    for (int expected : {1, 0, 1}) {
        model.switchDisplayMode();
        QCOMPARE(model.displayMode(), expected);
    }
}

void StandModelTest::peakModeHoldsTheLargestForce_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("peak");

    QTest::newRow("push") << int(StandModel::Push) << 307.5;
    QTest::newRow("pull keeps its sign") << int(StandModel::Pull) << -307.5;
}

void StandModelTest::peakModeHoldsTheLargestForce()
{
    QFETCH(int, mode);
    QFETCH(double, peak);
    StandModel model;
    makeQuiet(model);
    model.switchDisplayMode();

    model.startTest(test(mode, 10.0f));
    model.advance(6000);  // on the way back
    QVERIFY(std::fabs(model.liveForce()) < std::fabs(peak) - 50.0);
    QVERIFY2(near(model.shownForce(), peak), describe(model.shownForce(), peak));
    model.advance(4000);
    QCOMPARE(model.motion(), Motion::Idle);
    QVERIFY(near(model.shownForce(), peak));

    // Real time shows the live force; entering peak mode starts afresh.
    model.switchDisplayMode();
    QCOMPARE(model.shownForce(), model.liveForce());
    model.switchDisplayMode();
    QCOMPARE(model.shownForce(), 0.0f);

    // Zero starts a new peak as well, and so does a test.
    model.startTest(test(mode, 10.0f));
    model.advance(2000);
    QVERIFY(std::fabs(model.shownForce()) > 100.0f);
    model.zeroForce();
    QCOMPARE(model.shownForce(), 0.0f);
}

void StandModelTest::recordingJogsCallTheLastTestsStrokeForward_data()
{
    QTest::addColumn<int>("lastMode");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("direction");

    QTest::newRow("push, down") << int(StandModel::Push) << false << int(StandModel::Forward);
    QTest::newRow("push, up") << int(StandModel::Push) << true << int(StandModel::Return);
    QTest::newRow("pull, up") << int(StandModel::Pull) << true << int(StandModel::Forward);
    QTest::newRow("pull, down") << int(StandModel::Pull) << false << int(StandModel::Return);
}

void StandModelTest::recordingJogsCallTheLastTestsStrokeForward()
{
    QFETCH(int, lastMode);
    QFETCH(bool, up);
    QFETCH(int, direction);
    StandModel model;
    makeQuiet(model);
    setJogSpeed(model, 60);
    model.startTest(test(lastMode, 0.0f));  // sets the mode without moving
    model.advance(1);

    model.jog(up ? StandModel::Jog::Up : StandModel::Jog::Down, true);
    model.advance(1000);
    const QVector<Point> points = drain(model);
    QCOMPARE(points.size(), 51);
    const double sign = up ? -1.0 : 1.0;
    for (int i = 0; i < points.size(); ++i) {
        QCOMPARE(int(points[i].direction), direction);
        QVERIFY(near(points[i].distance, sign * i * 0.02, 1e-4));
    }
}

void StandModelTest::newRecordingReplacesQueuedPoints_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("replaces");

    QTest::newRow("test") << "test" << true;
    QTest::newRow("recording jog") << "record" << true;
    QTest::newRow("plain jog keeps them") << "jog" << false;
}

void StandModelTest::newRecordingReplacesQueuedPoints()
{
    QFETCH(QString, action);
    QFETCH(bool, replaces);
    StandModel model;
    makeQuiet(model);
    model.startTest(test(StandModel::Push, 10.0f));
    model.advance(1000);
    QCOMPARE(model.queuedPoints(), 51);

    if (action == QLatin1String("test"))
        model.startTest(test(StandModel::Pull, 5.0f));
    else
        model.jog(StandModel::Jog::Up, action == QLatin1String("record"));
    // A new recording's first point is its start; a plain jog records nothing.
    QCOMPARE(model.queuedPoints(), replaces ? 1 : 51);
    model.advance(1000);
    QCOMPARE(model.queuedPoints(), 51);
}

void StandModelTest::blocksHoldOneDirectionAndAtMost30_data()
{
    QTest::addColumn<int>("max");
    QTest::addColumn<QVector<int>>("sizes");  // forward blocks, then return blocks

    // 251 forward points, then 250 return points.
    QTest::newRow("30") << 30 << QVector<int>{30, 30, 30, 30, 30, 30, 30, 30, 11, 30, 30, 30, 30, 30, 30, 30, 30, 10};
    QTest::newRow("31 gives 30") << 31 << QVector<int>{30, 30, 30, 30, 30, 30, 30, 30, 11, 30, 30, 30, 30, 30, 30, 30, 30, 10};
    QTest::newRow("29") << 29 << QVector<int>{29, 29, 29, 29, 29, 29, 29, 29, 19, 29, 29, 29, 29, 29, 29, 29, 29, 18};
}

void StandModelTest::blocksHoldOneDirectionAndAtMost30()
{
    QFETCH(int, max);
    QFETCH(QVector<int>, sizes);
    StandModel model;
    makeQuiet(model);
    QVERIFY(model.takeBlock(max).isEmpty());
    model.startTest(test(StandModel::Push, 10.0f));
    model.advance(10000);
    QCOMPARE(model.queuedPoints(), 501);
    QVERIFY(model.takeBlock(0).isEmpty());

    QVector<int> taken;
    quint16 previous = StandModel::Forward;
    for (QVector<Point> block = model.takeBlock(max); !block.isEmpty(); block = model.takeBlock(max)) {
        taken.append(block.size());
        for (const Point &point : block)
            QCOMPARE(point.direction, block.first().direction);
        QVERIFY(block.first().direction >= previous);
        previous = block.first().direction;
    }
    QCOMPARE(taken, sizes);
    QCOMPARE(model.queuedPoints(), 0);
}

void StandModelTest::queueDropsTheOldestBeyondItsLimit()
{
    StandModel model;
    makeQuiet(model);
    model.setQueueLimit(100);
    model.startTest(test(StandModel::Push, 10.0f));
    model.advance(10000);

    QCOMPARE(model.queuedPoints(), 100);
    QCOMPARE(model.droppedPoints(), qint64(401));
    // The newest 100 are left: return points 150 to 249, 0.04 mm apart.
    const QVector<Point> points = drain(model);
    QCOMPARE(points.first().direction, quint16(StandModel::Return));
    QVERIFY(near(points.first().distance, 10.0 - 151 * 0.04, 1e-4));
    QCOMPARE(points.last().distance, 0.0f);
}

void StandModelTest::requestIsAnsweredAfterTheProcessingDelay_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("delayMs");  // -1: the default

    QTest::newRow("parameters, default delay") << int(StandModel::Request::Parameters) << -1;
    QTest::newRow("data, default delay") << int(StandModel::Request::Data) << -1;
    QTest::newRow("parameters, 200 ms") << int(StandModel::Request::Parameters) << 200;
    QTest::newRow("data, at once") << int(StandModel::Request::Data) << 0;
}

void StandModelTest::requestIsAnsweredAfterTheProcessingDelay()
{
    QFETCH(int, kind);
    QFETCH(int, delayMs);
    const auto request = StandModel::Request(kind);
    StandModel model;
    if (delayMs >= 0)
        model.setProcessingDelay(delayMs);
    const int delay = delayMs >= 0 ? delayMs : StandModel::DefaultProcessingDelayMs;
    QCOMPARE(model.answer(), StandModel::Request::None);
    model.advance(500);

    model.request(request);
    if (delay > 0) {
        QCOMPARE(model.answer(), StandModel::Request::None);
        model.advance(delay - 1);
        QCOMPARE(model.answer(), StandModel::Request::None);
    }
    model.advance(1);
    QCOMPARE(model.answer(), request);
    model.advance(10000);
    QCOMPARE(model.answer(), request);

    // A new request takes the place of the answered one.
    const auto other = request == StandModel::Request::Data ? StandModel::Request::Parameters : StandModel::Request::Data;
    model.request(other);
    if (delay > 0)
        QCOMPARE(model.answer(), StandModel::Request::None);
    model.advance(delay);
    QCOMPARE(model.answer(), other);
}

void StandModelTest::noiseIsSeededAndSmall()
{
    auto idleForces = [](quint32 seed) {
        StandModel model(seed);
        model.setNoise(0.1);
        QVector<float> forces;
        for (int i = 0; i < 2000; ++i) {
            model.advance(1);
            forces.append(model.liveForce());
        }
        return forces;
    };
    const QVector<float> forces = idleForces(7);
    QCOMPARE(idleForces(7), forces);
    QVERIFY(idleForces(8) != forces);

    double sum = 0.0;
    double squares = 0.0;
    for (float force : forces) {
        sum += force;
        squares += double(force) * force;
    }
    const double mean = sum / forces.size();
    const double deviation = std::sqrt(squares / forces.size() - mean * mean);
    QVERIFY2(std::fabs(mean) < 0.02, QByteArray::number(mean));
    QVERIFY2(deviation > 0.08 && deviation < 0.12, QByteArray::number(deviation));
}

QTEST_APPLESS_MAIN(StandModelTest)
#include "tst_standmodel.moc"
