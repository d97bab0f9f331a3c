// The results panel in the window against the simulated stand: a method chosen from
// the library sets the test, and after each test the panel shows that test's results
// and the verdict; opening a data file shows its results.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include <memory>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "modaldialogs.h"
#include "simulatedwindow.h"
#include "sim/standsimulator.h"
#include "widgetlookup.h"

namespace {

// 5 mm at 300 mm/min, sampled 200 times a second: one second each way, and the
// forward stroke also holds its first sample.
constexpr int SampleRateHz = 200;
constexpr int ForwardPoints = SampleRateHz + 1;
constexpr int TestTimeoutMs = 30000;

// Passes on the forward stroke's points, which count this test's only; fails on
// the return stroke's peak, which the stand's specimen exceeds by far.
const QByteArray Method = R"({"name": "Short push", "version": 4,
    "test": {"mode": "push", "distance_mode": "relative", "speed_mm_min": 300, "distance_mm": 5},
    "limits": {"forward.points": [201, 201], "return.peak_force_N": [null, 0.5]}})";

} // namespace

class tst_resultswindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quelmarInitResources();
        QVERIFY(config.isValid());
        // The window's method library lives in the user's configuration folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QDir().mkpath(config.filePath("tst_resultswindow/methods"));
        QFile method(config.filePath("tst_resultswindow/methods/short.json"));
        QVERIFY(method.open(QIODevice::WriteOnly));
        method.write(Method);
    }

    void init()
    {
        const QString failure = openOnSimulatedStand(simulator, window, SampleRateHz);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void cleanup()
    {
        window.reset();
        simulator.reset();
    }

    void verdictAfterEachTestOfItsOwnPoints()
    {
        child<QAction>(window.get(), "actionConnect")->trigger();
        QTRY_VERIFY(!child<QLabel>(window.get(), "forceLabel")->text().isEmpty());
        QVERIFY(!child<QPushButton>(window.get(), "startBtn")->isEnabled());

        // Choosing the method while connected sets the test as the start dialog does.
        const ModalStep useFirst = [](QWidget *dialog) {
            child<QListWidget>(dialog, "methodList")->setCurrentRow(0);
            child<QPushButton>(dialog, "useBtn")->click();
            child<QPushButton>(dialog, "closeBtn")->click();
        };
        QCOMPARE(runModal([&] { child<QPushButton>(window.get(), "methodsBtn")->click(); }, {useFirst}), 1);
        QCOMPARE(child<QLabel>(window.get(), "methodLabel")->text(), QStringLiteral("Short push, version 4"));
        QTRY_VERIFY(child<QPushButton>(window.get(), "startBtn")->isEnabled());

        for (int test = 1; test <= 2; ++test) {
            const QString before = source();
            child<QPushButton>(window.get(), "startBtn")->click();
            QTRY_VERIFY_WITH_TIMEOUT(source() != before && source().startsWith("Test of"), TestTimeoutMs);
            QCOMPARE(verdict(), QStringLiteral("FAIL"));
            // The chart holds both tests by now; the results, the last one only.
            QCOMPARE(plotPoints() > 2 * ForwardPoints, test == 2);
            QCOMPARE(cell(0, 1), QString::number(ForwardPoints));
            QCOMPARE(child<QLabel>(window.get(), "failedLabel")->text(), QStringLiteral("Failed: Peak force (return)"));
            QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(window.get(), "startBtn")->isEnabled(), TestTimeoutMs);
        }

        // What the chart holds, both tests, on request.
        child<QPushButton>(window.get(), "refreshResultsBtn")->click();
        QCOMPARE(cell(0, 1).toInt(), plot()->graph(0)->dataCount());
        QCOMPARE(child<QLabel>(window.get(), "failedLabel")->text(),
                 QStringLiteral("Failed: Points (forward); Peak force (return)"));
    }

    void openedFileShowsItsResults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("pull.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Data Forward:\n0.0,0\n1.0,-10\n2.0,-4\nData Return:\n0.0,0\n2.0,-2\n");
        file.close();
        QCOMPARE(runModal([&] { child<QAction>(window.get(), "actionOpen")->trigger(); }, {choose(path)}), 1);
        QCOMPARE(source(), QStringLiteral("File pull.txt"));
        QCOMPARE(cell(1, 1), QStringLiteral("-10.000"));  // the peak keeps its sign
        QCOMPARE(cell(3, 1), QStringLiteral("-12.000"));  // work: -5 - 7
        QCOMPARE(cell(3, 2), QStringLiteral("-2.000"));
    }

private:
    QString verdict() const { return child<QLabel>(window.get(), "verdictLabel")->text(); }
    QString source() const { return child<QLabel>(window.get(), "sourceLabel")->text(); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = child<QTableWidget>(window.get(), "resultsTable")->item(row, column);
        return item ? item->text() : QString();
    }
    QCustomPlot *plot() const { return child<QCustomPlot>(window.get(), "userPlot"); }
    int plotPoints() const { return plot()->graph(0)->dataCount() + plot()->graph(1)->dataCount(); }

    QTemporaryDir config;
    std::unique_ptr<StandSimulator> simulator;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(tst_resultswindow)
#include "tst_resultswindow.moc"
