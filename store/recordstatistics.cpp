#include "recordstatistics.h"

#include <QJsonArray>
#include <QJsonValue>
#include <algorithm>
#include <cmath>

QMap<QString, ResultStatistics> resultStatistics(const QVector<QMap<QString, double>> &values,
                                                 const QMap<QString, ResultLimits> &limits)
{
    QMap<QString, QVector<double>> byPath;
    for (const auto &record : values)
        for (auto it = record.cbegin(); it != record.cend(); ++it)
            byPath[it.key()].append(it.value());

    QMap<QString, ResultStatistics> result;
    for (auto it = byPath.cbegin(); it != byPath.cend(); ++it) {
        const QVector<double> &x = it.value();
        ResultStatistics s;
        s.n = x.size();
        double sum = 0;
        for (double v : x)
            sum += v;
        s.mean = sum / s.n;
        s.min = *std::min_element(x.cbegin(), x.cend());
        s.max = *std::max_element(x.cbegin(), x.cend());
        if (s.n >= 2) {
            // Two passes: the squares of the deviations, not of the values, so a large
            // common offset costs no precision.
            double squares = 0;
            for (double v : x)
                squares += (v - s.mean) * (v - s.mean);
            s.sd = std::sqrt(squares / (s.n - 1));
            if (s.mean != 0)
                s.cvPercent = 100 * *s.sd / std::fabs(s.mean);
            const ResultLimits limit = limits.value(it.key());
            if (limit.lower && limit.upper && *s.sd > 0)
                s.cpk = std::min(*limit.upper - s.mean, s.mean - *limit.lower) / (3 * *s.sd);
        }
        result.insert(it.key(), s);
    }
    return result;
}

QMap<QString, ResultLimits> methodLimits(const QJsonObject &method)
{
    QMap<QString, ResultLimits> limits;
    const QJsonObject all = method.value(QLatin1String("limits")).toObject();
    for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
        const QJsonArray pair = it.value().toArray();
        ResultLimits limit;
        if (pair.size() == 2) {
            if (pair.at(0).isDouble())
                limit.lower = pair.at(0).toDouble();
            if (pair.at(1).isDouble())
                limit.upper = pair.at(1).toDouble();
        }
        limits.insert(it.key(), limit);
    }
    return limits;
}

QMap<QString, ResultLimits> commonLimits(const QVector<QJsonObject> &methods)
{
    if (methods.isEmpty())
        return {};
    QMap<QString, ResultLimits> common = methodLimits(methods.first());
    for (int i = 1; i < methods.size() && !common.isEmpty(); ++i) {
        const QMap<QString, ResultLimits> other = methodLimits(methods.at(i));
        for (auto it = common.begin(); it != common.end();) {
            if (other.contains(it.key()) && other.value(it.key()) == it.value())
                ++it;
            else
                it = common.erase(it);
        }
    }
    return common;
}

QJsonObject statisticsJson(const ResultStatistics &s)
{
    const auto optional = [](const std::optional<double> &v) { return v ? QJsonValue(*v) : QJsonValue(); };
    return {{QStringLiteral("n"), s.n},
            {QStringLiteral("mean"), s.mean},
            {QStringLiteral("sd"), optional(s.sd)},
            {QStringLiteral("min"), s.min},
            {QStringLiteral("max"), s.max},
            {QStringLiteral("cv_percent"), optional(s.cvPercent)}};
}
