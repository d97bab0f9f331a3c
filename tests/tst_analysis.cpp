// The results of a test curve on golden curves worked out by hand, their JSON and
// the verdict.

#include <QtTest>

#include <cmath>
#include <random>

#include "analysis/curveresults.h"
#include "analysis/numbertext.h"
#include "analysis/resultpath.h"
#include "analysis/resultrows.h"
#include "analysis/runningpeak.h"
#include "analysis/verdict.h"

using Points = QVector<QPointF>;

namespace {

// The results object of `curve` (both strokes in time order) without a verdict.
QJsonObject resultsOf(const TestCurve &curve, const ResultParameters &parameters = {})
{
    return curveResultsJson(analyseCurve(curve, parameters));
}

QJsonObject forwardOf(const Points &points, const ResultParameters &parameters = {})
{
    return resultsOf({points, {}}, parameters).value(QLatin1String("forward")).toObject();
}

QJsonValue at(const QJsonObject &results, const char *path)
{
    return resultAt(results, QLatin1String(path));
}

ResultParameters windowed(double from, double to)
{
    ResultParameters parameters;
    parameters.window = ResultParameters::Window{from, to};
    return parameters;
}

ResultParameters breakAt(double dropPercent, double minForce)
{
    ResultParameters parameters;
    parameters.breakDetection = BreakDetection{dropPercent, minForce};
    return parameters;
}

} // namespace

class tst_analysis : public QObject
{
    Q_OBJECT

private slots:
    // Forward: a triangle of height 10 over 0..2 mm; return, stored the way the chart
    // keeps it, one of height 5: 10 mJ and 5 mJ of work, half of it lost.
    void triangleGivesWorkAndHysteresis()
    {
        const TestCurve curve = TestCurve::fromStoredOrder({{0, 0}, {1, 10}, {2, 0}}, {{0, 0}, {1, 5}, {2, 0}});
        QCOMPARE(curve.back, Points({{2, 0}, {1, 5}, {0, 0}}));
        const QJsonObject results = resultsOf(curve);
        QCOMPARE(at(results, "forward.work_mJ").toDouble(), 10.0);
        QCOMPARE(at(results, "return.work_mJ").toDouble(), 5.0);
        QCOMPARE(at(results, "hysteresis_mJ").toDouble(), 5.0);
        QCOMPARE(at(results, "hysteresis_percent").toDouble(), 50.0);
        QCOMPARE(at(results, "return.peak_force_N").toDouble(), 5.0);
    }

    // F = 3x + 1 on 0..10 mm.
    void lineGivesSlopeAndMeanOverTheWindow()
    {
        Points line;
        for (int x = 0; x <= 10; ++x)
            line.append({double(x), 3.0 * x + 1});
        QJsonObject stroke = forwardOf(line, windowed(2, 8));
        QCOMPARE(at(stroke, "slope_N_per_mm").toDouble(), 3.0);
        QCOMPARE(at(stroke, "mean_force_N").toDouble(), 16.0);

        // One point inside: a mean but no slope. None inside: neither.
        stroke = forwardOf(line, windowed(4.5, 5.5));
        QCOMPARE(at(stroke, "mean_force_N").toDouble(), 16.0);
        QVERIFY(at(stroke, "slope_N_per_mm").isNull());
        stroke = forwardOf(line, windowed(20, 30));
        QVERIFY(at(stroke, "mean_force_N").isNull());
        QVERIFY(at(stroke, "slope_N_per_mm").isNull());
        QVERIFY(at(forwardOf(line), "mean_force_N").isNull());

        // Three points at 0.1 mm, whose computed mean distance is not 0.1.
        stroke = forwardOf({{0.1, 1}, {0.1, 2}, {0.1, 6}}, windowed(0, 1));
        QCOMPARE(at(stroke, "mean_force_N").toDouble(), 3.0);
        QVERIFY(at(stroke, "slope_N_per_mm").isNull());
    }

    void sharpDropIsABreak()
    {
        // Peak 20 N at 3 mm; 8 N is the first point at or below half of it.
        const Points drop = {{0, 0}, {1, 5}, {2, 12}, {3, 20}, {4, 19}, {4.5, 10.5}, {5, 8}, {6, 1}};
        QJsonObject stroke = forwardOf(drop, breakAt(50, 2));
        QCOMPARE(at(stroke, "break").toBool(), true);
        QCOMPARE(at(stroke, "break_distance_mm").toDouble(), 5.0);
        QCOMPARE(at(stroke, "break_force_N").toDouble(), 10.5);

        // A drop to exactly the level counts; the point before may be the peak.
        stroke = forwardOf({{0, 0}, {1, -20}, {2, -10}}, breakAt(50, 0));
        QCOMPARE(at(stroke, "break_distance_mm").toDouble(), 2.0);
        QCOMPARE(at(stroke, "break_force_N").toDouble(), -20.0);

        for (const ResultParameters &none : {breakAt(50, 20.5), breakAt(99, 0), ResultParameters()}) {
            stroke = forwardOf(drop, none);
            QCOMPARE(at(stroke, "break").toBool(), false);
            QVERIFY(at(stroke, "break_distance_mm").isNull());
            QVERIFY(at(stroke, "break_force_N").isNull());
        }
    }

