// The reports and the curve CSV of records stored in a real database, read back as a
// user's tools read them: pdftotext and pdfinfo for the PDF, an RFC 4180 reader for
// the CSV.

#include <QtTest>
#include <QJsonDocument>
#include <QTranslator>

#include "analysis/curveresults.h"
#include "analysis/testmethod.h"
#include "app/resources.h"
#include "report/curvecsv.h"
#include "report/testreport.h"
#include "store/recordappend.h"
#include "store/recordbuilder.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"
#include "tests/csvreader.h"
#include "tests/pdftext.h"

namespace {

// Peak 150 N at 30 mm, above the limit of 120 N; the mean over 10..40 mm is
// 3187.5 N / 31 = 102.823 N.
const char *PeelMethod = R"({"name": "Peel 25 mm", "version": 3,
    "test": {"mode": "pull", "distance_mode": "relative", "speed_mm_min": 300, "distance_mm": 50},
    "results": {"window_mm": [10, 40], "force_at_mm": [10]},
    "limits": {"forward.peak_force_N": [null, 120], "forward.mean_force_N": [40, 160]}})";

struct Curve
{
    QVector<QPointF> forward, back;
};

// A triangle up to 150 N at 30 mm and down to 0 at 50 mm; the return stroke in the
// order the head came back, from 50 mm to 0.
Curve triangle(double scale = 1.0)
{
    Curve curve;
    for (int i = 0; i <= 50; ++i) {
        const double force = (i <= 30 ? 5.0 * i : 150.0 - 7.5 * (i - 30)) * scale;
        curve.forward.append(QPointF(i, force));
        curve.back.append(QPointF(50 - i, 0.5 * force));
    }
    return curve;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testReportShowsTheStoredRecord_data();
    void testReportShowsTheStoredRecord();
    void reportInChinese();
    void batchReportHasARowPerRecord();
    void curveCsvReadsBack();

private:
    TestRecord store(const QString &sample, int unit, const Curve &curve, const QByteArray &method = PeelMethod);
    QString pdf(const QString &name) const { return dir.filePath(name + QStringLiteral(".pdf")); }

    QTemporaryDir dir;
    RecordDatabase db;
};

void ReportTest::initTestCase()
{
    QVERIFY(db.open(parseDatabaseUrl(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("r.sqlite"))).url));
}

// Kept as the window keeps a test: results computed by the method, then the record
// appended to the chain and read back with its hash.
TestRecord ReportTest::store(const QString &sample, int unit, const Curve &curve, const QByteArray &method)
{
    const TestMethodReading reading = parseTestMethod(method, QStringLiteral("method.json"));
    RecordInput input;
    input.sample = sample;
    input.batch = QStringLiteral("B-7");
    input.operatorName = QStringLiteral("Ann");
    input.standType = 500;
    input.standDecimals = 3;
    input.standUnit = unit;
    input.method = QJsonDocument::fromJson(testMethodJson(reading.method)).object();
    input.settings = input.method.value(QStringLiteral("test")).toObject();
    input.results = resultsJson(curveResultsJson(analyseCurve(TestCurve{curve.forward, curve.back},
                                                              reading.method.results)),
                                reading.method.limits);
    input.quality = acquisitionQualityJson(17, 2, 1);
    input.forward = curve.forward;
    input.back = curve.back;
    const PreparedRecord prepared = buildRecord(input);
    if (appendRecord(db, prepared).outcome != AppendResult::Stored)
        return TestRecord();
    RecordFilter filter;
    filter.uuids = QStringList{prepared.uuid};
    QVector<TestRecord> records;
    QString error;
    readRecords(db, filter, records, error);
    return records.value(0);
}

void ReportTest::testReportShowsTheStoredRecord_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("expected");
    // 150 N is 15.306 kg; the limit 120 N is 12.245 kg.
    QTest::newRow("N") << 0 << QStringList{"150.000 N", "≤ 120.000 N", "102.823 N", "Force (N)"};
    QTest::newRow("kg") << 1 << QStringList{"15.306 kg", "≤ 12.245 kg", "10.492 kg", "Force (kg)"};
}

void ReportTest::testReportShowsTheStoredRecord()
{
    QFETCH(int, unit);
    QFETCH(QStringList, expected);
    const TestRecord record = store(QStringLiteral("S-0042"), unit, triangle());
    QVERIFY(!record.hash.isEmpty());

    const QString path = pdf(QStringLiteral("single-%1").arg(unit));
    QString error;
    const int pages = writeReportPdf(TestReport::single(record, {QStringLiteral("Acme Test Lab")}), path,
                                     record.uuid, error);
    QVERIFY2(pages > 0, qPrintable(error));
    QCOMPARE(pdfPageCount(path), pages);
    QCOMPARE(pages, 2);
    const QString text = pdfText(path);
    expected << QStringLiteral("Acme Test Lab") << QStringLiteral("S-0042") << QStringLiteral("Peel 25 mm")
             << QStringLiteral("300 mm/min") << QStringLiteral("FAIL") << QStringLiteral("Peak force (forward)")
             << QStringLiteral("Mean force (forward)") << QStringLiteral("Type-500") << QStringLiteral("Page 2 of 2")
             << record.uuid << record.hash;
    for (const QString &piece : expected)
        QVERIFY2(text.contains(piece), qPrintable(piece + QStringLiteral(" missing from:\n") + text));
    // The peak fails its limit and the mean passes its own, each on its row.
    QVERIFY(QRegularExpression(QStringLiteral("Peak force \\(forward\\)\\s+\\S+ \\S+\\s+≤ \\S+ \\S+\\s+fail")).match(text).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("Mean force \\(forward\\)\\s+\\S+ \\S+\\s+\\S+ … \\S+ \\S+\\s+pass")).match(text).hasMatch());
}

