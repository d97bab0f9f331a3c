// What looking back at records costs on screen, each figure next to its reference in
// the same run:
//
//   list 10 000 records   the history window from asking for the list to the table
//                         filled and painted, next to the store's queries alone and
//                         the limit of 200 ms; opening the window also reads the
//                         methods of the records
//   overlay 20 x 10 000   20 records of 10 000 points read and drawn in the overlay,
//                         next to the main chart drawing the same 200 000 points as
//                         one curve, and the limit of 1 s
//
// Each is run several times; the median and the best are printed.
//
//   historybench --fill FILE COUNT   writes COUNT made-up records of realistic tests
//                                    into FILE (to look at the windows) and ends

#include <QApplication>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>

#include "analysis/curveresults.h"
#include "analysis/testmethod.h"
#include "analysis/verdict.h"
#include "bench/timing.h"
#include "chart/curveplot.h"
#include "history/historywindow.h"
#include "history/overlaywindow.h"
#include "store/recordappend.h"
#include "store/recordbuilder.h"
#include "store/recorddatabase.h"

namespace {

constexpr int Runs = 7;
constexpr int ListedRecords = 10000;
constexpr int OverlaidRecords = 20;
constexpr int OverlaidPoints = 10000;  // per record, both strokes

const char MethodJson[] = R"({"name": "Peel 25 mm", "version": 2,
    "results": {"force_at_mm": [10]},
    "limits": {"forward.peak_force_N": [88, 122], "forward.force_at_mm.10": [70, 110]}})";

Timing runs(const std::function<bool()> &work)
{
    Timing timing;
    for (int i = 0; i < Runs; ++i)
        timing.add(timed(work));
    return timing;
}

void print(const char *what, Timing timing, const char *reference = "")
{
    std::printf("  %-36s median %8.1f ms  best %8.1f ms   %s\n", what, 1e3 * timing.median(), 1e3 * timing.best(),
                reference);
}

DatabaseUrl sqliteUrl(const QString &path)
{
    DatabaseUrl url;
    url.engine = DatabaseUrl::Sqlite;
    url.path = path;
    return url;
}

// A peel test of sample i: the force rises, peaks and falls over 25 mm, a little
// stronger in some batches than in others, and comes back lower on the return.
RecordInput madeUpTest(int i, int points, const TestMethod &method)
{
    RecordInput input;
    input.sample = QStringLiteral("S-%1").arg(i + 1, 4, 10, QLatin1Char('0'));
    input.batch = QStringLiteral("B-%1").arg(i / 25 + 1, 3, 10, QLatin1Char('0'));
    input.operatorName = i % 3 ? QStringLiteral("ann") : QStringLiteral("li wei");
    input.note = i % 40 == 7 ? QStringLiteral("edge torn at the clamp") : QString();
    input.recordedAt = QDateTime(QDate(2026, 11, 2), QTime(8, 0), Qt::UTC).addSecs(i * 900);
    input.standType = 500;
    input.standDecimals = 2;
    input.method = QJsonDocument::fromJson(testMethodJson(method)).object();
    const double strength = 100 + 12 * std::sin(i * 0.7) + 5 * ((i / 25) % 3);
    const int stroke = points / 2;
    for (int p = 0; p < stroke; ++p) {
        const double d = 25.0 * p / (stroke - 1);
        const double force = strength * std::sin(M_PI * d / 30) + 0.8 * std::sin(p * 1.3 + i);
        input.forward.append(QPointF(d, force));
        input.back.prepend(QPointF(d, 0.55 * force));
    }
    const TestCurve curve{input.forward, input.back};
    input.results = resultsJson(curveResultsJson(analyseCurve(curve, method.results)), method.limits);
    return input;
}

bool fill(const QString &path, int count, int points)
{
    const TestMethodReading method = parseTestMethod(MethodJson, QStringLiteral("bench"));
    RecordDatabase db;
    if (!method.error.isEmpty() || !db.open(sqliteUrl(path))) {
        std::fprintf(stderr, "historybench: %s\n", qPrintable(method.error + db.error()));
        return false;
    }
    // Made-up records need not survive a power cut.
    QSqlQuery(db.sql()).exec(QStringLiteral("PRAGMA synchronous = OFF"));
    for (int i = 0; i < count; ++i)
        if (appendRecord(db, buildRecord(madeUpTest(i, points, method.method))).outcome != AppendResult::Stored)
            return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--fill"))
        return fill(args.at(2), args.at(3).toInt(), 600) ? 0 : 1;

    QTemporaryDir dir;
    const QString listed = dir.filePath(QStringLiteral("listed.sqlite"));
    const QString overlaid = dir.filePath(QStringLiteral("overlaid.sqlite"));
    if (!fill(listed, ListedRecords, 200) || !fill(overlaid, OverlaidRecords, OverlaidPoints))
        return 1;

    std::printf("list %d records\n", ListedRecords);
    RecordDatabase db;
    db.open(sqliteUrl(listed));
    print("store query (listRecords)", runs([&] {
              QVector<RecordSummary> rows;
              QString error;
              return listRecords(db, RecordFilter(), rows, error) && rows.size() == ListedRecords;
          }));
    print("store query (listMethods)", runs([&] {
              QVector<QJsonObject> methods;
              QString error;
              return listMethods(db, RecordFilter(), methods, error) && methods.size() == 1;
          }));
    HistoryWindow history;
    history.resize(1100, 640);
    history.show();
    QSignalSpy done(&history, &HistoryWindow::listed);
    history.setDatabase(sqliteUrl(listed));
    done.wait(10000);
    print("history window (listed, painted)", runs([&] {
              history.refresh();
              if (!done.wait(10000) || done.last().at(0).toInt() != ListedRecords)
                  return false;
              history.repaint();
              return true;
          }),
          "limit 200 ms");
    print("history window opened (+ methods)", runs([&] {
              history.setDatabase(sqliteUrl(listed));
              if (!done.wait(10000) || done.last().at(0).toInt() != ListedRecords)
                  return false;
              history.repaint();
              return true;
          }));

    std::printf("overlay %d records x %d points\n", OverlaidRecords, OverlaidPoints);
    RecordDatabase overlayDb;
    overlayDb.open(sqliteUrl(overlaid));
    QVector<TestRecord> records;
    print("read (readRecords)", runs([&] {
              QString error;
              return readRecords(overlayDb, RecordFilter(), records, error) && records.size() == OverlaidRecords
                     && records.last().forward.size() + records.last().back.size() == OverlaidPoints;
          }));
    OverlayWindow overlay;
    overlay.resize(900, 600);
    overlay.show();
    QCustomPlot *plot = overlay.findChild<QCustomPlot *>();
    print("overlay (curves set, drawn)", runs([&] {
              overlay.showRecords(records);
              plot->replot(QCustomPlot::rpImmediateRefresh);
              return plot->graphCount() == 2 * OverlaidRecords;
          }),
          "limit 1000 ms");
    QVector<QPointF> forward, back;
    for (const TestRecord &record : records) {
        forward += record.forward;
        back += record.back;
    }
    QCustomPlot mainChart;
    mainChart.resize(900, 600);
    mainChart.show();
    CurvePlot curve(&mainChart);
    curve.init();
    print("main chart, the same points as one", runs([&] {
              curve.showLoaded(forward, back);
              mainChart.replot(QCustomPlot::rpImmediateRefresh);
              return true;
          }));
    return 0;
}
