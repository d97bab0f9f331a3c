#include "recordappend.h"

#include "recorddatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

AppendResult failed(QSqlDatabase &db, const QSqlQuery &query)
{
    AppendResult result;
    result.error = query.lastError().text();
    if (db.isOpen())
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return result;
}

// An empty QString or QByteArray binds as NULL; the columns hold empty values instead.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QVariant blob(const QByteArray &value)
{
    return value.isNull() ? QVariant(QByteArray("", 0)) : QVariant(value);
}

} // namespace

AppendResult appendRecord(RecordDatabase &database, const PreparedRecord &record)
{
    QSqlDatabase &db = database.sql();
    QSqlQuery query(db);
    // SQLite: IMMEDIATE takes the file's write lock before the last hash is read.
    // PostgreSQL: EXCLUSIVE still lets readers in, but no other writer until commit.
    const bool begun = database.isPostgres()
        ? query.exec(QStringLiteral("BEGIN")) && query.exec(QStringLiteral("LOCK TABLE test_records IN EXCLUSIVE MODE"))
        : query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!begun)
        return failed(db, query);

    AppendResult result;
    query.prepare(QStringLiteral("SELECT seq FROM test_records WHERE uuid = ?"));
    query.addBindValue(record.uuid);
    if (!query.exec())
        return failed(db, query);
    if (query.next()) {
        result.outcome = AppendResult::AlreadyStored;
        result.seq = query.value(0).toLongLong();
        query.finish();
        if (!query.exec(QStringLiteral("ROLLBACK")))
            return failed(db, query);
        return result;
    }
    qint64 seq = 1;
    QString prevHash;
    if (!query.exec(QStringLiteral("SELECT seq, hash FROM test_records ORDER BY seq DESC LIMIT 1")))
        return failed(db, query);
    if (query.next()) {
        seq = query.value(0).toLongLong() + 1;
        prevHash = query.value(1).toString();
    }
    query.finish();

    const QString hash = recordHash(prevHash, record.record, record.forward, record.back);
    if (hash.isEmpty()) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        AppendResult result;
        result.error = QStringLiteral("the record's hash could not be computed");
        return result;
    }
    query.prepare(QStringLiteral("INSERT INTO test_records (seq, uuid, recorded_at, sample, batch, operator,"
                                 " method, verdict, record, forward, \"return\", prev_hash, hash)"
                                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &value : {QVariant(seq), text(record.uuid), text(record.recordedAt), text(record.sample),
                                  text(record.batch), text(record.operatorName), text(record.method),
                                  text(record.verdict), text(QString::fromUtf8(record.record)),
                                  blob(record.forward), blob(record.back), text(prevHash), text(hash)})
        query.addBindValue(value);
    if (!query.exec() || !query.exec(QStringLiteral("COMMIT")))
        return failed(db, query);
    result.outcome = AppendResult::Stored;
    result.seq = seq;
    return result;
}

bool addToOutbox(RecordDatabase &database, const PreparedRecord &record, QString &error)
{
    QSqlQuery query(database.sql());
    query.prepare(QStringLiteral("INSERT INTO outbox (uuid, record, forward, \"return\") VALUES (?, ?, ?, ?)"
                                 " ON CONFLICT (uuid) DO NOTHING"));
    query.addBindValue(record.uuid);
    query.addBindValue(QString::fromUtf8(record.record));
    query.addBindValue(blob(record.forward));
    query.addBindValue(blob(record.back));
    if (query.exec())
        return true;
    error = query.lastError().text();
    return false;
}

bool removeFromOutbox(RecordDatabase &database, const QString &uuid, QString &error)
{
    QSqlQuery query(database.sql());
    query.prepare(QStringLiteral("DELETE FROM outbox WHERE uuid = ?"));
    query.addBindValue(uuid);
    if (query.exec())
        return true;
    error = query.lastError().text();
    return false;
}

int outboxCount(RecordDatabase &database)
{
    QSqlQuery query(database.sql());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM outbox")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool outboxRecords(RecordDatabase &database, int limit, QVector<PreparedRecord> &records, QString &error)
{
    records.clear();
    QSqlQuery query(database.sql());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT record, forward, \"return\" FROM outbox ORDER BY id LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec()) {
        error = query.lastError().text();
        return false;
    }
    while (query.next()) {
        PreparedRecord record;
        if (prepareStoredRecord(query.value(0).toString().toUtf8(), query.value(1).toByteArray(),
                                query.value(2).toByteArray(), record))
            records.append(record);
    }
    return true;
}
