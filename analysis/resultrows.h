#pragma once

// The order in which results are listed to a reader, and what each measures, so
// the window can convert it into the unit it shows and a listing can label it.

#include <QJsonObject>
#include <QString>
#include <QVector>
#include <optional>

enum class ResultQuantity { Count, Force, Distance, Work, Slope, Flag, Percent };

struct ResultRow
{
    QString path;  // within a stroke's object ("force_at_mm.10"), or of the whole curve
    ResultQuantity quantity;
};

// A stroke's results, its listed distances and forces in ascending order.
QVector<ResultRow> strokeResultRows(const QJsonObject &stroke);
// The results of the whole curve.
QVector<ResultRow> curveResultRows();

// What the result at a whole path ("forward.force_at_mm.10") measures; nothing for a
// path no result has.
std::optional<ResultQuantity> resultQuantity(const QString &path);

// The results a limit may bound for a method with these listed distances and forces,
// in listing order: every number of both strokes, then the curve's.
QStringList limitablePaths(const QVector<double> &forceAtDistances, const QVector<double> &distanceAtForces);
