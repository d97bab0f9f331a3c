#pragma once

// A connection to a records database, for the thread that creates it (Qt SQL
// connections belong to one thread). Opening checks the schema: creates it in an
// empty database, migrates an older one forward in one transaction, and refuses,
// without writing anything, a database that is not Quelmar's or has a newer schema.
//
// A new SQLite file is created readable and writable by its owner only, in WAL mode.

#include "databaseurl.h"

#include <QSqlDatabase>
#include <QString>

class RecordDatabase
{
public:
    // The schema this program writes. A database at a higher version is refused.
    static constexpr int SchemaVersion = 1;

    RecordDatabase();
    ~RecordDatabase();
    RecordDatabase(const RecordDatabase &) = delete;
    RecordDatabase &operator=(const RecordDatabase &) = delete;

    // Returns false with error() set; the connection is then closed. A refused
    // database (foreign or newer) also sets refused().
    bool open(const DatabaseUrl &url);
    void close();

    bool isOpen() const { return m_db.isOpen(); }
    bool refused() const { return m_refused; }
    QString error() const { return m_error; }
    const DatabaseUrl &url() const { return m_url; }
    bool isPostgres() const { return m_url.engine == DatabaseUrl::Postgres; }
    QSqlDatabase &sql() { return m_db; }

private:
    bool openSqlite();
    bool openPostgres();
    bool prepareSchema();
    bool fail(const QString &message, bool refused = false);

    QString m_connectionName;
    QSqlDatabase m_db;
    DatabaseUrl m_url;
    QString m_error;
    bool m_refused = false;
};
