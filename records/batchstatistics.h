#pragma once

#include <QJsonObject>
#include <QMap>
#include <QVector>

#include "store/recordquery.h"
#include "store/recordstatistics.h"

// The statistics of every numeric result over `records`, with Cpk where every
// record's method sets both limits alike; `methods` are the methods of these records
// (see listMethods). A record judged by no method leaves every result without Cpk.
QMap<QString, ResultStatistics> batchStatistics(const QVector<RecordSummary> &records,
                                                QVector<QJsonObject> methods);
// The same over records read whole, each judged by the method it keeps.
QMap<QString, ResultStatistics> batchStatistics(const QVector<TestRecord> &records);

// The results worth a column: the forward stroke's peak force and work, then each
// result one of `methods` sets limits on.
QStringList mainResultPaths(const QVector<QJsonObject> &methods);
