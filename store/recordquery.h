#pragma once

// Reading records back: the list the history window shows, whole records for charts
// and reports, and the check of the hash chain. Every filter value is bound; no SQL
// text is built from data.

#include "testrecord.h"

#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

class RecordDatabase;

struct RecordFilter
{
    QDate since, until;    // local dates, both inclusive; null for no bound
    QString method;        // method name, exact
    QString batch;         // exact
    QString verdict;       // "pass", "fail" or "none"
    QString search;        // part of the sample or the note, any case
    QStringList uuids;     // only these records; empty for all

    bool isEmpty() const;
};

// One row of the history: the searchable columns and the record JSON as stored. The
// JSON is parsed only when asked for (each call parses it again), so listing stays
// fast; a window parses the rows it shows or sorts by.
struct RecordSummary
{
    qint64 seq = 0;
    QString uuid, recordedAt, sample, batch, operatorName, method, verdict;
    QByteArray record;

    QJsonObject recordJson() const;
    QJsonObject results() const;
    QString note() const;
};

// In seq order. Return false with `error` set on a database error.
bool listRecords(RecordDatabase &db, const RecordFilter &filter, QVector<RecordSummary> &rows, QString &error);
bool readRecords(RecordDatabase &db, const RecordFilter &filter, QVector<TestRecord> &records, QString &error);
// The methods (whole objects) the selected records were judged by, each once, in the
// order of their first record; records without a method add none.
bool listMethods(RecordDatabase &db, const RecordFilter &filter, QVector<QJsonObject> &methods, QString &error);

struct ChainCheck
{
    bool intact = false;
    qint64 count = 0;     // records checked
    qint64 brokenAt = 0;  // seq of the first record whose values do not match its hash
    QString error;        // a database error; then neither intact nor broken
};

// Walks the whole table in seq order: each prev_hash must be the hash before it, each
// hash must match the stored record and points, and the searchable columns must match
// the record JSON they are taken from.
ChainCheck verifyChain(RecordDatabase &db);
