#pragma once

// Results are named by paths into the results object: "forward.peak_force_N",
// "return.force_at_mm.25.5", "hysteresis_mJ". A member name may itself hold a
// point (the listed value 25.5), so a path is matched against the member names
// rather than split at every point.

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>

// The value at `path`; Undefined when no result has that path.
QJsonValue resultAt(const QJsonObject &results, const QString &path);

// Every result that is a number, by path. Null results, flags and texts are left out.
QMap<QString, double> numericResultPaths(const QJsonObject &results);
