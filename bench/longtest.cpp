// A long test through the whole program: the real main window connects to the
// simulated stand (quelmar-standsim, unpaced, sampling at 10 kHz so that points are
// always waiting and the loop never counts 200 empty reads), runs one push test that
// yields the asked number of curve points, then saves the curve, opens it again,
// disconnects and closes the window: the road an operator takes.
//
// The stand runs as a process of its own, so its queue and request log stay out of
// this process's memory. Printed:
//  - resident memory (VmRSS) before the test and once its last point is drawn, and
//    what the chart's graphs hold for those points, measured by adding the same
//    points in the same order to containers of the same kind (16 bytes a point, plus
//    the spare capacity that growth leaves); the rest, per point, is what the program
//    keeps beyond the chart;
//  - the largest gap between ticks of a 50 ms timer on the GUI thread during the test.
//
// Usage: longtest [points], 1 000 000 by default. With a small count it is the road
// that scripts/leakcheck.sh runs under valgrind.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <qcustomplot.h>

#include <malloc.h>

#include <climits>
#include <cstdio>
#include <functional>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "tests/modaldialogs.h"
#include "tests/widgetlookup.h"

namespace {

constexpr int SampleRateHz = 10000;
constexpr int SpeedMmPerMin = 60;
constexpr int DefaultPoints = 1000000;
// The last points may be one sample short of the count, as the stroke's length is a
// float; this long without another, the test has ended.
constexpr int QuietAfterLastMs = 500;
// Points stop only at the end of the test; this long without one means it stalled.
constexpr int StallMs = 10000;

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

int pointsHeld(QCustomPlot *plot)
{
    return plot->graph(0)->dataCount() + plot->graph(1)->dataCount();
}

// Heap taken by the graphs' data as the chart holds it: the same points added one by
// one in the order they came, the forward stroke outwards and the return stroke back.
qint64 chartStorage(QCustomPlot *plot)
{
    const qint64 before = heapInUse();
    QCPGraphDataContainer forward;
    for (const QCPGraphData &point : *plot->graph(0)->data())
        forward.add(point);
    QCPGraphDataContainer back;
    const QSharedPointer<QCPGraphDataContainer> returned = plot->graph(1)->data();
    for (auto point = returned->constEnd(); point != returned->constBegin();)
        back.add(*--point);
    return heapInUse() - before;
}

// Runs the event loop until `done` or `timeoutMs`; false on the timeout.
bool await(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

int fail(const char *what)
{
    std::fprintf(stderr, "longtest: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quelmarInitResources();
    const int wanted = argc > 1 ? QByteArray(argv[1]).toInt() : DefaultPoints;
    if (wanted < 2)
        return fail("the point count must be 2 or more");

    QProcess standProcess;
    standProcess.start(QStringLiteral(QUELMAR_STANDSIM),
                       {QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--sample-rate"),
                        QString::number(SampleRateHz)});
    if (!standProcess.waitForReadyRead(10000))
        return fail("the simulated stand did not start");
    const QString port = QString::fromLocal8Bit(standProcess.readLine()).trimmed();

    // A push and a return stroke at 1 mm/s, sampled from start to end: samples =
    // seconds x rate for each stroke, and one more at the start.
    const int samplesPerStroke = wanted / 2;
    const int expected = 2 * samplesPerStroke + 1;
    const float distanceMm = float(samplesPerStroke) / SampleRateHz * SpeedMmPerMin / 60;

    int status = 0;
    {
        MainWindow window;
        window.resize(900, 650);
        window.show();
        window.usePort(port);
        QCustomPlot *plot = child<QCustomPlot>(&window, "userPlot");
        QLabel *force = child<QLabel>(&window, "forceLabel");

        child<QAction>(&window, "actionConnect")->trigger();
        if (!await([&] { return !force->text().isEmpty(); }, 10000))
            return fail("no state came from the stand");
        QMetaObject::invokeMethod(&window, "receiveCurveSetting",
                                  Q_ARG(Curve_Setting, (Curve_Setting{0, 0, SpeedMmPerMin, distanceMm})));

        qint64 largestGapMs = 0;
        QElapsedTimer sinceTick;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { largestGapMs = qMax(largestGapMs, sinceTick.restart()); });

        const qint64 residentBefore = residentBytes();
        QElapsedTimer run;
        run.start();
        sinceTick.start();
        ticker.start(50);
        child<QAbstractButton>(&window, "startBtn")->click();
        int held = 0;
        QElapsedTimer sincePoint;
        sincePoint.start();
        await(
            [&] {
                if (pointsHeld(plot) != held) {
                    held = pointsHeld(plot);
                    sincePoint.restart();
                }
                return (held >= expected - 1 && sincePoint.elapsed() > QuietAfterLastMs)
                    || sincePoint.elapsed() > StallMs;
            },
            INT_MAX);
        ticker.stop();
        const double seconds = run.elapsed() / 1000.0;
        const qint64 residentAfter = residentBytes();
        const qint64 chart = chartStorage(plot);

        const qint64 growth = residentAfter - residentBefore;
        const bool stalled = held < expected - 1;
        std::printf("points drawn            %d of %d%s in %.1f s\n", held, expected, stalled ? " (stalled)" : "",
                    seconds);
        std::printf("resident before / after %.1f MB / %.1f MB\n", residentBefore / 1e6, residentAfter / 1e6);
        std::printf("growth                  %.1f MB = %.1f bytes a point\n", growth / 1e6, double(growth) / held);
        std::printf("chart's graph data      %.1f MB = %.1f bytes a point\n", chart / 1e6, double(chart) / held);
        std::printf("beyond the chart        %.1f bytes a point\n", double(growth - chart) / held);
        std::printf("largest GUI gap         %lld ms between 50 ms ticks\n", static_cast<long long>(largestGapMs));
        std::fflush(stdout);
        if (stalled)
            status = 1;

        // The rest of the road: save, clear, open, disconnect.
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("long.txt"));
        runModal([&] { child<QAction>(&window, "actionSave")->trigger(); }, {choose(saved)});
        child<QAbstractButton>(&window, "refreshBtn")->click();
        runModal([&] { child<QAction>(&window, "actionOpen")->trigger(); }, {choose(saved)});
        std::printf("saved and opened again  %d points\n", pointsHeld(plot));
        if (pointsHeld(plot) != held)
            status = 1;
        child<QAction>(&window, "actionDisconnect")->trigger();
        window.close();
    }
    standProcess.terminate();
    standProcess.waitForFinished(5000);
    return status;
}
