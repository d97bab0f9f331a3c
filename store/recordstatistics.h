#pragma once

// Statistics of a set of records, per numeric result (shared by the statistics view
// and `quelmar-cli stats`).

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVector>
#include <optional>

struct ResultStatistics
{
    int n = 0;
    double mean = 0, min = 0, max = 0;
    std::optional<double> sd;         // sample standard deviation; none for n < 2
    std::optional<double> cvPercent;  // 100 sd / |mean|; none without sd or when mean is 0
    std::optional<double> cpk;        // none unless both limits are known and sd > 0
};

// Lower and upper limit of one result; either may be absent.
struct ResultLimits
{
    std::optional<double> lower, upper;
    bool operator==(const ResultLimits &other) const { return lower == other.lower && upper == other.upper; }
};

// `values` holds, per record, its numeric results by path (`forward.peak_force_N`); a
// path counts over the records that have it. Cpk is given for paths with both limits.
QMap<QString, ResultStatistics> resultStatistics(const QVector<QMap<QString, double>> &values,
                                                 const QMap<QString, ResultLimits> &limits = {});

// The limits of a method object ("limits": {"path": [min, max]}, null for no bound).
QMap<QString, ResultLimits> methodLimits(const QJsonObject &method);

// The limits that every one of `methods` sets alike; a path whose limits differ
// between the methods, or that one of them leaves unlimited, has none.
QMap<QString, ResultLimits> commonLimits(const QVector<QJsonObject> &methods);

// {"n", "mean", "sd", "min", "max", "cv_percent"} with null where a value is absent.
QJsonObject statisticsJson(const ResultStatistics &statistics);
