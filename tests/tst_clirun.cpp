// quelmar-cli run, report and curve as a script runs them: a whole test on the
// simulated stand, in-process and as quelmar-standsim through --port, the record it
// stores, the files it writes, its exit status and output, and what happens on errors
// and on SIGTERM in the middle of a test.

#include <QtTest>
#include <QJsonArray>
#include <QJsonDocument>

#include <csignal>

#include "tests/csvreader.h"
#include "tests/pdftext.h"

namespace {

struct Result
{
    int status = -1;
    QByteArray out, err;
};

Result cli(const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess process;
    process.start(QStringLiteral(QUELMAR_CLI), arguments);
    Result result;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// Out 3 mm and back at 300 mm/min on the simulated stand, whose 500 N specimen
// takes 50 N/mm after 1 mm of slack: a peak of about 100 N.
QByteArray method(const QString &peakLimits)
{
    return QStringLiteral(R"({"name": "Short push", "version": 2,
        "test": {"mode": "push", "distance_mode": "relative", "speed_mm_min": 300, "distance_mm": 3},
        "limits": {"forward.peak_force_N": %1}})")
        .arg(peakLimits)
        .toUtf8();
}

// A line at 1 Mbaud ends acquisition (200 empty reads) within a second.
const QStringList FastLine{QStringLiteral("--stand-option"), QStringLiteral("baud=1000000")};

} // namespace

class CliRunTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runStoresTheTestAndWritesItsFiles_data();
    void runStoresTheTestAndWritesItsFiles();
    void runThroughPortToStandsim();
    void errorsExitWithStatusTwo_data();
    void errorsExitWithStatusTwo();
    void terminationStopsTheTest();
    void batchReportOfTheRuns();

private:
    QString file(const QString &name) const { return dir.filePath(name); }
    QString database() const { return QStringLiteral("sqlite:") + file(QStringLiteral("runs.sqlite")); }
    QString writeMethod(const QString &name, const QByteArray &json);

    QTemporaryDir dir;
    QStringList storedUuids;
};

