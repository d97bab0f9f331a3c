// What keeping records costs, each figure next to its reference in the same run:
//
//   store 100 000 points   one test (50 000 points per stroke) built into a record and
//                          appended to a SQLite records file, next to saving the same
//                          points as a test data file
//   list 10 000 records    the history window's query over a file of 10 000 records,
//                          next to its limit of 200 ms and to reading the seq column alone
//   statistics 1 000       statistics of every numeric result over 1 000 records, from
//                          the listed rows and with the query, next to the limit of 50 ms
//
// Each is run several times; the median and the best are printed.

#include <QCoreApplication>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <functional>

#include "analysis/curveresults.h"
#include "bench/timing.h"
#include "analysis/resultpath.h"
#include "analysis/testmethod.h"
#include "analysis/verdict.h"
#include "records/testdatafile.h"
#include "store/recordappend.h"
#include "store/recordbuilder.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"
#include "store/recordstatistics.h"

namespace {

constexpr int Runs = 15;

Timing repeated(const std::function<bool()> &work)
{
    Timing timing;
    for (int i = 0; i < Runs; ++i)
        timing.add(timed(work));
    return timing;
}

void print(const char *what, Timing timing, const QString &reference)
{
    std::printf("  %-34s median %9.2f ms  best %9.2f ms   %s\n", what, timing.median() * 1e3, timing.best() * 1e3,
                qPrintable(reference));
}

DatabaseUrl sqliteUrl(const QString &path)
{
    DatabaseUrl url;
    url.engine = DatabaseUrl::Sqlite;
    url.path = path;
    return url;
}

TestMethod benchMethod()
{
    return parseTestMethod(R"({"name": "Peel 25 mm", "version": 3,
        "results": {"window_mm": [10, 40], "force_at_mm": [10, 25.5], "distance_at_N": [5],
                    "break": {"drop_percent": 50, "min_force_N": 2.0}},
        "limits": {"forward.peak_force_N": [null, 520], "forward.mean_force_N": [40, 300]}})", QStringLiteral("bench"))
        .method;
}

RecordInput testInput(int pointsPerStroke, int variant, const TestMethod &method)
{
    RecordInput input;
    input.sample = QStringLiteral("S-%1").arg(variant);
    input.batch = QStringLiteral("B%1").arg(variant % 20);
    input.operatorName = QStringLiteral("ann");
    input.note = QStringLiteral("bench record");
    input.standType = 3;
    input.standDecimals = 2;
    input.method = QJsonDocument::fromJson(testMethodJson(method)).object();
    input.quality = acquisitionQualityJson(pointsPerStroke / 15, 0, 0);
    for (int i = 0; i < pointsPerStroke; ++i) {
        const double distance = 100.0 * i / pointsPerStroke;
        const double force = 4.5 * distance + 20.0 * std::sin(i * 0.01 + variant) + (i % 997) * 0.001;
        input.forward.append(QPointF(distance, force));
        input.back.append(QPointF(100.0 - distance, 0.8 * force));
    }
    const TestCurve curve{input.forward, input.back};
    input.results = resultsJson(curveResultsJson(analyseCurve(curve, method.results)), method.limits);
    return input;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const TestMethod method = benchMethod();
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average at start: %s", load.readLine().constData());

    std::printf("store one test of 100 000 points\n");
    const RecordInput big = testInput(50000, 0, method);
    int n = 0;
    print("record appended to SQLite", repeated([&] {
              RecordDatabase db;
              if (!db.open(sqliteUrl(dir.filePath(QStringLiteral("store%1.sqlite").arg(n++)))))
                  return false;
              return appendRecord(db, buildRecord(big)).outcome == AppendResult::Stored;
          }),
          QStringLiteral("opening a new file, creating the schema, one transaction"));
    RecordDatabase one;
    if (!one.open(sqliteUrl(dir.filePath(QStringLiteral("one.sqlite")))))
        return 1;
    print("record appended to an open file", repeated([&] {
              return appendRecord(one, buildRecord(big)).outcome == AppendResult::Stored;
          }),
          QStringLiteral("the writer thread's case"));
    const TestData data{big.forward, big.back};
    print("the same points as a data file", repeated([&] {
              return saveTestDataFile(dir.filePath(QStringLiteral("test.txt")), data, 0, 2).isEmpty();
          }),
          QStringLiteral("reference: File > Save"));

    std::printf("list 10 000 records\n");
    RecordDatabase db;
    if (!db.open(sqliteUrl(dir.filePath(QStringLiteral("many.sqlite")))))
        return 1;
    // Filled without waiting for the disk: this part measures reading.
    QSqlQuery(db.sql()).exec(QStringLiteral("PRAGMA synchronous = OFF"));
    for (int i = 0; i < 10000; ++i) {
        if (appendRecord(db, buildRecord(testInput(500, i, method))).outcome != AppendResult::Stored)
            return 1;
    }
    QVector<RecordSummary> rows;
    QString error;
    print("listRecords, no filter", repeated([&] { return listRecords(db, RecordFilter(), rows, error) && rows.size() == 10000; }),
          QStringLiteral("limit 200 ms"));
    RecordFilter batch;
    batch.batch = QStringLiteral("B7");
    print("listRecords, one batch (500)", repeated([&] { return listRecords(db, batch, rows, error) && rows.size() == 500; }),
          QStringLiteral("limit 200 ms"));
    print("SELECT seq alone", repeated([&] {
              QSqlQuery query(db.sql());
              query.setForwardOnly(true);
              int count = 0;
              if (!query.exec(QStringLiteral("SELECT seq FROM test_records ORDER BY seq")))
                  return false;
              while (query.next())
                  ++count;
              return count == 10000;
          }),
          QStringLiteral("reference: the engine's floor"));

    std::printf("statistics over 1 000 records\n");
    if (!listRecords(db, RecordFilter(), rows, error))
        return 1;
    const QVector<RecordSummary> some = rows.mid(0, 1000);
    const auto statistics = [](const QVector<RecordSummary> &records) {
        QVector<QMap<QString, double>> values;
        values.reserve(records.size());
        for (const RecordSummary &row : records)
            values.append(numericResultPaths(row.results()));
        return resultStatistics(values).size() > 10;
    };
    print("from the listed rows", repeated([&] { return statistics(some); }), QStringLiteral("limit 50 ms"));
    RecordFilter firstThousand;
    for (const RecordSummary &row : some)
        firstThousand.uuids.append(row.uuid);
    print("with their query (by uuid)", repeated([&] {
              QVector<RecordSummary> listed;
              return listRecords(db, firstThousand, listed, error) && listed.size() == 1000 && statistics(listed);
          }),
          QStringLiteral("limit 50 ms"));
    return 0;
}
