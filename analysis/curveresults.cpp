#include "analysis/curveresults.h"

#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

#include "analysis/numbertext.h"

namespace {

using Points = QVector<QPointF>;

constexpr auto isFinite = [](const QPointF &point) { return std::isfinite(point.x()) && std::isfinite(point.y()); };

// Shares the points when all are finite, as they nearly always are.
Points finitePoints(const Points &points)
{
    if (std::all_of(points.cbegin(), points.cend(), isFinite))
        return points;
    Points finite;
    std::copy_if(points.cbegin(), points.cend(), std::back_inserter(finite), isFinite);
    return finite;
}

// By distance, ascending and descending.
constexpr auto nearerStart = [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); };
constexpr auto fartherOut = [](const QPointF &a, const QPointF &b) { return a.x() > b.x(); };

// The points' positions sorted by distance, stably, in linear time for points spread
// over a range: they are dealt into buckets of about four points, in time order,
// and each bucket is sorted by insertion, or by merging when it holds many.
std::vector<int> sortedByDistance(const Points &points)
{
    const int count = points.size();
    std::vector<int> order(size_t(count), 0);
    const auto nearer = [&](int a, int b) { return points[a].x() < points[b].x(); };
    // Not a structured binding: the bucket lambda below captures both, which clang 14 refuses.
    const auto extremes = std::minmax_element(points.cbegin(), points.cend(), nearerStart);
    const auto lowest = extremes.first;
    const auto highest = extremes.second;
    const int buckets = std::max(count / 4, 1);
    const double scale = (buckets - 1) / (highest->x() - lowest->x());
    if (!std::isfinite(scale)) {
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), nearer);
        return order;
    }
    const auto bucket = [&](int i) { return std::min(int((points[i].x() - lowest->x()) * scale), buckets - 1); };
    // Each bucket's start; while dealing, where its next point goes; in the end,
    // where the next bucket starts.
    std::vector<int> ends(size_t(buckets) + 1);
    for (int i = 0; i < count; ++i)
        ++ends[size_t(bucket(i)) + 1];
    std::partial_sum(ends.begin(), ends.end(), ends.begin());
    for (int i = 0; i < count; ++i)
        order[size_t(ends[size_t(bucket(i))]++)] = i;
    constexpr int FewPoints = 32;
    auto first = order.begin();
    for (int b = 0; b < buckets; ++b) {
        const auto last = order.begin() + ends[size_t(b)];
        if (last - first > FewPoints) {
            std::stable_sort(first, last, nearer);
        } else {
            for (auto i = first; i != last; ++i) {
                const int position = *i;
                auto j = i;
                for (; j != first && nearer(position, *(j - 1)); --j)
                    *j = *(j - 1);
                *j = position;
            }
        }
        first = last;
    }
    return order;
}

// Work and the force at a distance take the points in ascending distance, those at
// one distance in time order. A stroke mostly runs one way, and is then read as it
// is: forwards when it rises, and when it falls backwards one distance at a time.
// Otherwise it is read through its positions sorted by distance.
class DistanceOrder
{
public:
    explicit DistanceOrder(const Points &points)
        : points(points)
    {
        if (std::is_sorted(points.cbegin(), points.cend(), nearerStart))
            return;
        if (std::is_sorted(points.cbegin(), points.cend(), fartherOut))
            falling = true;
        else
            order = sortedByDistance(points);
    }

    double work() const
    {
        double sum = 0;
        if (!falling) {
            for (int k = 1; k < points.size(); ++k)
                sum += trapezoid(at(k - 1), at(k));
            return sum;
        }
        // Between two distances lie the last point at the nearer one and the first
        // at the farther one; a falling stroke holds the farther distance first.
        const auto distanceEnd = [&](Points::const_iterator from) {
            return std::find_if(from, points.cend(), [&](const QPointF &p) { return p.x() != from->x(); });
        };
        auto farther = points.cbegin();
        for (auto nearer = distanceEnd(farther); nearer != points.cend();) {
            const auto nearerEnd = distanceEnd(nearer);
            sum += trapezoid(*(nearerEnd - 1), *farther);
            farther = std::exchange(nearer, nearerEnd);
        }
        return sum;
    }

