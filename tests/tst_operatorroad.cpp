// The operator's road through the real main window against the controller double:
// connect, live readout, commands, recording jogs and the chart they feed.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "chart/forceunit.h"
#include "control/testrun.h"
#include "sim/controllerdouble.h"
#include "sim/rtuslave.h"
#include "widgetlookup.h"

Q_DECLARE_METATYPE(QCPRange)

namespace {
constexpr quint8 WriteMultiple = 0x10;

QVector<QVector<quint16>> writesSince(const RtuSlave &slave, int first)
{
    QVector<QVector<quint16>> writes;
    for (const SlaveRequest &r : slave.requests().mid(first))
        if (r.function == WriteMultiple)
            writes.append(r.words);
    return writes;
}
} // namespace

class OperatorRoadTest : public QObject
{
    Q_OBJECT

private:
    ControllerDouble *controller = nullptr;
    RtuSlave *slave = nullptr;
    MainWindow *window = nullptr;

    QString status() const { return window->statusBar()->currentMessage(); }
    QCustomPlot *plot() const { return child<QCustomPlot>(window, "userPlot"); }
    QString text(const char *name) const { return window->findChild<QWidget *>(QLatin1String(name))->property("text").toString(); }
    void trigger(const char *action) { child<QAction>(window, action)->trigger(); }
    void click(const char *button) { child<QAbstractButton>(window, button)->click(); }
    bool connected() const { return !child<QAction>(window, "actionConnect")->isEnabled(); }

    void setState(float force, float distance, QVector<quint16> ints)
    {
        controller->setInputFloat(0, force);
        controller->setInputFloat(2, distance);
        for (int i = 0; i < ints.size(); ++i)
            controller->setInput(quint16(8 + i), ints[i]);
    }

    void connectWindow()
    {
        trigger("actionConnect");
        QVERIFY(connected());
    }

    void confirmTestSettings(Curve_Setting setting)
    {
        QVERIFY(QMetaObject::invokeMethod(window, "receiveCurveSetting", Q_ARG(Curve_Setting, setting)));
    }

    bool startEnabled() const { return child<QPushButton>(window, "startBtn")->isEnabled(); }

private slots:
    void initTestCase() { quelmarInitResources(); }

    void init()
    {
        controller = new ControllerDouble;
        controller->setInput(4, 500);
        controller->setInput(5, 2);
        setState(0, 0, {0, 2, 0, 0});
        slave = new RtuSlave(controller);
        QVERIFY(slave->start());
        window = new MainWindow;
        window->usePort(slave->portPath());
    }

    void cleanup()
    {
        delete window;
        delete slave;
        delete controller;
    }

    void connectAndDisconnect()
    {
        connectWindow();
        QCOMPARE(status(), slave->portPath() + QStringLiteral(",115200,8,N,1,success"));
        QVERIFY(child<QAction>(window, "actionDisconnect")->isEnabled());
        QCOMPARE(text("typeLabel"), QStringLiteral("Type-500"));
        QCOMPARE(plot()->yAxis->range(), QCPRange(-500, 500));
        QCOMPARE(forceDecimals, 2);

        trigger("actionDisconnect");
        QVERIFY(!connected());
        QVERIFY(!child<QAction>(window, "actionDisconnect")->isEnabled());
        QCOMPARE(status(), slave->portPath() + QStringLiteral(" close"));
    }

    void ratedForceOutsideTypeNumbers_data()
    {
        QTest::addColumn<int>("rated");
        QTest::addColumn<QCPRange>("range");
        QTest::newRow("0 keeps the range") << 0 << QCPRange(-300, 500);
        QTest::newRow("5000 is a type") << 5000 << QCPRange(-5000, 5000);
        QTest::newRow("6000 is no type") << 6000 << QCPRange(-6000, 6000);
    }

    void ratedForceOutsideTypeNumbers()
    {
        QFETCH(int, rated);
        QFETCH(QCPRange, range);
        controller->setInput(4, quint16(rated));
        connectWindow();
        QCOMPARE(text("typeLabel"), rated == 5000 ? QStringLiteral("Type-5000") : QStringLiteral("Type"));
        QCOMPARE(plot()->yAxis->range(), range);
    }

