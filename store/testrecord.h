#pragma once

// One stored test as read back from the records database. The history window, the
// reports and quelmar-cli all take records in this form.

#include <QJsonObject>
#include <QPointF>
#include <QString>
#include <QVector>

struct TestRecord
{
    qint64 seq = 0;       // position in recording order, from 1
    QString uuid;         // 8-4-4-4-12 lower-case hex, no braces
    QString recordedAt;   // ISO 8601 UTC with milliseconds and Z
    QString hash;         // lower-case hex SHA-256 of prevHash, record, forward, return
    QString prevHash;     // hash of the record before in seq order; empty for the first
    // The record JSON: uuid, recorded_at, source ("test"/"file"), sample, batch,
    // operator, note, station, stand {type, decimals, unit}, method, settings,
    // results, quality.
    QJsonObject record;
    // Both strokes in acquisition order: x = distance mm, y = force N.
    QVector<QPointF> forward, back;
};
