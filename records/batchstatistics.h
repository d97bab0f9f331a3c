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
