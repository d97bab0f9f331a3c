#pragma once

// The peak of a stroke while its test still runs, found among the points added
// since the last look only: a test of a million points is followed at no cost
// that grows with it. The same peak as analyseStroke's.

#include <QPointF>
#include <QVector>
#include <optional>

class RunningPeak
{
public:
    // `points` in time order, those seen before unchanged. A shorter stroke than
    // before is a new one.
    void follow(const QVector<QPointF> &points);

    int points() const { return counted; }
    std::optional<QPointF> peak() const { return largest; }

private:
    int seen = 0;
    int counted = 0;
    std::optional<QPointF> largest;
};
