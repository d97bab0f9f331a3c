#include "records/recordslocation.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString RecordsDatabaseKey = QStringLiteral("records/database");
} // namespace

QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/quelmar.conf");
}

DatabaseUrlParse recordsDatabaseAtStart(const QString &commandLine, const QString &kept)
{
    if (!commandLine.isEmpty()) {
        DatabaseUrlParse parse = parseDatabaseUrl(commandLine);
        if (!parse.error.isEmpty())
            parse.error = QStringLiteral("--database: %1").arg(parse.error);
        return parse;
    }
    DatabaseUrlParse parse;
    if (!kept.isEmpty()) {
        parse = parseDatabaseUrl(kept);
        if (parse.error.isEmpty())
            return parse;
        parse.warning = QStringLiteral("the records database in %1 is not a database URL (%2); records go to %3")
                            .arg(settingsFilePath(), parse.error, defaultRecordsDatabase().path);
        parse.error.clear();
    }
    parse.url = defaultRecordsDatabase();
    return parse;
}

void keepRecordsDatabase(const DatabaseUrl &url)
{
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.setValue(RecordsDatabaseKey, url.toDisplayString());
}

QString keptRecordsDatabase()
{
    return QSettings(settingsFilePath(), QSettings::IniFormat).value(RecordsDatabaseKey).toString();
}