    void decimalsAtConnect()
    {
        // Five or more decimals are not taken at connect time.
        controller->setInput(5, 5);
        setState(0, 0, {0, 5, 0, 0});
        connectWindow();
        QCOMPARE(forceDecimals, 3);
        trigger("actionDisconnect");

        // A controller that does not answer leaves the decimals in use.
        forceDecimals = 1;
        slave->setFault(RtuSlave::Fault::Silent);
        connectWindow();
        QCOMPARE(forceDecimals, 1);
        // Nor do the type label and the force range move.
        QCOMPARE(text("typeLabel"), QStringLiteral("Type-500"));
        QCOMPARE(plot()->yAxis->range(), QCPRange(-500, 500));
        trigger("actionDisconnect");
    }

    void unavailablePort()
    {
        window->usePort(QStringLiteral("/dev/no-such-port"));
        trigger("actionConnect");
        QCOMPARE(status(), QStringLiteral("COM open failed"));
        QVERIFY(!connected());
        QVERIFY(!child<QAction>(window, "actionDisconnect")->isEnabled());
    }

    void liveReadout()
    {
        setState(98.0f, 12.34f, {1, 3, 1, 1});
        connectWindow();
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("10.000 Kg"));
        QCOMPARE(text("distanceLabel"), QStringLiteral("12.3 mm"));
        QVERIFY(child<QCheckBox>(window, "autoCheckBox")->isChecked());
        QCOMPARE(text("testModeBtn"), QStringLiteral("Peak"));

