#include "analysis/resultrows.h"

#include <algorithm>

namespace {

// The listed values of `member`, ascending by number, each as a row.
void appendListed(QVector<ResultRow> &rows, const QJsonObject &stroke, const char *member, ResultQuantity quantity)
{
    QStringList keys = stroke.value(QLatin1String(member)).toObject().keys();
    std::sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) { return a.toDouble() < b.toDouble(); });
    for (const QString &key : keys)
        rows.append({QLatin1String(member) + QLatin1Char('.') + key, quantity});
}

} // namespace

QVector<ResultRow> strokeResultRows(const QJsonObject &stroke)
{
    QVector<ResultRow> rows = {
        {QStringLiteral("points"), ResultQuantity::Count},
        {QStringLiteral("peak_force_N"), ResultQuantity::Force},
        {QStringLiteral("peak_distance_mm"), ResultQuantity::Distance},
        {QStringLiteral("work_mJ"), ResultQuantity::Work},
        {QStringLiteral("mean_force_N"), ResultQuantity::Force},
        {QStringLiteral("slope_N_per_mm"), ResultQuantity::Slope},
    };
    appendListed(rows, stroke, "force_at_mm", ResultQuantity::Force);
    appendListed(rows, stroke, "distance_at_N", ResultQuantity::Distance);
    rows.append({QStringLiteral("break"), ResultQuantity::Flag});
    rows.append({QStringLiteral("break_distance_mm"), ResultQuantity::Distance});
    rows.append({QStringLiteral("break_force_N"), ResultQuantity::Force});
    return rows;
}

QVector<ResultRow> curveResultRows()
{
    return {{QStringLiteral("hysteresis_mJ"), ResultQuantity::Work},
            {QStringLiteral("hysteresis_percent"), ResultQuantity::Percent}};
}
