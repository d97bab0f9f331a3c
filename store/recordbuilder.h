#pragma once

// Builds the record of one test (or one data file) in the form the database keeps.

#include "recordformat.h"

#include <QDateTime>
#include <QJsonObject>
#include <QPointF>
#include <QString>
#include <QVector>

struct RecordInput
{
    QString source = QStringLiteral("test");  // "test" or "file"
    QString sample, batch, operatorName, note;
    int standType = 0;
    int standDecimals = 0;
    int standUnit = 0;        // 0 N, 1 kg, 2 lb: the unit shown when the test ran
    QJsonObject method;       // the whole method as used; empty without one
    QJsonObject settings;     // the test settings as used
    QJsonObject results;      // as `quelmar-cli analyse --json` prints them
    QJsonObject quality;      // see acquisitionQualityJson(); empty for a file
    QVector<QPointF> forward, back;  // N and mm, acquisition (or file) order

    // Filled in by buildRecord() when left empty.
    QString uuid;
    QDateTime recordedAt;
    QString station;
};

// {"curve_reads", "failed_reads", "dropped_points"}: curve blocks read, reads that
// failed, and points left out because they were not finite numbers.
QJsonObject acquisitionQualityJson(int curveReads, int failedReads, int droppedPoints);

// A new uuid (lower case, no braces), the time now in UTC and the host name where the
// input leaves them empty.
QJsonObject recordJson(const RecordInput &input);
PreparedRecord buildRecord(const RecordInput &input);

QString newRecordUuid();
// ISO 8601 UTC with milliseconds and Z.
QString recordTimestamp(const QDateTime &time);