        setState(-12.3456f, -5.67f, {0, 2, 0, 0});
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("-12.34 N"));
        QCOMPARE(text("distanceLabel"), QStringLiteral("-5.6 mm"));
        QVERIFY(!child<QCheckBox>(window, "autoCheckBox")->isChecked());
        QCOMPARE(text("testModeBtn"), QStringLiteral("Real Time"));

        // An unknown display mode leaves the caption; an unknown unit shows 0.
        setState(50.0f, 1.0f, {7, 1, 0, 2});
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("0.0 ?"));
        QCOMPARE(text("testModeBtn"), QStringLiteral("Real Time"));
        QCOMPARE(plot()->yAxis->label(), QStringLiteral("Force ?"));
    }

    void buttonsSendTheirCommands_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("record");
        QTest::addColumn<QVector<quint16>>("words");
        QTest::newRow("zero") << "zeroBtn" << false << QVector<quint16>{10};
        QTest::newRow("distance zero") << "distanceZeroBtn" << false << QVector<quint16>{11};
        QTest::newRow("auto") << "autoCheckBox" << false << QVector<quint16>{12};
        QTest::newRow("test mode") << "testModeBtn" << false << QVector<quint16>{13};
        QTest::newRow("up") << "upBtn" << false << QVector<quint16>{14};
        QTest::newRow("down") << "downBtn" << false << QVector<quint16>{15};
        QTest::newRow("up recording") << "upBtn" << true << QVector<quint16>{16};
        QTest::newRow("down recording") << "downBtn" << true << QVector<quint16>{17};
        QTest::newRow("unit") << "unitBtn" << false << QVector<quint16>{18};
        QTest::newRow("stop") << "stopBtn" << false << QVector<quint16>{4, 0};
    }

    void buttonsSendTheirCommands()
    {
        QFETCH(QString, button);
        QFETCH(bool, record);
        QFETCH(QVector<quint16>, words);
        child<QCheckBox>(window, "curveCheckBox")->setChecked(record);
        connectWindow();
        const int first = slave->requestCount();
        click(button.toLatin1().constData());
        QCOMPARE(writesSince(*slave, first), (QVector<QVector<quint16>>{words}));
    }

    void escapeStopsFromAnywhereInTheWindow()
    {
        connectWindow();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        child<QWidget>(window, "userPlot")->setFocus();
        const int first = slave->requestCount();
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        QTRY_COMPARE(writesSince(*slave, first), (QVector<QVector<quint16>>{{4, 0}}));
        QVERIFY(child<QWidget>(window, "stopBtn")->toolTip().contains(QStringLiteral("Esc")));
    }

    void readoutsFollowTheCurveAndGreyWhenStale()
    {
        setState(0, 0, {0, 3, 0, 0});
        // The last block handed out answers every later read: the stand never runs dry.
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {{3.0, 40.0}, {12.34, 98.0}}));
        connectWindow();
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("0.000 N"));
        QVERIFY(child<QLabel>(window, "forceLabel")->isEnabled());
        confirmTestSettings(Curve_Setting{0, 0, 100, 10.0f});
        click("startBtn");
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("98.000 N"));
        QCOMPARE(text("distanceLabel"), QStringLiteral("12.3 mm"));
        QTest::qWait(1500);
        QVERIFY(child<QLabel>(window, "forceLabel")->isEnabled());

        click("stopBtn");
        QTRY_COMPARE(text("forceLabel"), QStringLiteral("0.000 N"));
        slave->setFault(RtuSlave::Fault::Silent);
        QTRY_VERIFY_WITH_TIMEOUT(!child<QLabel>(window, "forceLabel")->isEnabled(), 3000);
        QVERIFY(!child<QLabel>(window, "distanceLabel")->isEnabled());
        QCOMPARE(text("forceLabel"), QStringLiteral("0.000 N"));
        slave->clearFault();
        QTRY_VERIFY(child<QLabel>(window, "forceLabel")->isEnabled());
        trigger("actionDisconnect");
        QVERIFY(!child<QLabel>(window, "forceLabel")->isEnabled());
        QCOMPARE(text("forceLabel"), QStringLiteral("0.000 N"));
    }

    void commandsWhileDisconnectedReachNothing()
    {
        child<QAbstractButton>(window, "autoCheckBox")->click();
        click("zeroBtn");
        click("upBtn");
        QCOMPARE(slave->requestCount(), 0);
        // The box keeps the operator's click until a state says otherwise.
        QVERIFY(child<QCheckBox>(window, "autoCheckBox")->isChecked());
    }

    void recordingJogDrawsItsPoints()
    {
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {{120.0, 9.8}, {150.0, 19.6}}));
        controller->queueCurveBlock(ControllerDouble::curveBlock(2, {{140.0, 4.9}}));
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {}));
        setState(0, 0, {0, 3, 0, 0});
        child<QCheckBox>(window, "curveCheckBox")->setChecked(true);
        child<QCheckBox>(window, "returnCheckBox")->click();  // hide the return stroke
        connectWindow();
        click("downBtn");
        QTRY_COMPARE(plot()->graph(0)->dataCount(), 2);
        QTRY_COMPARE(plot()->graph(1)->dataCount(), 1);
        QVERIFY(!plot()->graph(1)->visible());
        QCOMPARE(plot()->graph(0)->data()->at(1)->value, double(19.6f));
        QCOMPARE(plot()->graph(1)->data()->at(0)->value, double(4.9f));
        QCOMPARE(plot()->xAxis->range(), QCPRange(0, 150));

        // Twenty empty reads later the status polls again.
        const int first = slave->requestCount();
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const SlaveRequest &r : slave->requests().mid(first))
                    if (r.function == 0x04 && r.address == 0)
                        return true;
                return false;
            }(),
            10000);

        // A state in kg rescales what the chart holds, once.
        setState(0, 0, {1, 3, 0, 0});
        QTRY_COMPARE(plot()->yAxis->label(), QStringLiteral("Force Kg"));
        QCOMPARE(plot()->graph(0)->data()->at(0)->value, 1.0);
        QCOMPARE(plot()->graph(0)->data()->at(1)->value, 2.0);
        QCOMPARE(plot()->yAxis->range(), QCPRange(double(float(-500 / 9.8)), double(float(500 / 9.8))));
        const int polls = slave->requestCount();
        QTRY_VERIFY(slave->requestCount() >= polls + 3);
        QCOMPARE(plot()->graph(0)->data()->at(1)->value, 2.0);

        click("refreshBtn");
        QCOMPARE(plot()->graph(0)->dataCount() + plot()->graph(1)->dataCount(), 0);
        QCOMPARE(plot()->xAxis->range(), QCPRange(0, 150));
    }

    void testReportedWithItsOwnPointsInNewtons()
    {
        setState(0, 0, {1, 3, 0, 0});  // the chart shows kg
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {{2.0, 19.6}, {1.0, 9.8}}));
        controller->queueCurveBlock(ControllerDouble::curveBlock(2, {{1.5, 4.9}}));
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {}));
        connectWindow();
        QTRY_COMPARE(plot()->yAxis->label(), QStringLiteral("Force Kg"));
        QMetaObject::invokeMethod(window, "receiveCurveData", Q_ARG(int, 0), Q_ARG(double, 7), Q_ARG(double, 70));
        confirmTestSettings(Curve_Setting{1, 0, 120, 2.5f});
        QSignalSpy finished(window, &MainWindow::testFinished);
        const QDateTime before = QDateTime::currentDateTimeUtc();

        click("startBtn");
        QVERIFY(!startEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
        QVERIFY(startEnabled());
        const TestRun run = finished[0][0].value<TestRun>();
        // Acquisition order and newtons, whatever the chart holds and shows.
        QCOMPARE(run.forward, (QVector<QPointF>{{2.0, double(19.6f)}, {1.0, double(9.8f)}}));
        QCOMPARE(run.back, (QVector<QPointF>{{1.5, double(4.9f)}}));
        QCOMPARE(run.setting.speed, 120);
        QCOMPARE(run.setting.mode, 1);
        QVERIFY(!run.stopped);
        QCOMPARE(run.quality.curveReads, 2 + 200);
        QCOMPARE(run.quality.failedReads, 0);
        QCOMPARE(run.startedAt.timeSpec(), Qt::UTC);
        QVERIFY(run.startedAt >= before.addMSecs(-1) && run.startedAt <= before.addSecs(5));
        QVERIFY(run.durationMs >= 0 && run.durationMs < 15000);
    }

    void stoppedTestAndJogs()
    {
        // The last block handed out answers every later read: the stand never runs dry.
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {{1.0, 10.0}}));
        connectWindow();
        confirmTestSettings(Curve_Setting{0, 0, 100, 10.0f});
        QSignalSpy finished(window, &MainWindow::testFinished);
        QSignalSpy progress(window, &MainWindow::testProgress);
        click("startBtn");
        QTRY_VERIFY(progress.count() >= 2);
        const TestRun sofar = progress.last()[0].value<TestRun>();
        QVERIFY(!sofar.forward.isEmpty());
        QVERIFY(sofar.durationMs >= 250);
        QVERIFY(!startEnabled());

        click("stopBtn");
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished[0][0].value<TestRun>().stopped);
        QVERIFY(finished[0][0].value<TestRun>().forward.size() >= sofar.forward.size());
        QVERIFY(startEnabled());

        // A recording jog holds Start too, and is no test.
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {}));
        child<QCheckBox>(window, "curveCheckBox")->setChecked(true);
        const int progressBefore = progress.count();
        click("upBtn");
        QVERIFY(!startEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(startEnabled(), 10000);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(progress.count(), progressBefore);
    }

    void pointsWidenTheDistanceAxis()
    {
        auto add = [&](int index, double x, double y) {
            QMetaObject::invokeMethod(window, "receiveCurveData", Q_ARG(int, index), Q_ARG(double, x),
                                      Q_ARG(double, y));
        };
        add(0, 50, 1);
        QCOMPARE(plot()->xAxis->range(), QCPRange(0, 100));
        add(0, 120.5, 1);
        QCOMPARE(plot()->xAxis->range(), QCPRange(0, 120.5));
        add(1, -7, 1);
        QCOMPARE(plot()->xAxis->range(), QCPRange(-7, 120.5));
        QCOMPARE(plot()->yAxis->range(), QCPRange(-300, 500));

        forceUnit = 2;
        add(0, 10, 98.0);
        QCOMPARE(plot()->graph(0)->data()->at(0)->value, double(22.046f));
    }

    void cursorReadout()
    {
        window->resize(800, 600);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        forceDecimals = 0;
        const QPoint at(plot()->xAxis->coordToPixel(12.34), plot()->yAxis->coordToPixel(56.78));
        QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot(), &move);
        const QStringList parts = status().split(QStringLiteral(", "));
        QCOMPARE(parts.size(), 2);
        QVERIFY(!parts[1].contains(QLatin1Char('.')));
        QCOMPARE(parts[0].section(QLatin1Char('.'), 1).size(), 1);
    }
};

QTEST_MAIN(OperatorRoadTest)
#include "tst_operatorroad.moc"