    // Interpolated between the last point with x <= d and the first with x >= d; at d
    // itself, the first point there.
    std::optional<double> forceAt(double d) const
    {
        if (!falling) {
            // The first point with x >= d.
            int next = 0;
            for (int span = points.size(); span > 0;) {
                const int half = span / 2;
                if (at(next + half).x() < d) {
                    next += half + 1;
                    span -= half + 1;
                } else {
                    span = half;
                }
            }
            if (next == points.size())
                return std::nullopt;
            if (at(next).x() == d)
                return at(next).y();
            if (next == 0)
                return std::nullopt;
            return interpolated(at(next - 1), at(next), d);
        }
        // The first point in time at d or nearer, and the last one farther out.
        const auto nearer = std::lower_bound(points.cbegin(), points.cend(), QPointF(d, 0), fartherOut);
        if (nearer == points.cend())
            return std::nullopt;
        if (nearer->x() == d)
            return nearer->y();
        if (nearer == points.cbegin())
            return std::nullopt;
        const auto nearerLast = std::upper_bound(nearer, points.cend(), *nearer, fartherOut) - 1;
        const auto fartherFirst = std::lower_bound(points.cbegin(), nearer, *(nearer - 1), fartherOut);
        return interpolated(*nearerLast, *fartherFirst, d);
    }

private:
    // The k-th point in ascending distance, unless the stroke falls.
    const QPointF &at(int k) const { return order.empty() ? points[k] : points[order[size_t(k)]]; }

    static double trapezoid(const QPointF &a, const QPointF &b) { return (a.y() + b.y()) / 2 * (b.x() - a.x()); }

    static double interpolated(const QPointF &before, const QPointF &after, double d)
    {
        return before.y() + (d - before.x()) / (after.x() - before.x()) * (after.y() - before.y());
    }

    const Points &points;
    bool falling = false;
    std::vector<int> order;  // empty when the stroke runs one way
};

// The first point of largest |F| in time order.
int peakIndex(const Points &points)
{
    int peak = 0;
    double largest = std::fabs(points[0].y());
    for (int i = 1; i < points.size(); ++i) {
        const double size = std::fabs(points[i].y());
        if (size > largest) {
            largest = size;
            peak = i;
        }
    }
    return peak;
}

// Mean force and least-squares slope over the points with from <= x <= to.
void fitWindow(const Points &points, const ResultParameters::Window &window, StrokeResults &results)
{
    const auto inside = [&](const QPointF &p) { return p.x() >= window.from && p.x() <= window.to; };
    int count = 0;
    double sumX = 0, sumF = 0;
    double lowestX = INFINITY, highestX = -INFINITY;
    for (const QPointF &p : points) {
        if (!inside(p))
            continue;
        ++count;
        sumX += p.x();
        sumF += p.y();
        lowestX = std::min(lowestX, p.x());
        highestX = std::max(highestX, p.x());
    }
    if (count == 0)
        return;
    const double meanX = sumX / count, meanF = sumF / count;
    results.meanForce = meanF;
    // Equal distances are tested as such: their computed mean may differ from them by
    // a rounding, which would give a spread of almost nothing and a senseless slope.
    if (count < 2 || lowestX == highestX)
        return;
    double sxx = 0, sxf = 0;
    for (const QPointF &p : points) {
        if (!inside(p))
            continue;
        sxx += (p.x() - meanX) * (p.x() - meanX);
        sxf += (p.x() - meanX) * (p.y() - meanF);
    }
    results.slope = sxf / sxx;
}

// Where |F| first reaches f in time order, interpolated on |F| from the point before.
std::optional<double> distanceAt(const Points &points, double f)
{
    const auto reached = std::find_if(points.cbegin(), points.cend(),
                                      [f](const QPointF &p) { return std::fabs(p.y()) >= f; });
    if (reached == points.cend())
        return std::nullopt;
    if (reached == points.cbegin())
        return reached->x();
    const QPointF &before = *(reached - 1);
    const double from = std::fabs(before.y()), to = std::fabs(reached->y());
    return before.x() + (f - from) / (to - from) * (reached->x() - before.x());
}

