// Test method files: what is read from a good one, what refuses a bad one, and
// writing one back.

#include <QtTest>

#include "analysis/testmethod.h"

namespace {

const QByteArray Peel = R"({"name": "Peel 25 mm", "version": 3,
 "test": {"mode": "pull", "distance_mode": "relative", "speed_mm_min": 300, "distance_mm": 50.0},
 "results": {"window_mm": [10, 40], "force_at_mm": [10, 25.5], "distance_at_N": [5],
             "break": {"drop_percent": 50, "min_force_N": 2.0}},
 "limits": {"hysteresis_percent": [null, 30], "forward.peak_force_N": [null, 120],
            "return.force_at_mm.25.5": [1.5, null], "forward.mean_force_N": [40, 60]}})";

// A named method with one more member.
QByteArray peelWith(const char *member)
{
    return R"({"name": "Peel", )" + QByteArray(member) + "}";
}

// One that lists a distance, with these limits.
QByteArray limitedBy(const char *limits)
{
    return R"({"name": "Peel", "results": {"force_at_mm": [10]}, "limits": {)" + QByteArray(limits) + "}}";
}

bool sameLimits(const QVector<ResultLimit> &a, const QVector<ResultLimit> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ResultLimit &x, const ResultLimit &y) {
        return x.path == y.path && x.min == y.min && x.max == y.max;
    });
}

} // namespace

class tst_testmethod : public QObject
{
    Q_OBJECT

private slots:
    void goodMethodIsReadWhole()
    {
        const TestMethodReading reading = parseTestMethod(Peel, "peel.json");
        QCOMPARE(reading.error, QString());
        const TestMethod &method = reading.method;
        QCOMPARE(method.name, QStringLiteral("Peel 25 mm"));
        QCOMPARE(method.version, 3);
        const Curve_Setting setting = *method.test.setting();
        QCOMPARE(setting.mode, 1);
        QCOMPARE(setting.distanceMode, 0);
        QCOMPARE(setting.speed, 300);
        QCOMPARE(setting.distance, 50.0f);
        QCOMPARE(method.results.window->from, 10.0);
        QCOMPARE(method.results.window->to, 40.0);
        QCOMPARE(method.results.forceAtDistances, QVector<double>({10, 25.5}));
        QCOMPARE(method.results.breakDetection->dropPercent, 50.0);
        QCOMPARE(method.results.breakDetection->minForce, 2.0);
        // In the file's order, which is the order failures are named in.
        QVERIFY(sameLimits(method.limits, {{"hysteresis_percent", {}, 30},
                                           {"forward.peak_force_N", {}, 120},
                                           {"return.force_at_mm.25.5", 1.5, {}},
                                           {"forward.mean_force_N", 40, 60}}));

        // Only a name: no test, nothing beyond the fixed results, no verdict.
        const TestMethod bare = parseTestMethod(R"({"name": "Bare"})", "bare.json").method;
        QVERIFY(!bare.test.setting());
        QVERIFY(!bare.results.window && !bare.results.breakDetection && bare.limits.isEmpty());
        // What a method leaves out of its test is as a test starts out.
        const TestMethod fast = parseTestMethod(R"({"name": "Fast", "test": {"speed_mm_min": 250}})", "").method;
        QCOMPARE(fast.test.setting()->speed, 250);
        QCOMPARE(fast.test.setting()->distance, DefaultCurveSetting.distance);
    }

    void testSettingsWithinTheStartDialogsBounds_data()
    {
        QTest::addColumn<QByteArray>("test");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("speed 1") << QByteArray(R"("speed_mm_min": 1)") << true;
        QTest::newRow("speed 300.0") << QByteArray(R"("speed_mm_min": 300.0)") << true;
        QTest::newRow("speed 0") << QByteArray(R"("speed_mm_min": 0)") << false;
        QTest::newRow("speed 301") << QByteArray(R"("speed_mm_min": 301)") << false;
        QTest::newRow("speed 150.5") << QByteArray(R"("speed_mm_min": 150.5)") << false;
        QTest::newRow("distance 700") << QByteArray(R"("distance_mm": 700)") << true;
        QTest::newRow("distance -699.99") << QByteArray(R"("distance_mm": -699.99)") << true;
        QTest::newRow("distance 0.29") << QByteArray(R"("distance_mm": 0.29)") << true;
        QTest::newRow("distance 700.01") << QByteArray(R"("distance_mm": 700.01)") << false;
        QTest::newRow("distance -700.5") << QByteArray(R"("distance_mm": -700.5)") << false;
        QTest::newRow("distance 12.345") << QByteArray(R"("distance_mm": 12.345)") << false;
        QTest::newRow("mode pull") << QByteArray(R"("mode": "pull")") << true;
        QTest::newRow("mode PUSH") << QByteArray(R"("mode": "PUSH")") << false;
        QTest::newRow("mode 0") << QByteArray(R"("mode": 0)") << false;
        QTest::newRow("distance_mode absolute") << QByteArray(R"("distance_mode": "absolute")") << true;
        QTest::newRow("distance_mode abs") << QByteArray(R"("distance_mode": "abs")") << false;
    }

    void testSettingsWithinTheStartDialogsBounds()
    {
        QFETCH(QByteArray, test);
        QFETCH(bool, accepted);
        const QString error = parseTestMethod(peelWith(R"("test": {)" + test + "}"), "m.json").error;
        QCOMPARE(error.isEmpty(), accepted);
        if (!accepted)
            QVERIFY2(error.startsWith("m.json: test." + test.mid(1, test.indexOf('"', 1) - 1) + ": "), qPrintable(error));
    }

