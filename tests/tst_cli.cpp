// quelmar-cli run as a script would run it, on real files: output, exit status and
// where its messages go.

#include "clirun.h"

#include <QtTest>

namespace {

QString written(const QTemporaryDir &dir, const char *name, const QByteArray &content)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return file.fileName();
}

// A triangle of 10 N forward, 5 N back over 0..2 mm; 0.1 N is not exact in single
// precision, which the file's values pass through.
const QByteArray Triangle = "Data Forward:\n0.0,0\n1.0,10\n2.0,0.1\nData Return:\n0.0,0\n1.0,5\n2.0,0\n";

} // namespace

class tst_cli : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void analyseJsonAndVerdicts()
    {
        const QString data = written(dir, "tri.txt", Triangle);
        Run run = cli({"analyse", data, "--json"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.endsWith("}\n") && run.out.count('\n') == 1);
        const QJsonObject results = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(results.value("verdict").toString(), QStringLiteral("none"));
        QCOMPARE(results.value("forward").toObject().value("peak_force_N").toDouble(), 10.0);
        QCOMPARE(results.value("return").toObject().value("work_mJ").toDouble(), 5.0);
        QVERIFY(run.out.contains("\"break_force_N\":null"));
        QVERIFY(run.out.contains("\"work_mJ\":10.050000000745058"));  // (10 + 0.1f) / 2 + 5

        const QString passing = written(dir, "pass.json", R"({"name": "Tri", "limits": {"forward.peak_force_N": [9, 11]}})");
        QCOMPARE(cli({"analyse", "--method", passing, data, "--json"}).status, 0);

        const QString failing = written(dir, "fail.json", R"({"name": "Tri", "results": {"force_at_mm": [3]},
            "limits": {"return.peak_force_N": [6, null], "hysteresis_mJ": [null, 10], "forward.force_at_mm.3": [0, 1]}})");
        run = cli({"analyse", data, "--method", failing, "--json"});
        QCOMPARE(run.status, 1);
        const QJsonObject failed = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(failed.value("verdict").toString(), QStringLiteral("fail"));
        QCOMPARE(failed.value("failed").toArray(), QJsonArray({"return.peak_force_N", "forward.force_at_mm.3"}));

        // Without --json, a listing for a reader.
        run = cli({"analyse", data, "--method", failing});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains("Method: Tri, version 1\n"), run.out);
        QVERIFY2(run.out.contains("\nVerdict: FAIL (return.peak_force_N, forward.force_at_mm.3)\n"), run.out);
        QVERIFY(run.err.isEmpty());
    }

    // An error is status 2 with a message on standard error and nothing else.
    void errorsPrintNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no command") << QStringList() << QByteArray("Usage:");
        QTest::newRow("unknown command") << QStringList{"analyze"} << QByteArray("analyze");
        QTest::newRow("no file") << QStringList{"analyse", "--json"} << QByteArray("one data file");
        QTest::newRow("two files") << QStringList{"analyse", "@tri.txt", "@tri.txt"} << QByteArray("one data file");
        QTest::newRow("unknown option") << QStringList{"analyse", "@tri.txt", "--jsn"} << QByteArray("jsn");
        QTest::newRow("missing file") << QStringList{"analyse", "@none.txt"} << QByteArray("none.txt");
        QTest::newRow("no test data") << QStringList{"analyse", "@notes.txt"} << QByteArray("holds no test data");
        QTest::newRow("headers only") << QStringList{"analyse", "@empty.txt"} << QByteArray("holds no test data");
        QTest::newRow("missing method") << QStringList{"analyse", "@tri.txt", "--method", "@none.json"}
                                        << QByteArray("none.json");
        QTest::newRow("bad method") << QStringList{"analyse", "@tri.txt", "--method", "@bad.json"}
                                    << QByteArray("bad.json: test.speed_mm_min: ");
    }

    void errorsPrintNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        written(dir, "tri.txt", Triangle);
        written(dir, "notes.txt", "a shopping list\n");
        written(dir, "empty.txt", "Data Forward:\nData Return:\n");
        written(dir, "bad.json", R"({"name": "Fast", "test": {"speed_mm_min": 500}})");
        for (QString &arg : args) {
            if (arg.startsWith('@'))
                arg = dir.filePath(arg.mid(1));
        }
        const Run run = cli(args);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains(message), run.err);
    }

    void helpListsCommands()
    {
        Run run = cli({"--help"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("\n  analyse "));
        run = cli({"analyse", "--help"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith("Usage: quelmar-cli analyse [--method METHOD.json] [--json] FILE\n"), run.out);
        QVERIFY(run.out.contains("--method <METHOD.json>"));
        QCOMPARE(cli({"--version"}).out, QByteArray("quelmar-cli " QUELMAR_DISPLAY_VERSION "\n"));
    }

private:
    QTemporaryDir dir;
};

QTEST_GUILESS_MAIN(tst_cli)
#include "tst_cli.moc"
