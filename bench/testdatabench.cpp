// How fast a test data file of 1 000 000 points (500 000 per stroke) is saved and
// opened through the code the File menu runs, next to awk summing the force column of
// the same file in the same run:
//
//   save  the chart's points read out and written through a QSaveFile
//   open  the file read and decoded, the chart refilled and redrawn
//   awk   awk -F, '{s+=$2} END {print s}' over the file
//
// Each is run several times, in turn, on a file the system has cached; the median
// and the best time are printed.

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bench/timing.h"
#include "chart/curveplot.h"
#include "chart/forceunit.h"
#include "records/testdatafile.h"

namespace {

constexpr int PointsPerStroke = 500000;
constexpr int Runs = 7;

// A push test: distance rising to 100 mm and back, force in newtons with 3 decimals'
// worth of noise.
TestData recordedTest()
{
    TestData test;
    for (int i = 0; i < PointsPerStroke; ++i) {
        const double distance = 100.0 * i / PointsPerStroke;
        const double force = 4.5 * distance + 20.0 * std::sin(i * 0.01) + (i % 997) * 0.001;
        test.forwardStroke.append(QPointF(distance, force));
        test.returnStroke.append(QPointF(distance, 0.8 * force));
    }
    return test;
}

void print(const char *what, Timing &timing, double awkMedian)
{
    const double median = timing.median();
    std::printf("%-6s median %7.3f s  best %7.3f s  %5.2f x awk\n", what, median, timing.best(), median / awkMedian);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ForceUnit::resetDisplayState();

    QCustomPlot plot;
    plot.resize(800, 500);
    CurvePlot chart(&plot);
    chart.init();
    const TestData test = recordedTest();
    chart.showLoaded(test.forwardStroke, test.returnStroke);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.txt"));
    QString awkSum;

    Timing save, open, awk;
    for (int run = 0; run < Runs; ++run) {
        save.add(timed([&] {
            return saveTestDataFile(path, {chart.points(CurvePlot::Forward), chart.points(CurvePlot::Return)},
                                    forceUnit, forceDecimals).isEmpty();
        }));
        awk.add(timed([&] {
            QProcess process;
            process.start(QStringLiteral("awk"), {QStringLiteral("-F,"), QStringLiteral("{s+=$2} END {print s}"), path});
            const bool ran = process.waitForFinished(-1) && process.exitCode() == 0;
            awkSum = QString::fromLatin1(process.readAllStandardOutput()).trimmed();
            return ran;
        }));
        open.add(timed([&] {
            const TestDataReading reading = openTestDataFile(path, forceUnit);
            chart.showLoaded(reading.data.forwardStroke, reading.data.returnStroke);
            return reading.heldTestData && reading.skippedLines == 0;
        }));
    }

    std::printf("%d points, %lld bytes, awk's force sum %s, %d runs\n",
                plot.graph(0)->dataCount() + plot.graph(1)->dataCount(), QFileInfo(path).size(),
                qPrintable(awkSum), Runs);
    const double awkMedian = awk.median();
    print("save", save, awkMedian);
    print("open", open, awkMedian);
    print("awk", awk, awkMedian);
    return 0;
}
