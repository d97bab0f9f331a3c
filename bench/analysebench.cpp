// How fast a test's results are computed, for a data file of 1 000 000 points
// (500 000 per stroke):
//
//   analyse  quelmar-cli analyse FILE --method METHOD.json --json, the whole program
//   awk      awk -F, '{s+=$2} END {print s}' over the same file, in the same run
//
// and for a curve of as many points in memory: every result of a method that asks
// for all of them (window, listed distances and forces, break, limits), for strokes
// in stored order (as a file gives them) and in acquisition order, where the head's
// jitter leaves the distances not quite sorted.
//
// Each is run several times in turn; the median and the best time are printed.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/curveresults.h"
#include "analysis/testmethod.h"
#include "bench/timing.h"
#include "records/testdatafile.h"

namespace {

constexpr int PointsPerStroke = 500000;
constexpr int Runs = 7;

const QByteArray Method = R"({"name": "Bench", "results": {"window_mm": [10, 90], "force_at_mm": [10, 25.5, 50],
  "distance_at_N": [100, 200], "break": {"drop_percent": 50, "min_force_N": 10}},
  "limits": {"forward.peak_force_N": [null, 1000], "forward.mean_force_N": [0, null], "hysteresis_percent": [null, 50]}})";

// A push test in acquisition order: distance rising to 100 mm and back with 0.02 mm of
// jitter, force in newtons as in testdatabench.
TestCurve acquiredTest()
{
    TestCurve test;
    for (int i = 0; i < PointsPerStroke; ++i) {
        const double distance = 100.0 * i / PointsPerStroke + 0.02 * std::sin(i * 0.7);
        const double force = 4.5 * distance + 20.0 * std::sin(i * 0.01) + (i % 997) * 0.001;
        test.forward.append(QPointF(distance, force));
    }
    // The way back over the same distances.
    for (int i = PointsPerStroke - 1; i >= 0; --i)
        test.back.append(QPointF(test.forward[i].x(), 0.8 * test.forward[i].y()));
    return test;
}

bool runs(const QString &program, const QStringList &args, QByteArray &output, int expectedStatus)
{
    QProcess process;
    process.start(program, args);
    const bool ran = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == expectedStatus;
    output = process.readAllStandardOutput();
    return ran;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const TestMethod method = parseTestMethod(Method, QStringLiteral("bench")).method;

    // The file holds the strokes in ascending distance, as the chart keeps them.
    const TestCurve acquired = acquiredTest();
    TestData stored{acquired.forward, acquired.back};
    const auto nearerStart = [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); };
    std::stable_sort(stored.forwardStroke.begin(), stored.forwardStroke.end(), nearerStart);
    std::stable_sort(stored.returnStroke.begin(), stored.returnStroke.end(), nearerStart);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.txt"));
    const QString methodPath = dir.filePath(QStringLiteral("bench.json"));
    QFile methodFile(methodPath);
    if (!saveTestDataFile(path, stored, 0, 3).isEmpty() || !methodFile.open(QIODevice::WriteOnly)
        || methodFile.write(Method) != Method.size()) {
        std::fprintf(stderr, "cannot write the files\n");
        return 1;
    }
    methodFile.close();

    QByteArray analysed, awkSum;
    Timing analyse, awk;
    for (int run = 0; run < Runs; ++run) {
        analyse.add(timed([&] {
            return runs(QStringLiteral(QUELMAR_CLI), {QStringLiteral("analyse"), path, QStringLiteral("--method"),
                                                      methodPath, QStringLiteral("--json")},
                        analysed, 0);
        }));
        awk.add(timed([&] {
            return runs(QStringLiteral("awk"), {QStringLiteral("-F,"), QStringLiteral("{s+=$2} END {print s}"), path},
                        awkSum, 0);
        }));
    }

    const TestCurve fromFile = TestCurve::fromStoredOrder(stored.forwardStroke, stored.returnStroke);
    QJsonObject results;
    Timing inStoredOrder, inAcquisitionOrder;
    for (int run = 0; run < Runs; ++run) {
        for (auto [curve, timing] : {std::pair(&fromFile, &inStoredOrder), std::pair(&acquired, &inAcquisitionOrder)}) {
            timing->add(timed([&] {
                results = resultsJson(curveResultsJson(analyseCurve(*curve, method.results)), method.limits);
                return results.value(QLatin1String("verdict")).toString() == QLatin1String("pass");
            }));
        }
    }

    const double awkMedian = awk.median();
    std::printf("%d points, %lld bytes, awk's force sum %s, %d runs\n", 2 * PointsPerStroke, QFileInfo(path).size(),
                awkSum.trimmed().constData(), Runs);
    std::printf("analyse  median %7.3f s  best %7.3f s  %5.2f x awk\n", analyse.median(), analyse.best(),
                analyse.median() / awkMedian);
    std::printf("awk      median %7.3f s  best %7.3f s  %5.2f x awk\n", awkMedian, awk.best(), 1.0);
    std::printf("in memory, every result of the method:\n");
    std::printf("  stored order       median %6.1f ms  best %6.1f ms\n", inStoredOrder.median() * 1e3,
                inStoredOrder.best() * 1e3);
    std::printf("  acquisition order  median %6.1f ms  best %6.1f ms\n", inAcquisitionOrder.median() * 1e3,
                inAcquisitionOrder.best() * 1e3);
    std::printf("forward peak %s N, work %s mJ\n",
                qPrintable(QString::number(results.value("forward").toObject().value("peak_force_N").toDouble())),
                qPrintable(QString::number(results.value("forward").toObject().value("work_mJ").toDouble())));
    return 0;
}
