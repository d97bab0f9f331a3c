#pragma once

// The stored form of a record: the columns other tools search on, the canonical
// record JSON, the points as little-endian float32 pairs (distance mm, force N), and
// the chain hash that makes any later change to a stored value visible.

#include <QByteArray>
#include <QJsonObject>
#include <QPointF>
#include <QString>
#include <QVector>

struct PreparedRecord
{
    QString uuid;
    QString recordedAt;
    QString sample, batch, operatorName, method, verdict;
    QByteArray record;   // canonical JSON, UTF-8
    QByteArray forward;  // float32 pairs
    QByteArray back;
};

// Compact JSON with sorted keys, shortest round-trip numbers and unescaped UTF-8.
QByteArray canonicalJson(const QJsonObject &object);

QByteArray encodePoints(const QVector<QPointF> &points);
// Returns false (and no points) when the length is not a whole number of pairs.
bool decodePoints(const QByteArray &blob, QVector<QPointF> &points);

// Lower-case hex SHA-256 of prevHash, record, forward and back, concatenated; empty
// when it could not be computed (out of memory).
QString recordHash(const QString &prevHash, const QByteArray &record,
                   const QByteArray &forward, const QByteArray &back);

// The columns are taken from the record JSON: sample, batch, operator, method.name and
// results.verdict ("none" unless it is "pass" or "fail").
PreparedRecord prepareRecord(const QJsonObject &record, const QVector<QPointF> &forward,
                             const QVector<QPointF> &back);
// The same for a record already in stored form (an outbox entry). Returns false when
// the JSON is not an object with a uuid.
bool prepareStoredRecord(const QByteArray &record, const QByteArray &forward,
                         const QByteArray &back, PreparedRecord &prepared);
