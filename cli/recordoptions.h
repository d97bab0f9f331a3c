#pragma once

// The options quelmar-cli's record commands share: the database and the filters.

#include "store/recorddatabase.h"
#include "store/recordquery.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

struct RecordOptions
{
    QCommandLineOption database{QStringLiteral("database"),
                                QStringLiteral("The records database: sqlite:PATH or postgresql://user@host:port/dbname "
                                               "(a password comes from ~/.pgpass or PGPASSWORD)."),
                                QStringLiteral("URL")};
    QCommandLineOption batch{QStringLiteral("batch"), QStringLiteral("Only records of this batch."), QStringLiteral("B")};
    QCommandLineOption method{QStringLiteral("method"), QStringLiteral("Only records of the method of this name."),
                              QStringLiteral("NAME")};
    QCommandLineOption since{QStringLiteral("since"), QStringLiteral("Only records from this local date on."),
                             QStringLiteral("YYYY-MM-DD")};

    // --database and the filters.
    void addTo(QCommandLineParser &parser) const { parser.addOptions({database, batch, method, since}); }

    // Opens the database --database names; on failure reports it and returns false
    // (the command then exits with CliError).
    bool open(const QString &command, const QCommandLineParser &parser, RecordDatabase &db) const;
    // The filters given; nothing (and the error reported) for a date that is not one.
    std::optional<RecordFilter> filter(const QString &command, const QCommandLineParser &parser) const;
    // The records the options choose, in seq order; false when that failed (reported).
    bool list(const QString &command, const QCommandLineParser &parser, QVector<RecordSummary> &rows) const;
};

// Each record's numeric results by path (`forward.peak_force_N`).
QVector<QMap<QString, double>> numericResults(const QVector<RecordSummary> &rows);
