#include "recorddatabase.h"

#include "schema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("quelmar-records-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Any constant of our own: serialises schema creation between stations on one server.
constexpr qint64 SchemaLockKey = 0x51756c6d6172;

bool exec(QSqlDatabase &db, const QString &statement, QString &error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    error = query.lastError().text();
    return false;
}

enum class Inspection { Ok, Failed, Foreign };

// The schema version of the database, 0 when it holds no Quelmar tables yet.
Inspection inspectVersion(QSqlDatabase &db, bool postgres, int &version, QString &error)
{
    bool hasVersion = false, hasRecords = false, hasOtherTables = false;
    QSqlQuery query(db);
    if (postgres) {
        if (!query.exec(QStringLiteral("SELECT to_regclass('schema_version') IS NOT NULL,"
                                       " to_regclass('test_records') IS NOT NULL"))
            || !query.next()) {
            error = query.lastError().text();
            return Inspection::Failed;
        }
        hasVersion = query.value(0).toBool();
        hasRecords = query.value(1).toBool();
    } else {
        if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
            error = query.lastError().text();
            return Inspection::Foreign;
        }
        while (query.next()) {
            const QString name = query.value(0).toString();
            hasVersion |= name == QLatin1String("schema_version");
            hasRecords |= name == QLatin1String("test_records");
            hasOtherTables |= name != QLatin1String("schema_version") && name != QLatin1String("test_records")
                              && name != QLatin1String("outbox");
        }
    }
    version = 0;
    if (!hasVersion && !hasRecords)
        return hasOtherTables ? Inspection::Foreign : Inspection::Ok;
    if (hasVersion != hasRecords)
        return Inspection::Foreign;
    if (!query.exec(QStringLiteral("SELECT version FROM schema_version")) || !query.next()) {
        error = query.lastError().text();
        return Inspection::Foreign;
    }
    bool ok = false;
    version = query.value(0).toInt(&ok);
    return ok && version > 0 && !query.next() ? Inspection::Ok : Inspection::Foreign;
}

bool isSqliteFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

} // namespace

RecordDatabase::RecordDatabase()
    : m_connectionName(nextConnectionName())
{
}

RecordDatabase::~RecordDatabase()
{
    close();
}

void RecordDatabase::close()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool RecordDatabase::fail(const QString &message, bool refused)
{
    close();
    m_error = message;
    m_refused = refused;
    return false;
}

bool RecordDatabase::open(const DatabaseUrl &url)
{
    close();
    m_url = url;
    m_error.clear();
    m_refused = false;
    if (url.engine == DatabaseUrl::Sqlite)
        return openSqlite();
    if (url.engine == DatabaseUrl::Postgres)
        return openPostgres();
    return fail(QStringLiteral("no records database given"));
}

bool RecordDatabase::openSqlite()
{
    const QFileInfo info(m_url.path);
    const QString path = info.absoluteFilePath();
    if (info.isDir())
        return fail(QStringLiteral("%1 is a folder, not a records database").arg(path), true);
    if (!info.exists()) {
        // Created here, before SQLite opens it, so that it is the owner's alone from the
        // start; SQLite gives its -wal and -shm files the same mode.
        if (!QDir().mkpath(info.absolutePath()))
            return fail(QStringLiteral("cannot create the folder %1").arg(info.absolutePath()));
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return fail(QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        if (fd >= 0)
            ::close(fd);
    } else if (info.size() > 0 && !isSqliteFile(path)) {
        return fail(QStringLiteral("%1 is not a Quelmar records database; it was left untouched").arg(path), true);
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!m_db.open())
        return fail(QStringLiteral("cannot open %1: %2").arg(path, m_db.lastError().text()));
    return prepareSchema();
}

bool RecordDatabase::openPostgres()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    m_db.setHostName(m_url.host);
    m_db.setPort(m_url.port);
    m_db.setDatabaseName(m_url.dbname);
    m_db.setUserName(m_url.user);
    // No password: libpq reads ~/.pgpass or PGPASSWORD itself. A server that cannot be
    // reached is given up on after a while, so that records go to the outbox instead.
    QString options = m_url.connectOptions();
    bool hasTimeout = false;
    for (const auto &option : m_url.options)
        hasTimeout |= option.first == QLatin1String("connect_timeout");
    if (!hasTimeout)
        options += QLatin1String(options.isEmpty() ? "" : ";") + QStringLiteral("connect_timeout=5");
    m_db.setConnectOptions(options);
    if (!m_db.open())
        return fail(QStringLiteral("cannot connect to %1: %2")
                        .arg(m_url.toDisplayString(), m_db.lastError().databaseText().trimmed()));
    return prepareSchema();
}

bool RecordDatabase::prepareSchema()
{
    const bool postgres = isPostgres();
    const QString where = m_url.toDisplayString();
    int version = 0;
    QString error;
    const auto refuseOrFail = [&](Inspection inspection) {
        if (inspection == Inspection::Foreign)
            return fail(QStringLiteral("%1 is not a Quelmar records database; it was left untouched").arg(where), true);
        return fail(QStringLiteral("cannot read the schema of %1: %2").arg(where, error));
    };
    const auto refuseNewer = [&] {
        return fail(QStringLiteral("%1 has records schema %2, newer than this program's %3; it was left untouched")
                        .arg(where).arg(version).arg(SchemaVersion), true);
    };

    Inspection inspection = inspectVersion(m_db, postgres, version, error);
    if (inspection != Inspection::Ok)
        return refuseOrFail(inspection);
    if (version > SchemaVersion)
        return refuseNewer();
    if (!postgres
        && (!exec(m_db, QStringLiteral("PRAGMA journal_mode = WAL"), error)
            || !exec(m_db, QStringLiteral("PRAGMA synchronous = FULL"), error)))
        return fail(QStringLiteral("cannot set up %1: %2").arg(where, error));
    if (version == SchemaVersion)
        return true;

    // Another station or process may be migrating at the same moment: take the
    // database's write lock first, then look again.
    const QString begin = postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    if (!exec(m_db, begin, error)
        || (postgres && !exec(m_db, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(SchemaLockKey), error)))
        return fail(QStringLiteral("cannot create the schema in %1: %2").arg(where, error));
    inspection = inspectVersion(m_db, postgres, version, error);
    if (inspection != Inspection::Ok || version > SchemaVersion) {
        exec(m_db, QStringLiteral("ROLLBACK"), error);
        return inspection != Inspection::Ok ? refuseOrFail(inspection) : refuseNewer();
    }
    for (; version < SchemaVersion; ++version) {
        QStringList statements = migrationStatements(version, postgres);
        statements << QStringLiteral("UPDATE schema_version SET version = %1").arg(version + 1);
        for (const QString &statement : statements) {
            if (!exec(m_db, statement, error)) {
                QString ignored;
                exec(m_db, QStringLiteral("ROLLBACK"), ignored);
                return fail(QStringLiteral("cannot create the schema in %1: %2").arg(where, error));
            }
        }
    }
    if (!exec(m_db, QStringLiteral("COMMIT"), error))
        return fail(QStringLiteral("cannot create the schema in %1: %2").arg(where, error));
    return true;
}