void CliRunTest::initTestCase()
{
    // The window's settings (the lab's name) stay out of the test.
    qputenv("XDG_CONFIG_HOME", file(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", file(QStringLiteral("data")).toUtf8());
}

QString CliRunTest::writeMethod(const QString &name, const QByteArray &json)
{
    QFile method(file(name));
    if (!method.open(QIODevice::WriteOnly) || method.write(json) != json.size())
        return QString();
    return method.fileName();
}

void CliRunTest::runStoresTheTestAndWritesItsFiles_data()
{
    QTest::addColumn<QString>("limits");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("pass") << "[10, 400]" << 0 << "pass";
    QTest::newRow("fail") << "[null, 20]" << 1 << "fail";
}

void CliRunTest::runStoresTheTestAndWritesItsFiles()
{
    QFETCH(QString, limits);
    QFETCH(int, status);
    QFETCH(QString, verdict);
    const QString methodPath = writeMethod(verdict + QStringLiteral(".json"), method(limits));
    const QString pdf = file(verdict + QStringLiteral(".pdf"));
    const QString csv = file(verdict + QStringLiteral(".csv"));
    const Result run = cli(QStringList{"run", "--simulated", "--method", methodPath, "--sample", "S-" + verdict,
                                       "--batch", "B-cli", "--operator", "script", "--database", database(),
                                       "--pdf", pdf, "--csv", csv, "--json"}
                           + FastLine);
    QVERIFY2(run.status == status, run.err.constData());

    const QJsonObject results = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(results.value("verdict").toString(), verdict);
    const QString uuid = results.value("uuid").toString();
    QCOMPARE(uuid.size(), 36);
    QVERIFY(results.value("forward").toObject().value("points").toInt() > 10);
    QVERIFY(results.value("return").toObject().value("points").toInt() > 10);
    storedUuids << uuid;

    // Stored, and the chain holds.
    const Result verify = cli({"verify", "--database", database()});
    QCOMPARE(verify.status, 0);
    QVERIFY(verify.out.contains("chain intact"));
    const QJsonArray listed = QJsonDocument::fromJson(cli({"list", "--database", database(), "--json"}).out).array();
    QCOMPARE(listed.last().toObject().value("uuid").toString(), uuid);
    QCOMPARE(listed.last().toObject().value("verdict").toString(), verdict);

    QFile csvFile(csv);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    const QVector<QStringList> rows = readCsv(QString::fromUtf8(csvFile.readAll()));
    QVERIFY(rows.contains(QStringList{"# uuid: " + uuid}));
    QVERIFY(rows.contains(QStringList{"stroke", "distance_mm", "force_N"}));
    QCOMPARE(rows.last().first(), QStringLiteral("return"));

    QCOMPARE(pdfPageCount(pdf), 2);
    const QString text = pdfText(pdf);
    for (const QString &expected : {uuid, "S-" + verdict, verdict.toUpper()})
        QVERIFY2(text.contains(expected), qPrintable(expected));

    // The same files again from the database alone.
    QCOMPARE(cli({"report", "--database", database(), "--uuid", uuid, "--pdf", file("again.pdf")}).status, 0);
    QVERIFY(pdfText(file("again.pdf")).contains(uuid));
    QCOMPARE(cli({"curve", "--database", database(), "--uuid", uuid, "--csv", file("again.csv")}).status, 0);
    QFile again(file("again.csv"));
    QVERIFY(again.open(QIODevice::ReadOnly));
    csvFile.seek(0);
    QCOMPARE(again.readAll(), csvFile.readAll());
}

void CliRunTest::runThroughPortToStandsim()
{
    const QString link = file(QStringLiteral("stand"));
    QProcess standsim;
    standsim.start(QStringLiteral(QUELMAR_STANDSIM), {"--link", link, "--baud", "1000000"});
    QVERIFY(standsim.waitForReadyRead(10000));
    const Result run = cli({"run", "--port", link, "--method", writeMethod("port.json", method("[10, 400]")),
                            "--sample", "S-port", "--database", database()});
    standsim.terminate();
    QVERIFY(standsim.waitForFinished(10000));
    QVERIFY2(run.status == 0, run.err.constData());
    QVERIFY(run.out.contains("Verdict: PASS"));
    QVERIFY(run.out.contains("Record: "));
}

void CliRunTest::errorsExitWithStatusTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QFile foreign(file(QStringLiteral("foreign.sqlite")));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a database\n");
    foreign.close();
    const QString good = writeMethod(QStringLiteral("good.json"), method(QStringLiteral("[10, 400]")));
    const QString bad = writeMethod(QStringLiteral("bad.json"), R"({"name": "x", "colour": "red"})");
    QTest::newRow("bad method") << QStringList{"--simulated", "--method", bad, "--database", database()} << "colour";
    QTest::newRow("database refused") << QStringList{"--simulated", "--method", good, "--database", "sqlite:" + foreign.fileName()}
                                      << "foreign.sqlite";
    QTest::newRow("no answer") << QStringList{"--simulated", "--stand-option", "fault=silent", "--method", good,
                                              "--database", database()}
                               << "no answer";
    QTest::newRow("bad stand option") << QStringList{"--simulated", "--stand-option", "type=many", "--method", good,
                                                     "--database", database()}
                                      << "--type";
}

void CliRunTest::errorsExitWithStatusTwo()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Result run = cli(QStringList{"run", "--sample", "S-x"} + arguments);
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
}

void CliRunTest::terminationStopsTheTest()
{
    const int before = QJsonDocument::fromJson(cli({"list", "--database", database(), "--json"}).out).array().size();
    // 50 mm at 100 mm/min would take a minute out and back.
    const QString slow = writeMethod(QStringLiteral("slow.json"), R"({"name": "Slow",
        "test": {"mode": "push", "distance_mode": "relative", "speed_mm_min": 100, "distance_mm": 50}})");
    QProcess run;
    run.start(QStringLiteral(QUELMAR_CLI), QStringList{"run", "--simulated", "--method", slow, "--sample", "S-term",
                                                       "--database", database()}
                                               + FastLine);
    QVERIFY(run.waitForStarted());
    QTest::qWait(2000);
    QElapsedTimer clock;
    clock.start();
    ::kill(run.processId(), SIGTERM);
    QVERIFY(run.waitForFinished(10000));
    QVERIFY(clock.elapsed() < 3000);
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 2);
    QVERIFY(run.readAllStandardOutput().isEmpty());
    QVERIFY(run.readAllStandardError().contains("stop"));
    QCOMPARE(QJsonDocument::fromJson(cli({"list", "--database", database(), "--json"}).out).array().size(), before);
}

void CliRunTest::batchReportOfTheRuns()
{
    const Result report = cli({"report", "--database", database(), "--batch", "B-cli", "--pdf", file("batch.pdf")});
    QVERIFY2(report.status == 0, report.err.constData());
    const QString text = pdfText(file("batch.pdf"));
    QVERIFY(text.contains("S-pass") && text.contains("S-fail"));
    QVERIFY(!text.contains("S-port"));  // another batch
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pdfPageCount(file("batch.pdf")))));
}

QTEST_GUILESS_MAIN(CliRunTest)
#include "tst_clirun.moc"