void detectBreak(const Points &points, int peak, const BreakDetection &detection, StrokeResults &results)
{
    const double peakSize = std::fabs(points[peak].y());
    if (peakSize < detection.minForce)
        return;
    const double level = peakSize * (1 - detection.dropPercent / 100);
    for (int i = peak + 1; i < points.size(); ++i) {
        if (std::fabs(points[i].y()) <= level) {
            results.broke = true;
            results.breakDistance = points[i].x();
            results.breakForce = points[i - 1].y();
            return;
        }
    }
}

QJsonValue json(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject keyedJson(const QVector<StrokeResults::Keyed> &values)
{
    QJsonObject object;
    for (const StrokeResults::Keyed &keyed : values)
        object.insert(shortestDecimal(keyed.key), json(keyed.value));
    return object;
}

QJsonObject strokeJson(const StrokeResults &stroke)
{
    return {
        {QStringLiteral("points"), stroke.points},
        {QStringLiteral("peak_force_N"), json(stroke.peakForce)},
        {QStringLiteral("peak_distance_mm"), json(stroke.peakDistance)},
        {QStringLiteral("work_mJ"), json(stroke.work)},
        {QStringLiteral("mean_force_N"), json(stroke.meanForce)},
        {QStringLiteral("slope_N_per_mm"), json(stroke.slope)},
        {QStringLiteral("force_at_mm"), keyedJson(stroke.forceAt)},
        {QStringLiteral("distance_at_N"), keyedJson(stroke.distanceAt)},
        {QStringLiteral("break"), stroke.broke},
        {QStringLiteral("break_distance_mm"), json(stroke.breakDistance)},
        {QStringLiteral("break_force_N"), json(stroke.breakForce)},
    };
}

} // namespace

StrokeResults analyseStroke(const QVector<QPointF> &measured, const ResultParameters &parameters)
{
    const Points points = finitePoints(measured);
    StrokeResults results;
    results.points = points.size();
    for (double d : parameters.forceAtDistances)
        results.forceAt.append({d, std::nullopt});
    for (double f : parameters.distanceAtForces)
        results.distanceAt.append({f, std::nullopt});
    if (points.isEmpty())
        return results;

    const int peak = peakIndex(points);
    results.peakForce = points[peak].y();
    results.peakDistance = points[peak].x();
    const DistanceOrder inDistanceOrder(points);
    results.work = inDistanceOrder.work();
    if (parameters.window)
        fitWindow(points, *parameters.window, results);
    for (StrokeResults::Keyed &keyed : results.forceAt)
        keyed.value = inDistanceOrder.forceAt(keyed.key);
    for (StrokeResults::Keyed &keyed : results.distanceAt)
        keyed.value = distanceAt(points, keyed.key);
    if (parameters.breakDetection)
        detectBreak(points, peak, *parameters.breakDetection, results);
    return results;
}

CurveResults analyseCurve(const TestCurve &curve, const ResultParameters &parameters)
{
    CurveResults results{analyseStroke(curve.forward, parameters), analyseStroke(curve.back, parameters), {}, {}};
    if (results.forward.points > 0 && results.back.points > 0) {
        const double forwardWork = *results.forward.work;
        results.hysteresis = forwardWork - *results.back.work;
        if (forwardWork != 0)
            results.hysteresisPercent = 100 * *results.hysteresis / forwardWork;
    }
    return results;
}

QJsonObject curveResultsJson(const CurveResults &results)
{
    return {
        {QStringLiteral("forward"), strokeJson(results.forward)},
        {QStringLiteral("return"), strokeJson(results.back)},
        {QStringLiteral("hysteresis_mJ"), json(results.hysteresis)},
        {QStringLiteral("hysteresis_percent"), json(results.hysteresisPercent)},
    };
}