void ReportTest::reportInChinese()
{
    quelmarInitResources();
    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral(":/language/cn.qm")));
    QCoreApplication::installTranslator(&chinese);
    const TestRecord record = store(QStringLiteral("样品-1"), 0, triangle());
    QString error;
    const int pages = writeReportPdf(TestReport::single(record, {QStringLiteral("实验室")}), pdf(QStringLiteral("cn")),
                                     record.uuid, error);
    QCoreApplication::removeTranslator(&chinese);
    QVERIFY2(pages > 0, qPrintable(error));
    const QString text = pdfText(pdf(QStringLiteral("cn")));
    // Qt's PDF writer maps a glyph back to the lowest code point that shows it, and
    // Noto CJK draws 力 and the radical ⼒ alike: such characters read back as the
    // radical. The texts below have none of them.
    for (const char *expected : {"测试报告", "样品-1", "峰值", "（进程）", "不合格", "签字"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected) + "\n" + text));
    QVERIFY(text.contains(QStringLiteral("，共 %1 ").arg(pages)));
}

void ReportTest::batchReportHasARowPerRecord()
{
    QVector<TestRecord> records;
    for (int i = 0; i < 40; ++i)
        records.append(store(QStringLiteral("B7-%1").arg(i, 2, 10, QLatin1Char('0')), 0, triangle(0.5 + i * 0.02)));
    const QString path = pdf(QStringLiteral("batch"));
    QString error;
    const int pages = writeReportPdf(TestReport::batch(records, {QString()}), path, QString(), error);
    QVERIFY2(pages > 1, qPrintable(error));
    QCOMPARE(pdfPageCount(path), pages);
    const QString text = pdfText(path);
    for (int i = 0; i < 40; ++i)
        QCOMPARE(text.count(QStringLiteral("B7-%1").arg(i, 2, 10, QLatin1Char('0'))), 1);
    // Peaks of 75 N to 192 N: all 40 counted, the mean in the middle.
    QVERIFY2(QRegularExpression(QStringLiteral("Peak force \\(forward\\)\\s+N\\s+40\\s+133\\.500\\s+\\S+\\s+75\\.000\\s+192\\.000"))
                 .match(text).hasMatch(), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
}

void ReportTest::curveCsvReadsBack()
{
    Curve curve;
    curve.forward = {{0.1, -1.5}, {0.2, 9.8}, {0.3, 19.6}};
    curve.back = {{0.3, 9.0}, {0.1, 2.0}};  // acquisition order, not sorted
    TestRecord record = store(QStringLiteral("=1+2, \"quoted\""), 1, curve, R"({"name": "Spring"})");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeCurveCsv(buffer, record, 1));
    const QVector<QStringList> rows = readCsv(QString::fromUtf8(buffer.data()));

    // Comment lines are rows of one field; a sample with a comma and quotes stays one.
    QStringList comments;
    int at = 0;
    for (; at < rows.size() && rows[at].first().startsWith(QLatin1Char('#')); ++at) {
        QCOMPARE(rows[at].size(), 1);
        comments << rows[at].first();
    }
    for (const QString &comment : {QStringLiteral("# sample: =1+2, \"quoted\""), QStringLiteral("# method: Spring"),
                                   QStringLiteral("# stand_type: 500"), QStringLiteral("# verdict: none"),
                                   QStringLiteral("# uuid: ") + record.uuid, QStringLiteral("# forward.peak_force_N: 19.6")})
        QVERIFY2(comments.contains(comment), qPrintable(comments.join('\n')));
    QCOMPARE(rows[at], (QStringList{"stroke", "distance_mm", "force_N", "force_kg"}));
    const QVector<QStringList> points = rows.mid(at + 1);
    QCOMPARE(points.size(), 5);
    QCOMPARE(points[0], (QStringList{"forward", "0.1", "-1.5", "-0.15306123"}));
    QCOMPARE(points[2], (QStringList{"forward", "0.3", "19.6", "2"}));
    QCOMPARE(points[3], (QStringList{"return", "0.3", "9", "0.9183673"}));
    QCOMPARE(points[4], (QStringList{"return", "0.1", "2", "0.20408164"}));
}

QTEST_MAIN(ReportTest)
#include "tst_report.moc"
