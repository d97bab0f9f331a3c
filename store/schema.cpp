#include "schema.h"

QStringList migrationStatements(int fromVersion, bool postgres)
{
    if (fromVersion != 0)
        return {};
    const QString integer = postgres ? QStringLiteral("bigint") : QStringLiteral("integer");
    const QString blob = postgres ? QStringLiteral("bytea") : QStringLiteral("blob");
    QStringList statements{
        QStringLiteral("CREATE TABLE schema_version (version integer NOT NULL)"),
        QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"),
        QStringLiteral("CREATE TABLE test_records ("
                       " seq %1 PRIMARY KEY,"
                       " uuid text NOT NULL UNIQUE,"
                       " recorded_at text NOT NULL,"
                       " sample text NOT NULL,"
                       " batch text NOT NULL,"
                       " operator text NOT NULL,"
                       " method text NOT NULL,"
                       " verdict text NOT NULL CHECK (verdict IN ('pass', 'fail', 'none')),"
                       " record text NOT NULL,"
                       " forward %2 NOT NULL,"
                       " \"return\" %2 NOT NULL,"
                       " prev_hash text NOT NULL,"
                       " hash text NOT NULL)").arg(integer, blob),
        QStringLiteral("CREATE INDEX test_records_recorded_at ON test_records (recorded_at)"),
        QStringLiteral("CREATE INDEX test_records_batch ON test_records (batch)"),
        QStringLiteral("CREATE INDEX test_records_method ON test_records (method)"),
    };
    if (!postgres)
        statements << QStringLiteral("CREATE TABLE outbox ("
                                     " id integer PRIMARY KEY,"
                                     " uuid text NOT NULL UNIQUE,"
                                     " record text NOT NULL,"
                                     " forward blob NOT NULL,"
                                     " \"return\" blob NOT NULL)");
    return statements;
}
