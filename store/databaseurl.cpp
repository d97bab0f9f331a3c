#include "databaseurl.h"

#include <QStandardPaths>
#include <QUrl>

namespace {

QString decode(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

QString encode(const QString &part, const QByteArray &keep = {})
{
    return QString::fromUtf8(QUrl::toPercentEncoding(part, keep));
}

// libpq keywords that name the connection itself; everything else is an option.
bool takeConnectionKeyword(DatabaseUrl &url, const QString &key, const QString &value,
                           QString &error)
{
    if (key == QLatin1String("host"))
        url.host = value;
    else if (key == QLatin1String("user"))
        url.user = value;
    else if (key == QLatin1String("dbname"))
        url.dbname = value;
    else if (key == QLatin1String("port")) {
        bool ok = false;
        url.port = value.toInt(&ok);
        if (!ok || url.port <= 0 || url.port > 65535)
            error = QStringLiteral("port \"%1\" is not a port number").arg(value);
    } else
        return false;
    return true;
}

DatabaseUrlParse parsePostgres(const QString &text, int schemeLength)
{
    DatabaseUrlParse parse;
    DatabaseUrl &url = parse.url;
    QString rest = text.mid(schemeLength);
    QString query;
    const int queryAt = rest.indexOf(QLatin1Char('?'));
    if (queryAt >= 0) {
        query = rest.mid(queryAt + 1);
        rest.truncate(queryAt);
    }
    const int pathAt = rest.indexOf(QLatin1Char('/'));
    QString authority = pathAt >= 0 ? rest.left(pathAt) : rest;
    if (pathAt >= 0)
        url.dbname = decode(rest.mid(pathAt + 1));

    bool droppedPassword = false;
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const int colon = userInfo.indexOf(QLatin1Char(':'));
        url.user = decode(colon >= 0 ? userInfo.left(colon) : userInfo);
        droppedPassword = colon >= 0;
    }
    // host, host:port, [v6]:port; a socket directory comes percent-encoded or as ?host=.
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const int close = authority.indexOf(QLatin1Char(']'));
        if (close < 0) {
            parse.error = QStringLiteral("unclosed '[' in the host");
            return parse;
        }
        url.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (after.startsWith(QLatin1Char(':')))
            portText = after.mid(1);
        else if (!after.isEmpty()) {
            parse.error = QStringLiteral("unexpected \"%1\" after the host").arg(after);
            return parse;
        }
    } else {
        const int colon = authority.lastIndexOf(QLatin1Char(':'));
        url.host = decode(colon >= 0 ? authority.left(colon) : authority);
        if (colon >= 0)
            portText = authority.mid(colon + 1);
    }
    if (!portText.isEmpty() && !takeConnectionKeyword(url, QStringLiteral("port"), portText, parse.error))
        return parse;
    if (!parse.error.isEmpty())
        return parse;

    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        const QString key = decode(eq >= 0 ? pair.left(eq) : pair);
        const QString value = eq >= 0 ? decode(pair.mid(eq + 1)) : QString();
        if (key == QLatin1String("password")) {
            droppedPassword = true;
            continue;
        }
        if (takeConnectionKeyword(url, key, value, parse.error)) {
            if (!parse.error.isEmpty())
                return parse;
            continue;
        }
        // Qt joins the options with ';', so a value cannot hold one.
        if (key.isEmpty() || value.contains(QLatin1Char(';'))) {
            parse.error = QStringLiteral("parameter \"%1\" cannot be passed on").arg(pair);
            return parse;
        }
        url.options.append({key, value});
    }
    if (droppedPassword)
        parse.warning = QStringLiteral("the password in the database URL was ignored; libpq takes it from ~/.pgpass or PGPASSWORD");
    url.engine = DatabaseUrl::Postgres;
    return parse;
}

} // namespace

DatabaseUrlParse parseDatabaseUrl(const QString &text)
{
    static const QString sqlite = QStringLiteral("sqlite:");
    static const QString postgresql = QStringLiteral("postgresql://");
    static const QString postgres = QStringLiteral("postgres://");
    if (text.startsWith(sqlite)) {
        DatabaseUrlParse parse;
        parse.url.path = text.mid(sqlite.size());
        if (parse.url.path.isEmpty())
            parse.error = QStringLiteral("sqlite: needs a file path");
        else
            parse.url.engine = DatabaseUrl::Sqlite;
        return parse;
    }
    if (text.startsWith(postgresql))
        return parsePostgres(text, postgresql.size());
    if (text.startsWith(postgres))
        return parsePostgres(text, postgres.size());
    DatabaseUrlParse parse;
    // The text itself is not echoed: it may hold a password.
    parse.error = QStringLiteral("a database URL is sqlite:PATH or postgresql://user@host:port/dbname");
    return parse;
}

QString DatabaseUrl::toDisplayString() const
{
    if (engine == Sqlite)
        return QStringLiteral("sqlite:") + path;
    if (engine != Postgres)
        return QString();
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += encode(user) + QLatin1Char('@');
    const bool socketDir = host.startsWith(QLatin1Char('/'));
    if (!socketDir)
        text += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']')
                                                : encode(host, ",");
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    if (!dbname.isEmpty())
        text += QLatin1Char('/') + encode(dbname);
    QStringList query;
    if (socketDir)
        query << QStringLiteral("host=") + encode(host, "/");
    for (const auto &option : options)
        query << encode(option.first) + QLatin1Char('=') + encode(option.second, "/");
    if (!query.isEmpty())
        text += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return text;
}

QString DatabaseUrl::connectOptions() const
{
    QStringList parts;
    for (const auto &option : options) {
        QString value = option.second;
        value.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
        parts << option.first + QStringLiteral("='") + value + QLatin1Char('\'');
    }
    return parts.join(QLatin1Char(';'));
}

DatabaseUrl defaultRecordsDatabase()
{
    DatabaseUrl url;
    url.engine = DatabaseUrl::Sqlite;
    url.path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
               + QStringLiteral("/quelmar/records.sqlite");
    return url;
}
