// Faults on the line and nonsense from the controller, against a real serial peer on
// a pseudo-terminal: spoiled replies, a silent controller, a line hung up in the
// middle of a test, and values outside the register contract. The acquisition thread
// is checked alone where the count of what it emits matters, the main window where
// the operator's view does.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include <sys/resource.h>

#include <limits>
#include <memory>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "chart/forceunit.h"
#include "device/modbusthread.h"
#include "sim/controllerdouble.h"
#include "sim/rtuslave.h"
#include "sim/standsimulator.h"
#include "widgetlookup.h"

Q_DECLARE_METATYPE(RtuSlave::Fault)

namespace {
// libmodbus's default response timeout, which the program keeps.
constexpr int ResponseTimeoutMs = 500;
// The longest pass of the loop: a status read that times out, then the poll interval.
constexpr int LongestPassMs = ResponseTimeoutMs + 200;
// A late reply that comes after the master gave up but before its next status read.
constexpr int LateBetweenPollsMs = 600;
constexpr int FaultedReplies = 3;

constexpr quint8 ReadInputs = 0x04;

bool isCurveRead(const SlaveRequest &r) { return r.function == ReadInputs && r.address == 100; }

qint64 processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Block `number` (from 1) of a scripted test: two forward points that name it.
QVector<QPointF> blockPoints(int number)
{
    return {QPointF(number * 10.0, number), QPointF(number * 10.0 + 1, number + 0.5)};
}

// The largest gap between ticks of a timer on the GUI thread, from start() on.
class GuiGapMeter : public QObject
{
public:
    GuiGapMeter()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            largest = qMax(largest, sinceTick.restart());
        });
    }
    void start()
    {
        largest = 0;
        sinceTick.start();
        timer.start(20);
    }
    qint64 largestGapMs() const { return largest; }

private:
    QTimer timer;
    QElapsedTimer sinceTick;
    qint64 largest = 0;
};
} // namespace

class LineFaultsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ControllerDouble> controller;
    std::unique_ptr<RtuSlave> slave;
    std::unique_ptr<StandSimulator> stand;
    std::unique_ptr<modbusThread> link;
    std::unique_ptr<MainWindow> window;
    // What the bare thread emitted, received queued on the test's thread as the window
    // receives it.
    QVector<QVector<float>> states;
    QVector<QPointF> points;
    QVector<bool> verdicts;

    void openLink()
    {
        link = std::make_unique<modbusThread>();
        connect(link.get(), &modbusThread::sendCurrentState, this,
                [this](QVector<float> f, QVector<int>) { states.append(f); });
        connect(link.get(), &modbusThread::sendCurveData, this,
                [this](int, double x, double y) { points.append(QPointF(x, y)); });
        connect(link.get(), &modbusThread::sendLinkHealth, this, [this](bool answering) { verdicts.append(answering); });
        link->receiveSerailSetting(Serial_Setting_Type{slave->portPath(), 115200, 8, 1, 'N'});
        QVERIFY(link->openDevice());
    }

    void stopLink()
    {
        link->stopRunning();
        QVERIFY(link->wait(10000));
        QCoreApplication::processEvents();  // what was emitted before the end
    }

    void openWindow(const QString &port)
    {
        window = std::make_unique<MainWindow>();
        window->usePort(port);
    }

    void trigger(const char *action) { child<QAction>(window.get(), action)->trigger(); }
    bool connected() const { return !child<QAction>(window.get(), "actionConnect")->isEnabled(); }
    QString text(const char *name) const { return child<QLabel>(window.get(), name)->text(); }
    QCustomPlot *plot() const { return child<QCustomPlot>(window.get(), "userPlot"); }
    bool deadLinkShown() const { return !child<QLabel>(window.get(), "linkStateLabel")->isHidden(); }
    int pointsPlotted() const { return plot()->graph(0)->dataCount() + plot()->graph(1)->dataCount(); }

    void startTestFromWindow()
    {
        QVERIFY(QMetaObject::invokeMethod(window.get(), "receiveCurveSetting",
                                          Q_ARG(Curve_Setting, (Curve_Setting{0, 0, 100, 10.0f}))));
        child<QAbstractButton>(window.get(), "startBtn")->click();
    }

    // During curve acquisition the window asks first and sends Stop on Yes; the time
    // counts from the answer.
    qint64 timedDisconnect()
    {
        QElapsedTimer timer;
        timer.start();
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                timer.restart();
                box->button(QMessageBox::Yes)->click();
            }
        });
        answer.start(10);
        trigger("actionDisconnect");
        return timer.elapsed();
    }

    void setStatus(float force, QVector<quint16> ints)
    {
        controller->setInputFloat(0, force);
        controller->setInputFloat(2, 1.0f);
        for (int i = 0; i < ints.size(); ++i)
            controller->setInput(quint16(8 + i), ints[i]);
    }

