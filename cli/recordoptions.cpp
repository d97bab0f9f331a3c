#include "cli/recordoptions.h"

#include "analysis/resultpath.h"
#include "cli/commandline.h"

#include <cstdio>

bool RecordOptions::open(const QString &command, const QCommandLineParser &parser, RecordDatabase &db) const
{
    if (!parser.isSet(database)) {
        commandError(command, QStringLiteral("needs --database URL"));
        return false;
    }
    const DatabaseUrlParse url = parseDatabaseUrl(parser.value(database));
    if (!url.error.isEmpty()) {
        commandError(command, url.error);
        return false;
    }
    if (!url.warning.isEmpty())
        std::fprintf(stderr, "quelmar-cli %s: %s\n", qPrintable(command), qPrintable(url.warning));
    if (db.open(url.url))
        return true;
    commandError(command, db.error());
    return false;
}

std::optional<RecordFilter> RecordOptions::filter(const QString &command, const QCommandLineParser &parser) const
{
    RecordFilter filter;
    filter.batch = parser.value(batch);
    filter.method = parser.value(method);
    if (parser.isSet(since)) {
        filter.since = QDate::fromString(parser.value(since), Qt::ISODate);
        if (!filter.since.isValid()) {
            commandError(command, QStringLiteral("--since takes a date as YYYY-MM-DD"));
            return std::nullopt;
        }
    }
    return filter;
}

bool RecordOptions::list(const QString &command, const QCommandLineParser &parser, QVector<RecordSummary> &rows) const
{
    const std::optional<RecordFilter> chosen = filter(command, parser);
    RecordDatabase db;
    if (!chosen || !open(command, parser, db))
        return false;
    QString error;
    if (listRecords(db, *chosen, rows, error))
        return true;
    commandError(command, error);
    return false;
}

QVector<QMap<QString, double>> numericResults(const QVector<RecordSummary> &rows)
{
    QVector<QMap<QString, double>> values;
    values.reserve(rows.size());
    for (const RecordSummary &row : rows)
        values.append(numericResultPaths(row.results()));
    return values;
}
