#include "recordquery.h"

#include "recorddatabase.h"
#include "recordbuilder.h"
#include "recordformat.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

bool RecordFilter::isEmpty() const
{
    return since.isNull() && until.isNull() && method.isEmpty() && batch.isEmpty() && verdict.isEmpty()
           && search.isEmpty() && uuids.isEmpty();
}

namespace {

// The WHERE clause is made of fixed fragments chosen by which filters are set; the
// values themselves are bound.
struct Where
{
    QString sql;
    QVariantList values;

    void add(const QString &condition, const QVariantList &bound)
    {
        sql += sql.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        sql += condition;
        values += bound;
    }
};

QString likePattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

Where whereClause(const RecordFilter &filter, bool postgres)
{
    Where where;
    // Stored times are UTC text of one fixed form, so they compare as text.
    if (filter.since.isValid())
        where.add(QStringLiteral("recorded_at >= ?"), {recordTimestamp(filter.since.startOfDay())});
    if (filter.until.isValid())
        where.add(QStringLiteral("recorded_at < ?"), {recordTimestamp(filter.until.addDays(1).startOfDay())});
    if (!filter.method.isEmpty())
        where.add(QStringLiteral("method = ?"), {filter.method});
    if (!filter.batch.isEmpty())
        where.add(QStringLiteral("batch = ?"), {filter.batch});
    if (!filter.verdict.isEmpty())
        where.add(QStringLiteral("verdict = ?"), {filter.verdict});
    if (!filter.search.isEmpty()) {
        const QString pattern = likePattern(filter.search);
        where.add(postgres ? QStringLiteral("(sample ILIKE ? ESCAPE '\\' OR (record::jsonb ->> 'note') ILIKE ? ESCAPE '\\')")
                           : QStringLiteral("(lower(sample) LIKE lower(?) ESCAPE '\\'"
                                            " OR lower(json_extract(record, '$.note')) LIKE lower(?) ESCAPE '\\')"),
                  {pattern, pattern});
    }
    if (!filter.uuids.isEmpty()) {
        QStringList marks;
        QVariantList values;
        for (const QString &uuid : filter.uuids) {
            marks << QStringLiteral("?");
            values << uuid;
        }
        where.add(QStringLiteral("uuid IN (%1)").arg(marks.join(QLatin1Char(','))), values);
    }
    return where;
}

bool run(RecordDatabase &db, const QString &columns, const RecordFilter &filter, QSqlQuery &query, QString &error)
{
    const Where where = whereClause(filter, db.isPostgres());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM test_records%2 ORDER BY seq").arg(columns, where.sql));
    for (const QVariant &value : where.values)
        query.addBindValue(value);
    if (query.exec())
        return true;
    error = query.lastError().text();
    return false;
}

QJsonObject parseObject(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

// The record's stored UTF-8 bytes, without a detour through QString: faster, and
// exactly the bytes the hash covers.
QString recordBytes(RecordDatabase &db)
{
    return db.isPostgres() ? QStringLiteral("convert_to(record, 'UTF8')") : QStringLiteral("CAST(record AS BLOB)");
}

} // namespace

QJsonObject RecordSummary::recordJson() const
{
    return parseObject(record);
}

QJsonObject RecordSummary::results() const
{
    return recordJson().value(QLatin1String("results")).toObject();
}

QString RecordSummary::note() const
{
    return recordJson().value(QLatin1String("note")).toString();
}

bool listRecords(RecordDatabase &db, const RecordFilter &filter, QVector<RecordSummary> &rows, QString &error)
{
    rows.clear();
    QSqlQuery query(db.sql());
    if (!run(db, QStringLiteral("seq, uuid, recorded_at, sample, batch, operator, method, verdict, ") + recordBytes(db),
             filter, query, error))
        return false;
    while (query.next()) {
        RecordSummary row;
        row.seq = query.value(0).toLongLong();
        row.uuid = query.value(1).toString();
        row.recordedAt = query.value(2).toString();
        row.sample = query.value(3).toString();
        row.batch = query.value(4).toString();
        row.operatorName = query.value(5).toString();
        row.method = query.value(6).toString();
        row.verdict = query.value(7).toString();
        row.record = query.value(8).toByteArray();
        rows.append(row);
    }
    return true;
}

bool readRecords(RecordDatabase &db, const RecordFilter &filter, QVector<TestRecord> &records, QString &error)
{
    records.clear();
    QSqlQuery query(db.sql());
    if (!run(db, QStringLiteral("seq, uuid, recorded_at, hash, prev_hash, %1, forward, \"return\"").arg(recordBytes(db)),
             filter, query, error))
        return false;
    while (query.next()) {
        TestRecord record;
        record.seq = query.value(0).toLongLong();
        record.uuid = query.value(1).toString();
        record.recordedAt = query.value(2).toString();
        record.hash = query.value(3).toString();
        record.prevHash = query.value(4).toString();
        record.record = parseObject(query.value(5).toByteArray());
        decodePoints(query.value(6).toByteArray(), record.forward);
        decodePoints(query.value(7).toByteArray(), record.back);
        records.append(record);
    }
    return true;
}

bool listMethods(RecordDatabase &db, const RecordFilter &filter, QVector<QJsonObject> &methods, QString &error)
{
    methods.clear();
    QSqlQuery query(db.sql());
    const QString extracted = db.isPostgres() ? QStringLiteral("(record::jsonb -> 'method')::text")
                                              : QStringLiteral("json_extract(record, '$.method')");
    if (!run(db, extracted, filter, query, error))
        return false;
    QSet<QString> seen;
    while (query.next()) {
        const QString text = query.value(0).toString();
        if (seen.contains(text))
            continue;
        seen.insert(text);
        const QJsonObject method = parseObject(text.toUtf8());
        if (!method.isEmpty())
            methods.append(method);
    }
    return true;
}

ChainCheck verifyChain(RecordDatabase &db)
{
    ChainCheck check;
    QSqlQuery query(db.sql());
    if (!run(db, QStringLiteral("seq, uuid, recorded_at, sample, batch, operator, method, verdict,"
                                " %1, forward, \"return\", prev_hash, hash").arg(recordBytes(db)),
             RecordFilter(), query, check.error))
        return check;
    QString previous;
    while (query.next()) {
        const qint64 seq = query.value(0).toLongLong();
        const QByteArray json = query.value(8).toByteArray();
        const QByteArray forward = query.value(9).toByteArray();
        const QByteArray back = query.value(10).toByteArray();
        const QString prevHash = query.value(11).toString();
        PreparedRecord expected;
        const bool columnsMatch = prepareStoredRecord(json, forward, back, expected)
            && expected.uuid == query.value(1).toString() && expected.recordedAt == query.value(2).toString()
            && expected.sample == query.value(3).toString() && expected.batch == query.value(4).toString()
            && expected.operatorName == query.value(5).toString() && expected.method == query.value(6).toString()
            && expected.verdict == query.value(7).toString();
        const QString hash = query.value(12).toString();
        if (!columnsMatch || prevHash != previous || hash != recordHash(prevHash, json, forward, back)) {
            check.brokenAt = seq;
            return check;
        }
        previous = hash;
        ++check.count;
    }
    if (query.lastError().isValid()) {
        check.error = query.lastError().text();
        return check;
    }
    check.intact = true;
    return check;
}