    // Each refusal names the file and the member at fault.
    void badMethodsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("member");
        QTest::newRow("not JSON") << QByteArray(R"({"name": "Peel",)") << "not valid JSON";
        QTest::newRow("not an object") << QByteArray(R"(["Peel"])") << "not a JSON object";
        QTest::newRow("no name") << QByteArray(R"({"version": 1})") << "name";
        QTest::newRow("blank name") << QByteArray(R"({"name": " "})") << "name";
        QTest::newRow("unknown member") << peelWith(R"("colour": "red")") << "colour";
        QTest::newRow("unknown test member") << peelWith(R"("test": {"force": 1})") << "test.force";
        QTest::newRow("version text") << peelWith(R"("version": "3")") << "version";
        QTest::newRow("version 0") << peelWith(R"("version": 0)") << "version";
        QTest::newRow("test a list") << peelWith(R"("test": [])") << "test";
        QTest::newRow("window reversed") << peelWith(R"("results": {"window_mm": [40, 10]})") << "results.window_mm";
        QTest::newRow("window of one") << peelWith(R"("results": {"window_mm": [10]})") << "results.window_mm";
        QTest::newRow("distances as text") << peelWith(R"("results": {"force_at_mm": "10"})") << "results.force_at_mm";
        QTest::newRow("forces with null") << peelWith(R"("results": {"distance_at_N": [5, null]})") << "results.distance_at_N";
        QTest::newRow("break without drop") << peelWith(R"("results": {"break": {"min_force_N": 1}})") << "results.break.drop_percent";
        QTest::newRow("break drop 0") << peelWith(R"("results": {"break": {"drop_percent": 0}})") << "results.break.drop_percent";
        QTest::newRow("break drop 101") << peelWith(R"("results": {"break": {"drop_percent": 101}})") << "results.break.drop_percent";
        QTest::newRow("break below 0 N") << peelWith(R"("results": {"break": {"drop_percent": 5, "min_force_N": -1}})") << "results.break.min_force_N";
        QTest::newRow("limit on nothing") << limitedBy(R"("forward.peak": [1, 2])") << "limits.forward.peak";
        QTest::newRow("limit on an unlisted distance") << limitedBy(R"("forward.force_at_mm.11": [1, 2])") << "limits.forward.force_at_mm.11";
        QTest::newRow("limit on a distance written otherwise") << limitedBy(R"("forward.force_at_mm.10.0": [1, 2])") << "limits.forward.force_at_mm.10.0";
        QTest::newRow("limit on a flag") << limitedBy(R"("return.break": [1, 2])") << "limits.return.break";
        QTest::newRow("limit of one bound") << limitedBy(R"("hysteresis_mJ": [1])") << "limits.hysteresis_mJ";
        QTest::newRow("limit with text") << limitedBy(R"("hysteresis_mJ": ["1", null])") << "limits.hysteresis_mJ";
        QTest::newRow("limit reversed") << limitedBy(R"("hysteresis_mJ": [2, 1])") << "limits.hysteresis_mJ";
        QTest::newRow("name twice") << QByteArray(R"({"name": "A", "name": "B"})") << "name";
        QTest::newRow("limit twice") << limitedBy(R"("hysteresis_mJ": [1, 2], "hysteresis_mJ": [null, 3])") << "limits.hysteresis_mJ";
    }

    void badMethodsAreRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, member);
        const TestMethodReading reading = parseTestMethod(json, "peel.json");
        QVERIFY2(reading.error.startsWith("peel.json: " + member), qPrintable(reading.error));
        QVERIFY(reading.method.name.isEmpty());
    }

    void writtenMethodReadsBackTheSame()
    {
        TestMethod method = parseTestMethod(Peel, "peel.json").method;
        method.name = QStringLiteral("Zug \"25\" mm, 拉伸");
        method.test.distance = -0.29;
        method.results.distanceAtForces = {0.1, 1e-7};
        const QByteArray text = testMethodJson(method);
        const TestMethodReading reading = parseTestMethod(text, "written.json");
        QVERIFY2(reading.error.isEmpty(), qPrintable(reading.error + "\n" + text));
        const TestMethod &back = reading.method;
        QCOMPARE(back.name, method.name);
        QCOMPARE(back.version, 3);
        QCOMPARE(back.test.distance, std::optional<double>(-0.29));
        QCOMPARE(back.test.mode, std::optional<int>(1));
        QCOMPARE(back.results.distanceAtForces, method.results.distanceAtForces);
        QCOMPARE(back.results.breakDetection->minForce, 2.0);
        QVERIFY(sameLimits(back.limits, method.limits));
    }

    void filesAreNamedInRefusals()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("peel.json");
        QVERIFY(saveTestMethodFile(path, parseTestMethod(Peel, "").method).isEmpty());
        QCOMPARE(readTestMethodFile(path).method.name, QStringLiteral("Peel 25 mm"));
        QVERIFY(readTestMethodFile(dir.filePath("none.json")).error.startsWith(dir.filePath("none.json") + ": "));
        QVERIFY(readTestMethodFile(dir.path()).error.startsWith(dir.path() + ": "));
    }
};

QTEST_APPLESS_MAIN(tst_testmethod)
#include "tst_testmethod.moc"