private slots:
    void initTestCase()
    {
        quelmarInitResources();
        qRegisterMetaType<QVector<float>>();
        qRegisterMetaType<QVector<int>>();
    }

    void init()
    {
        controller = std::make_unique<ControllerDouble>();
        controller->setInput(4, 500);
        controller->setInput(5, 2);
        setStatus(12.5f, {0, 3, 0, 0});
        slave = std::make_unique<RtuSlave>(controller.get());
        QVERIFY2(slave->start(), qPrintable(slave->errorString()));
        states.clear();
        points.clear();
        verdicts.clear();
    }

    void cleanup()
    {
        window.reset();
        if (link) {
            link->stopRunning();
            link->wait();
            link.reset();
        }
        stand.reset();
        slave.reset();
        controller.reset();
    }

    void spoiledStatusRepliesEmitNothing_data()
    {
        QTest::addColumn<RtuSlave::Fault>("fault");
        QTest::newRow("bad CRC") << RtuSlave::Fault::BadCrc;
        QTest::newRow("truncated") << RtuSlave::Fault::Truncated;
        QTest::newRow("exception") << RtuSlave::Fault::Exception;
        QTest::newRow("late") << RtuSlave::Fault::Late;
    }

    // Every status read is answered once; only the good answers become states.
    void spoiledStatusRepliesEmitNothing()
    {
        QFETCH(RtuSlave::Fault, fault);
        openLink();
        slave->setFault(fault, FaultedReplies, LateBetweenPollsMs);
        link->startPolling();
        QTRY_VERIFY_WITH_TIMEOUT(states.size() >= 2, 10000);
        stopLink();
        QCOMPARE(states.size(), slave->requestCount() - FaultedReplies);
        for (const QVector<float> &state : states)
            QCOMPARE(state, (QVector<float>{12.5f, 1.0f}));
    }

    void spoiledCurveRepliesLoseNoGoodBlock_data()
    {
        QTest::addColumn<RtuSlave::Fault>("fault");
        QTest::addColumn<QVector<int>>("delivered");
        // The controller hands a block out with a reply that is then spoiled: it is
        // gone, as on a real line. An exception reply hands nothing out. A late reply
        // is taken as the answer to the next read, which follows at once: its block
        // comes once, in order, and every later reply moves up by one.
        QTest::newRow("bad CRC") << RtuSlave::Fault::BadCrc << QVector<int>{3, 4, 5, 6};
        QTest::newRow("truncated") << RtuSlave::Fault::Truncated << QVector<int>{3, 4, 5, 6};
        QTest::newRow("exception") << RtuSlave::Fault::Exception << QVector<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("late") << RtuSlave::Fault::Late << QVector<int>{1, 2, 3, 4, 5, 6};
    }

    void spoiledCurveRepliesLoseNoGoodBlock()
    {
        QFETCH(RtuSlave::Fault, fault);
        QFETCH(QVector<int>, delivered);
        for (int block = 1; block <= 6; ++block)
            controller->queueCurveBlock(ControllerDouble::curveBlock(1, blockPoints(block)));
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {}));
        openLink();
        // The loop starts in curve acquisition, so the spoiled replies are curve reads.
        link->moveDownRecord();
        slave->setFault(fault, 2, ResponseTimeoutMs + 200);
        link->startPolling();
        // Twenty empty reads end the jog and the status is polled again.
        QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty(), 10000);
        stopLink();

        QVector<QPointF> expected;
        for (int block : delivered)
            expected += blockPoints(block);
        QCOMPARE(points, expected);
    }

    // A port that fails at once (the adapter is gone) is tried again 20 times a second,
    // not as fast as the core allows.
    void deadPortIsNotSpunOn()
    {
        openLink();
        link->startTest(Curve_Setting{0, 0, 100, 10.0f});
        slave->hangUp();
        const qint64 cpuBefore = processCpuMs();
        QElapsedTimer wall;
        wall.start();
        link->startPolling();
        // A second of failed curve reads: the link is reported dead.
        QTRY_COMPARE_WITH_TIMEOUT(verdicts, (QVector<bool>{true, false}), 5000);
        const qint64 cpuMs = processCpuMs() - cpuBefore;
        QVERIFY2(cpuMs * 4 < wall.elapsed(),
                 qPrintable(QStringLiteral("%1 ms of CPU in %2 ms").arg(cpuMs).arg(wall.elapsed())));
        QVERIFY(link->isCurveMode());  // failed reads do not end the test
    }

    void badRepliesAreRetriedAtOnce_data()
    {
        QTest::addColumn<RtuSlave::Fault>("fault");
        QTest::newRow("bad CRC") << RtuSlave::Fault::BadCrc;
        QTest::newRow("exception") << RtuSlave::Fault::Exception;
    }

    // A controller that answers, however badly, is not a dead port: its replies take
    // their time on a real line, so the loop does not wait on top of that.
    void badRepliesAreRetriedAtOnce()
    {
        QFETCH(RtuSlave::Fault, fault);
        openLink();
        link->startTest(Curve_Setting{0, 0, 100, 10.0f});
        slave->setFault(fault);
        const int first = slave->requestCount();
        QElapsedTimer wall;
        wall.start();
        link->startPolling();
        // Waiting 50 ms after each would allow 30 reads in this time.
        const auto curveReads = [&] {
            const QVector<SlaveRequest> sent = slave->requests().mid(first);
            return int(std::count_if(sent.begin(), sent.end(), isCurveRead));
        };
        QTRY_VERIFY_WITH_TIMEOUT(curveReads() >= 60, 1500);
        QVERIFY(points.isEmpty());
    }

    void silentController_data()
    {
        QTest::addColumn<bool>("duringATest");
        QTest::newRow("polling the status") << false;
        QTest::newRow("reading the curve") << true;
    }

    void silentController()
    {
        QFETCH(bool, duringATest);
        openWindow(slave->portPath());
        forceDecimals = 1;
        const QCPRange range = plot()->yAxis->range();
        slave->setFault(RtuSlave::Fault::Silent);

        // Connect still succeeds, and what the connect-time reads would set stays.
        trigger("actionConnect");
        QVERIFY(connected());
        QCOMPARE(window->statusBar()->currentMessage(), slave->portPath() + QStringLiteral(",115200,8,N,1,success"));
        QCOMPARE(plot()->yAxis->range(), range);
        QCOMPARE(text("typeLabel"), QStringLiteral("Type"));
        QCOMPARE(forceDecimals, 1);
        if (duringATest)
            startTestFromWindow();

        // The loop goes on asking, and the operator is told nobody answers.
        const int asked = slave->requestCount();
        QTRY_VERIFY_WITH_TIMEOUT(slave->requestCount() >= asked + 3, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(deadLinkShown(), 5000);
        QVERIFY(text("forceLabel").isEmpty());
        QCOMPARE(pointsPlotted(), 0);

        // In a test, Stop goes out first and waits its own timeout.
        const qint64 disconnectMs = timedDisconnect();
        const qint64 budgetMs = (duringATest ? 2 : 1) * ResponseTimeoutMs + LongestPassMs;
        QVERIFY2(disconnectMs < budgetMs, qPrintable(QString::number(disconnectMs)));
        QVERIFY(!connected());
        QVERIFY(!deadLinkShown());
    }

    // Curve reads follow each other at once and each waits out the timeout here; Stop
    // still goes out after the one under way, not after a string of them.
    void stopIsNotKeptWaitingByCurveReads()
    {
        openWindow(slave->portPath());
        trigger("actionConnect");
        slave->setFault(RtuSlave::Fault::Silent);
        startTestFromWindow();
        for (int round = 0; round < 3; ++round) {
            const int asked = slave->requestCount();
            QTRY_VERIFY_WITH_TIMEOUT(slave->requestCount() >= asked + 2, 5000);
            QElapsedTimer timer;
            timer.start();
            child<QAbstractButton>(window.get(), "stopBtn")->click();
            QVERIFY2(timer.elapsed() < 2 * ResponseTimeoutMs + 150, qPrintable(QString::number(timer.elapsed())));
            startTestFromWindow();
        }
    }

    void deadLinkClearsWithTheNextGoodRead()
    {
        openWindow(slave->portPath());
        slave->setFault(RtuSlave::Fault::Silent);
        trigger("actionConnect");
        QTRY_VERIFY_WITH_TIMEOUT(deadLinkShown(), 5000);
        const QString message = window->statusBar()->currentMessage();
        slave->clearFault();
        QTRY_VERIFY_WITH_TIMEOUT(!deadLinkShown(), 5000);
        QCOMPARE(text("forceLabel"), QStringLiteral("12.500 N"));
        QCOMPARE(window->statusBar()->currentMessage(), message);  // the messages are the operator's
    }

    void verdictOfAnEndedLoopIsNoNews_data()
    {
        QTest::addColumn<bool>("connectAgain");
        QTest::newRow("disconnected") << false;
        QTest::newRow("connected again at once") << true;
    }

    // The loop reports the dead link and ends before the window has taken the report in.
    void verdictOfAnEndedLoopIsNoNews()
    {
        QFETCH(bool, connectAgain);
        openWindow(slave->portPath());
        slave->setFault(RtuSlave::Fault::Silent);
        trigger("actionConnect");
        // The loop gives its verdict after the third status read has timed out, before
        // it asks the fourth time. Events stay unprocessed, so the verdict waits in
        // the queue.
        const int fourthStatusRead = slave->requestCount() + 4;
        QDeadlineTimer deadline(10000);
        while (slave->requestCount() < fourthStatusRead && !deadline.hasExpired())
            QTest::qSleep(10);
        QVERIFY(slave->requestCount() >= fourthStatusRead);
        trigger("actionDisconnect");
        if (connectAgain) {
            slave->clearFault();
            trigger("actionConnect");
            QTRY_COMPARE(text("forceLabel"), QStringLiteral("12.500 N"));
        } else {
            QCoreApplication::processEvents();
        }
        QVERIFY(!deadLinkShown());
    }

    // An adapter pulled out in the middle of a test.
    void lineHungUpDuringATest()
    {
        stand = std::make_unique<StandSimulator>(StandSimulator::Settings());
        QVERIFY2(stand->start(), qPrintable(stand->errorString()));
        openWindow(stand->portPath());
        trigger("actionConnect");
        QTRY_VERIFY(!text("forceLabel").isEmpty());
        startTestFromWindow();
        QTRY_VERIFY_WITH_TIMEOUT(pointsPlotted() > 0, 5000);

        GuiGapMeter meter;
        meter.start();
        stand->line().hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(deadLinkShown(), 5000);
        QVERIFY2(meter.largestGapMs() < 500, qPrintable(QString::number(meter.largestGapMs())));

        const qint64 disconnectMs = timedDisconnect();
        QVERIFY2(disconnectMs < LongestPassMs, qPrintable(QString::number(disconnectMs)));
        QVERIFY(!connected());
        QVERIFY(!deadLinkShown());

        // Plugged in again: the line comes back under a new name, and the window
        // connects to it as to any other.
        QVERIFY(stand->start());
        window->usePort(stand->portPath());
        stand->stand().withModel([](StandModel &model) { model.switchUnit(); });
        trigger("actionConnect");
        QVERIFY(connected());
        QTRY_VERIFY(text("forceLabel").endsWith(QStringLiteral(" Kg")));
        QVERIFY(!deadLinkShown());
    }

    // Replies lost in the middle of a test are counted and told when it ends.
    void failedCurveReadsAreToldAtTheEnd()
    {
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, blockPoints(1)));
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, blockPoints(2)));
        openWindow(slave->portPath());
        trigger("actionConnect");
        QSignalSpy finished(window.get(), &MainWindow::testFinished);
        startTestFromWindow();
        QTRY_VERIFY_WITH_TIMEOUT(pointsPlotted() >= 4, 5000);
        // Only curve reads follow now: the last block answers each until it runs dry.
        slave->setFault(RtuSlave::Fault::Silent, 2);
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {}));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(text("testStateLabel").section(QStringLiteral(". "), 1),
                 QStringLiteral("2 curve reads failed during this test; points may be missing."));
        QVERIFY(text("testStateLabel").startsWith(QStringLiteral("Test finished after ")));
    }

    void notANumberInTheStatusShowsADash()
    {
        controller->setInputFloat(0, std::numeric_limits<float>::quiet_NaN());
        controller->setInputFloat(2, -std::numeric_limits<float>::infinity());
        openWindow(slave->portPath());
        trigger("actionConnect");
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("\u2013 N"));
        QCOMPARE(text("distanceLabel"), QStringLiteral("\u2013 mm"));
    }

    void statusValuesOutOfRange_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<float>("force");
        QTest::addColumn<QString>("forceText");
        QTest::addColumn<QString>("axisLabel");
        QTest::newRow("unit 7") << 7 << 3 << 50.0f << "0.000 ?" << "Force ?";
        QTest::newRow("unit 255") << 255 << 1 << 50.0f << "0.0 ?" << "Force ?";
        QTest::newRow("unit 256 is cut to 0") << 256 << 2 << 12.5f << "12.50 N" << "Force N";
        QTest::newRow("decimals 10") << 0 << 10 << 1234.5f << "1234.500000000 N" << "Force N";
        QTest::newRow("decimals 65535") << 0 << 65535 << 12.5f << "12.500000000 N" << "Force N";
        QTest::newRow("unit and decimals 65535") << 65535 << 65535 << 12.5f << "0.000000000 ?" << "Force ?";
    }

    void statusValuesOutOfRange()
    {
        QFETCH(int, unit);
        QFETCH(int, decimals);
        QFETCH(float, force);
        QFETCH(QString, forceText);
        QFETCH(QString, axisLabel);
        setStatus(force, {quint16(unit), quint16(decimals), 0, 0});
        openWindow(slave->portPath());
        trigger("actionConnect");
        QTRY_COMPARE(text("forceLabel"), forceText);
        QCOMPARE(plot()->yAxis->label(), axisLabel);
        QCOMPARE(text("distanceLabel"), QStringLiteral("1.0 mm"));
    }

    void blocksWithoutValidPoints_data()
    {
        QTest::addColumn<QVector<quint16>>("block");
        QVector<QPointF> full;
        for (int i = 0; i < ControllerDouble::CurveBlockSlots; ++i)
            full.append(QPointF(i, 100.0 + i));
        const auto withCount = [&](quint16 count) {
            QVector<quint16> block = ControllerDouble::curveBlock(1, full);
            block[1] = count;
            return block;
        };
        const QVector<QPointF> five = full.mid(0, 5);
        QTest::newRow("count 0") << withCount(0);
        QTest::newRow("count 31") << withCount(31);
        QTest::newRow("count 65535") << withCount(65535);
        QTest::newRow("direction 0") << ControllerDouble::curveBlock(0, five);
        QTest::newRow("direction 3") << ControllerDouble::curveBlock(3, five);
        QTest::newRow("direction 65535") << ControllerDouble::curveBlock(65535, five);
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("not a number, infinite")
            << ControllerDouble::curveBlock(1, {QPointF(nan, 1), QPointF(1, inf), QPointF(-inf, nan)});
    }

    // Such a block draws nothing, and the blocks after it are drawn as usual.
    void blocksWithoutValidPoints()
    {
        QFETCH(QVector<quint16>, block);
        controller->queueCurveBlock(block);
        controller->queueCurveBlock(ControllerDouble::curveBlock(2, {QPointF(77.0, 9.8)}));
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {}));
        openWindow(slave->portPath());
        child<QCheckBox>(window.get(), "curveCheckBox")->setChecked(true);
        trigger("actionConnect");
        child<QAbstractButton>(window.get(), "downBtn")->click();
        // Points arrive in order, so any from the bad block would be in by now.
        QTRY_VERIFY_WITH_TIMEOUT(plot()->graph(1)->dataCount() > 0, 5000);
        QCOMPARE(plot()->graph(0)->dataCount(), 0);
        QCOMPARE(plot()->graph(1)->dataCount(), 1);
        QCOMPARE(plot()->graph(1)->data()->at(0)->key, 77.0);
    }
};

QTEST_MAIN(LineFaultsTest)
#include "tst_linefaults.moc"
