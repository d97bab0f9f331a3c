#pragma once

// A test method: a named, versioned JSON file with the test settings, what the
// results are to compute and the limits they are judged by.
//
//   {"name": "Peel 25 mm", "version": 3,
//    "test": {"mode": "pull", "distance_mode": "relative", "speed_mm_min": 300, "distance_mm": 50.0},
//    "results": {"window_mm": [10, 40], "force_at_mm": [10, 25.5], "distance_at_N": [5],
//                "break": {"drop_percent": 50, "min_force_N": 2.0}},
//    "limits": {"forward.peak_force_N": [null, 120], "hysteresis_percent": [null, 30]}}
//
// Every member but "name" may be left out, the members of "test" each on its own.
// A file with anything else, or a value the test start dialog or the results could
// not take, is refused as a whole.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

#include "analysis/curveresults.h"
#include "analysis/verdict.h"
#include "device/curvesetting.h"

// The test settings a method gives, within the test start dialog's bounds.
struct MethodTestSettings
{
    std::optional<int> mode;          // 0 push, 1 pull
    std::optional<int> distanceMode;  // 0 relative, 1 absolute
    std::optional<int> speed;         // mm/min, 1..300
    std::optional<double> distance;   // mm, -700..700 with at most two decimals

    bool isEmpty() const { return !mode && !distanceMode && !speed && !distance; }
    // The test the method sets, what it leaves out as a test starts out
    // (DefaultCurveSetting); nothing when it sets no test.
    std::optional<Curve_Setting> setting() const;
};

struct TestMethod
{
    QString name;
    int version = 1;
    MethodTestSettings test;
    ResultParameters results;
    QVector<ResultLimit> limits;  // in the file's order, which is the order of failures
};

struct TestMethodReading
{
    TestMethod method;
    QString error;  // "FILE: MEMBER: why" when refused; empty when read
};

// `fileName` names the source in messages.
TestMethodReading parseTestMethod(const QByteArray &json, const QString &fileName);
TestMethodReading readTestMethodFile(const QString &path);

// The method as a file's text, which parseTestMethod reads back to the same method.
QByteArray testMethodJson(const TestMethod &method);
// Written beside and renamed into place; returns why it failed, empty on success.
QString saveTestMethodFile(const QString &path, const TestMethod &method);
