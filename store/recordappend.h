#pragma once

// Appending a record to the chain, and the local outbox of records waiting for a
// server. Records in test_records are never updated or deleted.

#include "recordformat.h"

#include <QVector>

class RecordDatabase;

struct AppendResult
{
    enum Outcome { Stored, AlreadyStored, Failed };
    Outcome outcome = Failed;
    qint64 seq = 0;       // where it is stored (also when it already was)
    QString error;        // the engine's message when Failed
};

// In one transaction that excludes every other writer: finds the last record, and
// stores this one after it with prev_hash = its hash. A record whose uuid is already
// stored is left as it is (AlreadyStored), so resending is safe.
AppendResult appendRecord(RecordDatabase &db, const PreparedRecord &record);

// The outbox lives in a local SQLite records file. A record is kept there, by uuid,
// until a server has stored it; its chain position is the server's, given when it is
// sent.
bool addToOutbox(RecordDatabase &db, const PreparedRecord &record, QString &error);
bool removeFromOutbox(RecordDatabase &db, const QString &uuid, QString &error);
// The waiting records in the order they were queued; -1 / false on a database error.
int outboxCount(RecordDatabase &db);
bool outboxRecords(RecordDatabase &db, int limit, QVector<PreparedRecord> &records, QString &error);
