#pragma once

// The results of a test curve. Forces in N, distances in mm, work in mJ (N·mm), all
// in double precision. Each is defined for every input, the degenerate ones
// included; std::nullopt is a result that does not exist (null in JSON).

#include <QJsonObject>
#include <QVector>
#include <optional>

#include "analysis/testcurve.h"

// Break: the force falls by `dropPercent` % of the peak after a peak of at least
// `minForce` N (in absolute value).
struct BreakDetection
{
    double dropPercent = 0;
    double minForce = 0;
};

// What a test method asks to be computed beyond the fixed results.
struct ResultParameters
{
    struct Window
    {
        double from = 0;
        double to = 0;
    };
    std::optional<Window> window;            // mm: mean force and slope over from <= x <= to
    QVector<double> forceAtDistances;        // mm
    QVector<double> distanceAtForces;        // N, reached in absolute value
    std::optional<BreakDetection> breakDetection;
};

struct StrokeResults
{
    struct Keyed
    {
        double key;
        std::optional<double> value;
    };

    int points = 0;
    std::optional<double> peakForce;     // largest |F|, sign kept; the first such in time order
    std::optional<double> peakDistance;
    std::optional<double> work;          // trapezoids over ascending distance, ties in time order
    std::optional<double> meanForce;     // over the window
    std::optional<double> slope;         // least squares over the window, N/mm
    QVector<Keyed> forceAt;              // one per listed distance, interpolated in distance
    QVector<Keyed> distanceAt;           // one per listed force, first reached in time order
    bool broke = false;
    std::optional<double> breakDistance;  // where |F| first fell to the break level after the peak
    std::optional<double> breakForce;     // the force of the point before that one
};

struct CurveResults
{
    StrokeResults forward;
    StrokeResults back;
    std::optional<double> hysteresis;         // forward work - return work, mJ
    std::optional<double> hysteresisPercent;  // of the forward work
};

// Points whose distance or force is not a finite number are no measurement and are
// left out of every result, `points` included.
StrokeResults analyseStroke(const QVector<QPointF> &points, const ResultParameters &parameters);
CurveResults analyseCurve(const TestCurve &curve, const ResultParameters &parameters);

// The results as the JSON object shared by quelmar-cli, the window and records,
// without the verdict: "forward" and "return" with every stroke key, listed
// distances and forces keyed by shortestDecimal, and the hysteresis.
QJsonObject curveResultsJson(const CurveResults &results);