    void peakTiesGoToTheFirstInTimeOrder()
    {
        const QJsonObject stroke = forwardOf({{0, 5}, {1, -7}, {2, 7}, {3, -7}});
        QCOMPARE(at(stroke, "peak_force_N").toDouble(), -7.0);
        QCOMPARE(at(stroke, "peak_distance_mm").toDouble(), 1.0);
    }

    // Two points at 1 mm: 4 N measured first, then 6 N. In ascending distance they
    // stay in time order, whichever way the stroke ran.
    void pointsAtOneDistanceKeepTimeOrder()
    {
        ResultParameters parameters;
        parameters.forceAtDistances = {1, 2};
        const Points stored = {{0, 0}, {1, 4}, {1, 6}, {3, 0}};
        const QJsonObject rising = forwardOf(stored, parameters);
        QCOMPARE(at(rising, "work_mJ").toDouble(), 2.0 + 6.0);
        QCOMPARE(at(rising, "force_at_mm.1").toDouble(), 4.0);
        QCOMPARE(at(rising, "force_at_mm.2").toDouble(), 3.0);  // from the last point at 1 mm

        // Returning, the 6 N point was measured first.
        const QJsonObject falling = forwardOf({{3, 0}, {1, 6}, {1, 4}, {0, 0}}, parameters);
        QCOMPARE(at(falling, "work_mJ").toDouble(), 3.0 + 4.0);
        QCOMPARE(at(falling, "force_at_mm.1").toDouble(), 6.0);
        QCOMPARE(at(falling, "force_at_mm.2").toDouble(), 2.0);

        // Neither rising nor falling: sorted.
        const QJsonObject mixed = forwardOf({{1, 4}, {3, 0}, {0, 0}, {1, 6}}, parameters);
        QCOMPARE(at(mixed, "work_mJ").toDouble(), 8.0);
        QCOMPARE(at(mixed, "force_at_mm.1").toDouble(), 4.0);
    }

    // Long strokes are read in ascending distance without sorting where they run one
    // way, and sorted in buckets where they do not; each must give what the plain
    // definition gives over a stable sort.
    void longStrokesInAnyOrder_data()
    {
        QTest::addColumn<Points>("stroke");
        std::mt19937 random(7);
        Points rising, jittered, clustered;
        for (int i = 0; i < 20000; ++i) {
            // Distances to 0.1 mm, as a data file holds them: many points at each.
            const double x = std::round(i / 40.0) / 10;
            const double force = std::uniform_real_distribution<double>(-50, 50)(random);
            rising.append({x, force});
            jittered.append({x + std::uniform_int_distribution<int>(-30, 30)(random) / 10.0, force});
            // Most at two distances, the rest spread over a wide range.
            clustered.append({i % 10 == 0 ? double(random() % 100000) : double(i % 2), force});
        }
        Points falling(rising.size());
        std::reverse_copy(rising.cbegin(), rising.cend(), falling.begin());
        QTest::newRow("rising") << rising;
        QTest::newRow("falling") << falling;
        QTest::newRow("jittered") << jittered;
        QTest::newRow("clustered") << clustered;
    }

    void longStrokesInAnyOrder()
    {
        QFETCH(Points, stroke);
        Points sorted = stroke;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
        double work = 0;
        for (int i = 1; i < sorted.size(); ++i)
            work += (sorted[i - 1].y() + sorted[i].y()) / 2 * (sorted[i].x() - sorted[i - 1].x());

        ResultParameters parameters;
        parameters.forceAtDistances = {sorted[0].x(), sorted[sorted.size() / 3].x(), sorted.last().x(),
                                       (sorted[100].x() + sorted[101].x()) / 2 + 0.01};
        const QJsonObject results = forwardOf(stroke, parameters);
        QCOMPARE(at(results, "work_mJ").toDouble(), work);
        for (double d : parameters.forceAtDistances) {
            const auto next = std::find_if(sorted.cbegin(), sorted.cend(), [d](const QPointF &p) { return p.x() >= d; });
            const double expected = next->x() == d
                ? next->y()
                : (next - 1)->y() + (d - (next - 1)->x()) / (next->x() - (next - 1)->x()) * (next->y() - (next - 1)->y());
            QCOMPARE(resultAt(results, "force_at_mm." + shortestDecimal(d)).toDouble(), expected);
        }
    }

