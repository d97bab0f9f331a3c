#pragma once

// Where records are kept: `sqlite:PATH` for a local file, or a PostgreSQL server as a
// libpq connection URI, `postgresql://user@host:port/dbname`, also with query
// parameters such as `?host=/socket/dir` or `?sslmode=require`.
//
// A password is never taken from a URL: libpq finds it in ~/.pgpass or PGPASSWORD, as
// PostgreSQL's own clients do. One given in the URL is dropped with a warning, so that
// no URL the program shows, logs or keeps carries it.

#include <QList>
#include <QPair>
#include <QString>

struct DatabaseUrl
{
    enum Engine { None, Sqlite, Postgres };

    Engine engine = None;
    QString path;      // Sqlite: the file, as given
    // Postgres: empty fields are left to libpq's defaults (PGHOST, the OS user, ...).
    QString user;
    QString host;      // a name, an address, or a socket directory (begins with '/')
    int port = -1;
    QString dbname;
    QList<QPair<QString, QString>> options;  // other libpq keywords, in URL order

    bool isValid() const { return engine != None; }
    // The URL in its canonical form, without any password; safe to show and keep.
    QString toDisplayString() const;
    // The options as Qt's PostgreSQL driver passes them to libpq ("k=v;k=v").
    QString connectOptions() const;
};

struct DatabaseUrlParse
{
    DatabaseUrl url;
    QString error;    // why the text is not a database URL; empty when it is
    QString warning;  // e.g. a password that was dropped
};

DatabaseUrlParse parseDatabaseUrl(const QString &text);

// The local records file: records.sqlite in the user's data folder
// (~/.local/share/quelmar/records.sqlite). Also the outbox for a server.
DatabaseUrl defaultRecordsDatabase();
