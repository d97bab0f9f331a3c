// How long the reports and a headless test take, each next to its reference in the
// same run:
//
//   test report   one test of 2 x 13 000 points (a 10 s stroke at the most a
//                 115200-baud line carries) written as a PDF report, next to the
//                 same curve exported as a PDF by the chart (File > Export)
//   batch report  100 tests of 2 x 1 000 points: overlay, statistics, a row each
//   run           quelmar-cli run --simulated of a 50 mm test at 300 mm/min, next
//                 to the time the stand itself takes for the stroke out and back
//                 and the wait for the end of acquisition that the controller's
//                 register contract sets (200 empty curve reads in a row); once on
//                 a line paced at 115200 baud, as the program's own, and once at
//                 1 Mbaud
//
// The reports are written several times each; the median and the best are printed.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>

#include "analysis/curveresults.h"
#include "analysis/testmethod.h"
#include "report/reportchart.h"
#include "report/testreport.h"
#include "store/recordbuilder.h"
#include "timing.h"

namespace {

constexpr int Runs = 5;

// A pull test that yields and breaks, as the simulated stand's specimen does.
TestRecord recordedTest(int pointsPerStroke, int index)
{
    RecordInput input;
    input.sample = QStringLiteral("S-%1").arg(index, 3, 10, QLatin1Char('0'));
    input.batch = QStringLiteral("B-7");
    input.operatorName = QStringLiteral("bench");
    input.standType = 500;
    input.standDecimals = 3;
    for (int i = 0; i < pointsPerStroke; ++i) {
        const double distance = 50.0 * i / pointsPerStroke;
        const double force = std::min(50.0 * distance, 300.0 + 2.5 * distance) * (1 + 0.01 * index)
                             + 0.05 * std::sin(i * 0.7);
        input.forward.append(QPointF(distance, force));
        input.back.append(QPointF(50.0 - distance, 0.6 * force));
    }
    const TestMethodReading method = parseTestMethod(
        R"({"name": "Peel", "version": 2, "results": {"window_mm": [10, 40], "force_at_mm": [10, 25]},
            "limits": {"forward.peak_force_N": [300, 440], "forward.work_mJ": [null, 20000]}})",
        QStringLiteral("bench"));
    input.method = QJsonDocument::fromJson(testMethodJson(method.method)).object();
    input.results = resultsJson(curveResultsJson(analyseCurve(TestCurve{input.forward, input.back}, method.method.results)),
                                method.method.limits);
    input.quality = acquisitionQualityJson(pointsPerStroke / 15, 0, 0);
    TestRecord record;
    record.record = recordJson(input);
    record.uuid = record.record.value(QStringLiteral("uuid")).toString();
    record.recordedAt = record.record.value(QStringLiteral("recorded_at")).toString();
    record.seq = index + 1;
    record.hash = QString(64, QLatin1Char('a'));
    record.forward = input.forward;
    record.back = input.back;
    return record;
}

// The timing of `Runs` repeats of `work`.
Timing repeated(const std::function<bool()> &work)
{
    Timing timing;
    for (int run = 0; run < Runs; ++run)
        timing.add(timed(work));
    return timing;
}

void printReport(const char *what, Timing timing, double reference, double limit)
{
    const double median = timing.median();
    std::printf("%-14s median %6.3f s  best %6.3f s  %5.1f x chart export  (limit %.0f s)\n", what, median,
                timing.best(), median / reference, limit);
}

// quelmar-cli run --simulated with `standOptions`; the wall time, or -1 when it failed.
double headlessRun(const QTemporaryDir &dir, const QStringList &standOptions)
{
    QStringList arguments{QStringLiteral("run"), QStringLiteral("--simulated"),
                          QStringLiteral("--method"), dir.filePath(QStringLiteral("method.json")),
                          QStringLiteral("--sample"), QStringLiteral("bench"),
                          QStringLiteral("--database"), QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("runs.sqlite")),
                          QStringLiteral("--json")};
    for (const QString &option : standOptions)
        arguments << QStringLiteral("--stand-option") << option;
    QProcess cli;
    QElapsedTimer timer;
    timer.start();
    cli.start(QStringLiteral(QUELMAR_CLI), arguments);
    if (!cli.waitForFinished(120000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() == 2) {
        std::fprintf(stderr, "reportbench: quelmar-cli run failed: %s\n", cli.readAllStandardError().constData());
        return -1;
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QString error;

    const TestRecord test = recordedTest(13000, 0);
    const std::unique_ptr<QCustomPlot> chart = ReportChart::record(test, 0);
    chart->resize(800, 600);
    Timing exportTiming = repeated([&] { return chart->savePdf(pdf, 0, 0, QCP::epAllowCosmetic); });
    const double exportMedian = exportTiming.median();
    std::printf("%-14s median %6.3f s  best %6.3f s\n", "chart export", exportMedian, exportTiming.best());
    printReport("test report", repeated([&] {
                    return writeReportPdf(TestReport::single(test, {QStringLiteral("Bench lab")}), pdf, QString(), error) > 0;
                }),
                exportMedian, 1);

    QVector<TestRecord> batch;
    for (int i = 0; i < 100; ++i)
        batch.append(recordedTest(1000, i));
    printReport("batch report", repeated([&] {
                    return writeReportPdf(TestReport::batch(batch, {QStringLiteral("Bench lab")}), pdf, QString(), error) > 0;
                }),
                exportMedian, 5);

    constexpr double DistanceMm = 50, SpeedMmPerMin = 300;
    QFile method(dir.filePath(QStringLiteral("method.json")));
    if (!method.open(QIODevice::WriteOnly)
        || method.write(R"({"name": "Bench", "test": {"mode": "push", "distance_mode": "relative",
                            "speed_mm_min": 300, "distance_mm": 50}})")
               < 0)
        return 1;
    method.close();
    const double strokeSeconds = 2 * DistanceMm / SpeedMmPerMin * 60;
    // A curve read is an 8-byte request and a 249-byte reply with the 3.5-character gap.
    const auto endWait = [](double baud) { return 200 * (8 + 249 + 3.5) * 10 / baud; };
    for (const int baud : {115200, 1000000}) {
        const double seconds = headlessRun(dir, {QStringLiteral("baud=%1").arg(baud)});
        if (seconds < 0)
            return 1;
        std::printf("run at %7d baud: %6.2f s  stroke out and back %5.2f s  end of acquisition %4.2f s  "
                    "beyond both %5.2f s\n",
                    baud, seconds, strokeSeconds, endWait(baud), seconds - strokeSeconds - endWait(baud));
    }
    return 0;
}
