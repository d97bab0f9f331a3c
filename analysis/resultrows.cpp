#include "analysis/resultrows.h"

#include <algorithm>

#include "analysis/numbertext.h"

namespace {

struct FixedRow
{
    const char *path;
    ResultQuantity quantity;
};

// A stroke's results before and after its listed distances and forces.
constexpr FixedRow Leading[] = {
    {"points", ResultQuantity::Count},          {"peak_force_N", ResultQuantity::Force},
    {"peak_distance_mm", ResultQuantity::Distance}, {"work_mJ", ResultQuantity::Work},
    {"mean_force_N", ResultQuantity::Force},    {"slope_N_per_mm", ResultQuantity::Slope},
};
constexpr FixedRow Trailing[] = {
    {"break", ResultQuantity::Flag},
    {"break_distance_mm", ResultQuantity::Distance},
    {"break_force_N", ResultQuantity::Force},
};
constexpr FixedRow Listed[] = {{"force_at_mm", ResultQuantity::Force}, {"distance_at_N", ResultQuantity::Distance}};
constexpr FixedRow Whole[] = {{"hysteresis_mJ", ResultQuantity::Work}, {"hysteresis_percent", ResultQuantity::Percent}};

template<size_t N>
void append(QVector<ResultRow> &rows, const FixedRow (&fixed)[N])
{
    for (const FixedRow &row : fixed)
        rows.append({QLatin1String(row.path), row.quantity});
}

template<size_t N>
std::optional<ResultQuantity> quantityIn(const FixedRow (&fixed)[N], const QString &path)
{
    for (const FixedRow &row : fixed) {
        if (path == QLatin1String(row.path))
            return row.quantity;
    }
    return std::nullopt;
}

} // namespace

QVector<ResultRow> strokeResultRows(const QJsonObject &stroke)
{
    QVector<ResultRow> rows;
    append(rows, Leading);
    for (const FixedRow &listed : Listed) {
        QStringList keys = stroke.value(QLatin1String(listed.path)).toObject().keys();
        std::sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) { return a.toDouble() < b.toDouble(); });
        for (const QString &key : keys)
            rows.append({QLatin1String(listed.path) + QLatin1Char('.') + key, listed.quantity});
    }
    append(rows, Trailing);
    return rows;
}

QVector<ResultRow> curveResultRows()
{
    QVector<ResultRow> rows;
    append(rows, Whole);
    return rows;
}

std::optional<ResultQuantity> resultQuantity(const QString &path)
{
    if (!path.startsWith(QLatin1String("forward.")) && !path.startsWith(QLatin1String("return.")))
        return quantityIn(Whole, path);
    const QString inStroke = path.section(QLatin1Char('.'), 1);
    if (const auto leading = quantityIn(Leading, inStroke))
        return leading;
    if (const auto trailing = quantityIn(Trailing, inStroke))
        return trailing;
    for (const FixedRow &listed : Listed) {
        if (inStroke.startsWith(QLatin1String(listed.path) + QLatin1Char('.')))
            return listed.quantity;
    }
    return std::nullopt;
}

QStringList limitablePaths(const QVector<double> &forceAtDistances, const QVector<double> &distanceAtForces)
{
    QStringList paths;
    const auto listed = [](const QVector<double> &values) {
        QJsonObject keys;
        for (double value : values)
            keys.insert(shortestDecimal(value), QJsonValue::Null);
        return keys;
    };
    const QJsonObject stroke{{QStringLiteral("force_at_mm"), listed(forceAtDistances)},
                             {QStringLiteral("distance_at_N"), listed(distanceAtForces)}};
    for (const char *strokeName : {"forward.", "return."}) {
        for (const ResultRow &row : strokeResultRows(stroke)) {
            if (row.quantity != ResultQuantity::Flag)
                paths.append(QLatin1String(strokeName) + row.path);
        }
    }
    for (const ResultRow &row : curveResultRows())
        paths.append(row.path);
    return paths;
}
