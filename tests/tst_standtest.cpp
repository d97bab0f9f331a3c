// One test driven without a window against the simulated stand on a pseudo-terminal:
// what it reads at connect, the run it hands back, Stop reaching the stand, and a
// stand that does not answer or falls silent in the middle of a test.

#include <QtTest>

#include "control/standtest.h"
#include "sim/standsimulator.h"

namespace {

// A line fast enough that the end of acquisition (200 empty reads) comes within a
// second, slow enough that the stand's points keep up.
StandSimulator::Settings fastStand()
{
    StandSimulator::Settings settings;
    settings.typeNumber = 1000;
    settings.decimals = 2;
    settings.baud = 1000000;
    return settings;
}

struct Outcome
{
    std::optional<TestRun> run;
    QString failure;
};

Outcome runUntilEnd(StandTest &test, const Curve_Setting &setting, int timeoutMs,
                    const std::function<void()> &whileRunning = {})
{
    Outcome outcome;
    QEventLoop loop;
    QObject::connect(&test, &StandTest::finished, &loop, [&](const TestRun &run) {
        outcome.run = run;
        loop.quit();
    });
    QObject::connect(&test, &StandTest::failed, &loop, [&](const QString &message) {
        outcome.failure = message;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    test.start(setting);
    if (whileRunning)
        QTimer::singleShot(600, &loop, whileRunning);
    loop.exec();
    return outcome;
}

} // namespace

class StandTestTest : public QObject
{
    Q_OBJECT

private slots:
    void testRunsToTheEndOfAcquisition();
    void stopReachesTheStand();
    void silentStandIsNoAnswer();
    void standFallingSilentEndsTheTest();
};

void StandTestTest::testRunsToTheEndOfAcquisition()
{
    StandSimulator simulator(fastStand());
    QVERIFY(simulator.start());
    StandTest test;
    QString error;
    QVERIFY2(test.connectStand(simulator.portPath(), error), qPrintable(error));
    QCOMPARE(test.stand().type, 1000);
    QCOMPARE(test.stand().decimals, 2);

    // 3 mm out at 300 mm/min and back: 0.6 s each way.
    const Outcome outcome = runUntilEnd(test, Curve_Setting{0, 0, 300, 3.0f}, 10000);
    QVERIFY2(outcome.run, qPrintable(outcome.failure));
    const TestRun &run = *outcome.run;
    QVERIFY(!run.stopped);
    QCOMPARE(run.setting.speed, 300);
    QVERIFY(run.forward.size() > 10);
    QVERIFY(run.back.size() > 10);
    QVERIFY(run.quality.curveReads >= 200);
    // The head went out 3 mm and came back, in acquisition order.
    QVERIFY(run.forward.last().x() > run.forward.first().x() + 2.5);
    QVERIFY(run.back.last().x() < run.back.first().x() - 2.5);
}

void StandTestTest::stopReachesTheStand()
{
    StandSimulator simulator(fastStand());
    QVERIFY(simulator.start());
    StandTest test;
    QString error;
    QVERIFY2(test.connectStand(simulator.portPath(), error), qPrintable(error));
    const Outcome outcome = runUntilEnd(test, Curve_Setting{0, 0, 100, 50.0f}, 10000, [&] {
        QCOMPARE(simulator.stand().withModel([](StandModel &model) { return model.motion(); }),
                 StandModel::Motion::TestForward);
        test.stop();
    });
    QVERIFY2(outcome.run, qPrintable(outcome.failure));
    QVERIFY(outcome.run->stopped);
    QCOMPARE(simulator.stand().withModel([](StandModel &model) { return model.motion(); }), StandModel::Motion::Idle);
}

void StandTestTest::silentStandIsNoAnswer()
{
    StandSimulator simulator(fastStand());
    simulator.line().setFault(RtuSlave::Fault::Silent, -1);
    QVERIFY(simulator.start());
    StandTest test;
    QString error;
    QVERIFY(!test.connectStand(simulator.portPath(), error));
    QVERIFY2(error.contains(QStringLiteral("no answer")), qPrintable(error));
}

void StandTestTest::standFallingSilentEndsTheTest()
{
    StandSimulator simulator(fastStand());
    QVERIFY(simulator.start());
    StandTest test;
    QString error;
    QVERIFY2(test.connectStand(simulator.portPath(), error), qPrintable(error));
    QElapsedTimer clock;
    clock.start();
    const Outcome outcome = runUntilEnd(test, Curve_Setting{0, 0, 100, 50.0f}, 20000, [&] {
        simulator.line().setFault(RtuSlave::Fault::Silent, -1);
    });
    QVERIFY(!outcome.run);
    QVERIFY2(outcome.failure.contains(QStringLiteral("stopped answering")), qPrintable(outcome.failure));
    // Dead after a second without answers, given up after the silence allowed, not
    // left to the caller's 20 s limit (the margin is for a loaded CI machine).
    QVERIFY(clock.elapsed() < 600 + 1000 + StandTest::SilenceTimeoutMs + 5000);
}

QTEST_MAIN(StandTestTest)
#include "tst_standtest.moc"