    // While a test runs its peak is followed a few points at a time.
    void runningPeakIsTheStrokesPeak()
    {
        std::mt19937 random(3);
        Points stroke;
        RunningPeak running;
        for (int look = 0; look < 50; ++look) {
            for (int i = random() % 40; i > 0; --i)  // ties and spoiled points among them
                stroke.append({double(stroke.size()), i % 17 == 0 ? NAN : double(int(random() % 21) - 10)});
            running.follow(stroke);
            const QJsonObject results = forwardOf(stroke);
            QCOMPARE(running.points(), at(results, "points").toInt());
            QCOMPARE(running.peak().has_value(), stroke.size() > 0);
            if (running.peak()) {
                QCOMPARE(running.peak()->y(), at(results, "peak_force_N").toDouble());
                QCOMPARE(running.peak()->x(), at(results, "peak_distance_mm").toDouble());
            }
        }
        running.follow({{0, 1}});  // a new test
        QCOMPARE(running.points(), 1);
        QCOMPARE(running.peak()->y(), 1.0);
    }

    void distancesAndForcesOutsideTheData()
    {
        ResultParameters parameters;
        parameters.forceAtDistances = {-0.5, 0, 25.5, 30, 30.5};
        parameters.distanceAtForces = {0, 6, 12, 13};
        // A pull: forces grow negative.
        const QJsonObject stroke = forwardOf({{0, 0}, {10, -4}, {20, -8}, {30, -12}}, parameters);
        QVERIFY(at(stroke, "force_at_mm.-0.5").isNull());
        QCOMPARE(at(stroke, "force_at_mm.0").toDouble(), 0.0);
        QCOMPARE(at(stroke, "force_at_mm.25.5").toDouble(), -10.2);
        QCOMPARE(at(stroke, "force_at_mm.30").toDouble(), -12.0);
        QVERIFY(at(stroke, "force_at_mm.30.5").isNull());
        QCOMPARE(at(stroke, "distance_at_N.0").toDouble(), 0.0);
        QCOMPARE(at(stroke, "distance_at_N.6").toDouble(), 15.0);
        QCOMPARE(at(stroke, "distance_at_N.12").toDouble(), 30.0);
        QVERIFY(at(stroke, "distance_at_N.13").isNull());
    }

    void emptyAndOnePointStrokes()
    {
        ResultParameters parameters = windowed(0, 10);
        parameters.forceAtDistances = {5, 4};
        parameters.distanceAtForces = {7, 8};
        parameters.breakDetection = BreakDetection{50, 0};

        const QJsonObject empty = forwardOf({}, parameters);
        QCOMPARE(empty.value(QLatin1String("points")).toInt(-1), 0);
        QCOMPARE(empty.value(QLatin1String("break")).toBool(true), false);
        QCOMPARE(empty.value(QLatin1String("force_at_mm")).toObject().keys(), QStringList({"4", "5"}));
        QCOMPARE(numericResultPaths(empty).keys(), QStringList({"points"}));

        const QJsonObject one = forwardOf({{5, 7}}, parameters);
        QCOMPARE(numericResultPaths(one),
                 (QMap<QString, double>{{"points", 1}, {"peak_force_N", 7}, {"peak_distance_mm", 5}, {"work_mJ", 0},
                                        {"mean_force_N", 7}, {"force_at_mm.5", 7}, {"distance_at_N.7", 5}}));

        // The hysteresis needs both strokes, and its share a forward work.
        QJsonObject curve = resultsOf({{{5, 7}}, {}});
        QVERIFY(at(curve, "hysteresis_mJ").isNull());
        QVERIFY(at(curve, "hysteresis_percent").isNull());
        curve = resultsOf({{{5, 7}}, {{0, 1}, {2, 1}}});
        QCOMPARE(at(curve, "hysteresis_mJ").toDouble(), -2.0);
        QVERIFY(at(curve, "hysteresis_percent").isNull());
    }

    void unmeasurablePointsAreLeftOut()
    {
        const QJsonObject stroke = forwardOf({{0, 1}, {NAN, 50}, {1, INFINITY}, {2, 3}});
        QCOMPARE(at(stroke, "points").toInt(), 2);
        QCOMPARE(at(stroke, "peak_force_N").toDouble(), 3.0);
        QCOMPARE(at(stroke, "work_mJ").toDouble(), 4.0);
    }

    // The exact text other programs read: every key, nulls, shortest doubles.
    void jsonTextIsCanonical()
    {
        ResultParameters parameters;
        parameters.forceAtDistances = {0.5};
        const QJsonObject results = resultsJson(resultsOf({{{0, 0.1}, {1, 0.2}}, {}}, parameters), {});
        QCOMPARE(QJsonDocument(results).toJson(QJsonDocument::Compact),
                 QByteArray("{\"failed\":[],"
                            "\"forward\":{\"break\":false,\"break_distance_mm\":null,\"break_force_N\":null,"
                            "\"distance_at_N\":{},\"force_at_mm\":{\"0.5\":0.15000000000000002},"
                            "\"mean_force_N\":null,\"peak_distance_mm\":1,\"peak_force_N\":0.2,\"points\":2,"
                            "\"slope_N_per_mm\":null,\"work_mJ\":0.15000000000000002},"
                            "\"hysteresis_mJ\":null,\"hysteresis_percent\":null,"
                            "\"return\":{\"break\":false,\"break_distance_mm\":null,\"break_force_N\":null,"
                            "\"distance_at_N\":{},\"force_at_mm\":{\"0.5\":null},\"mean_force_N\":null,"
                            "\"peak_distance_mm\":null,\"peak_force_N\":null,\"points\":0,"
                            "\"slope_N_per_mm\":null,\"work_mJ\":null},"
                            "\"verdict\":\"none\"}"));
    }

    void verdictNamesFailuresInTheLimitsOrder()
    {
        ResultParameters parameters;
        parameters.forceAtDistances = {1.5};
        const QJsonObject results = resultsOf(TestCurve::fromStoredOrder({{0, 0}, {1, 10}, {2, 0}}, {}), parameters);
        QCOMPARE(judge(results, {}).verdict, QStringLiteral("none"));

        const Verdict pass = judge(results, {{"forward.peak_force_N", 10, 10}, {"forward.force_at_mm.1.5", {}, 5}});
        QCOMPARE(pass.verdict, QStringLiteral("pass"));
        QVERIFY(pass.failed.isEmpty());

        const Verdict fail = judge(results, {{"forward.work_mJ", 10.5, {}},
                                             {"forward.points", 3, 3},
                                             {"return.peak_force_N", {}, {}},  // a null result meets no limit
                                             {"forward.peak_force_N", {}, 9.99}});
        QCOMPARE(fail.verdict, QStringLiteral("fail"));
        QCOMPARE(fail.failed, QStringList({"forward.work_mJ", "return.peak_force_N", "forward.peak_force_N"}));
    }

    // Listings, limits and the window name results by these rows.
    void everyResultHasOneRow()
    {
        ResultParameters parameters;
        parameters.forceAtDistances = {25.5, 10};
        parameters.distanceAtForces = {5};
        const QJsonObject results = resultsOf({{{0, 1}, {1, 2}}, {}}, parameters);
        QStringList rows, leaves;
        for (const char *stroke : {"forward", "return"}) {
            for (const ResultRow &row : strokeResultRows(results.value(stroke).toObject()))
                rows.append(QLatin1String(stroke) + '.' + row.path);
        }
        for (const ResultRow &row : curveResultRows())
            rows.append(row.path);
        const std::function<void(const QJsonObject &, const QString &)> collect = [&](const QJsonObject &object,
                                                                                      const QString &prefix) {
            for (auto member = object.begin(); member != object.end(); ++member) {
                if (member->isObject())
                    collect(member->toObject(), prefix + member.key() + '.');
                else
                    leaves.append(prefix + member.key());
            }
        };
        collect(results, QString());
        for (const QString &path : rows)
            QVERIFY2(resultQuantity(path), qPrintable(path));
        QCOMPARE(rows.size(), leaves.size());
        rows.sort();
        leaves.sort();
        QCOMPARE(rows, leaves);
        QVERIFY(!resultQuantity("forward.force_at_mm"));
        QCOMPARE(*resultQuantity("return.force_at_mm.25.5"), ResultQuantity::Force);
    }

    void resultPathsMayHoldPoints()
    {
        const QJsonObject results{{"forward", QJsonObject{{"force_at_mm", QJsonObject{{"25.5", 3.0}, {"25", 2.0}}},
                                                          {"break", false}}}};
        QCOMPARE(resultAt(results, "forward.force_at_mm.25.5"), QJsonValue(3.0));
        QCOMPARE(resultAt(results, "forward.force_at_mm.25"), QJsonValue(2.0));
        QVERIFY(resultAt(results, "forward.force_at_mm.25.").isUndefined());
        QVERIFY(resultAt(results, "forward.force_at_mm").isObject());
        QVERIFY(resultAt(results, "forward").isObject());
        QVERIFY(resultAt(results, "return.break").isUndefined());
        QCOMPARE(numericResultPaths(results).keys(), QStringList({"forward.force_at_mm.25", "forward.force_at_mm.25.5"}));
    }
};

QTEST_APPLESS_MAIN(tst_analysis)
#include "tst_analysis.moc"
