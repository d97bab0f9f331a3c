#include "app/langini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStandardPaths>
#include <QTextStream>

#include "records/datadir.h"

namespace LangIni {

namespace {
const QString Key = QStringLiteral("Language:");
const QString FileName = QStringLiteral("lang.ini");

// The text after the first colon of a counting line.
std::optional<QString> valueText(const QString &line)
{
    if (!line.contains(Key))
        return std::nullopt;
    return line.mid(line.indexOf(QLatin1Char(':')) + 1);
}

bool hasConfigFile(const Location &location)
{
    return !location.configFile.isEmpty() && QFile::exists(location.configFile);
}

bool writeFile(const QString &path, int index)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray bytes = content(index);
    return file.write(bytes) == bytes.size() && file.flush();
}
} // namespace

std::optional<int> lineValue(const QString &line)
{
    const std::optional<QString> text = valueText(line);
    if (!text)
        return std::nullopt;
    return text->trimmed().toInt();
}

int startupChoice(QIODevice &file)
{
    QTextStream in(&file);
    while (!in.atEnd()) {
        const std::optional<int> value = lineValue(in.readLine());
        if (value == English || value == Chinese)
            return *value;
    }
    return System;
}

int dialogChoice(QIODevice &file)
{
    QTextStream in(&file);
    while (!in.atEnd()) {
        const std::optional<QString> text = valueText(in.readLine());
        if (text)
            return text->isEmpty() ? System : text->trimmed().toInt();
    }
    return System;
}

QByteArray content(int index)
{
    return Key.toLatin1() + QByteArray::number(index);
}

QString filePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + FileName;
}

Location defaultLocation()
{
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return Location{configDir.isEmpty() ? QString() : configDir + QLatin1Char('/') + FileName,
                    keepsFilesBesideProgram() ? filePath() : QString()};
}

QString readPath(const Location &location)
{
    return hasConfigFile(location) ? location.configFile : location.programFile;
}

bool store(int index, const Location &location)
{
    // The configuration directory's file is read first, so once it exists it takes every choice.
    if (!hasConfigFile(location) && writeFile(location.programFile, index))
        return true;
    if (location.configFile.isEmpty())
        return false;
    return QDir().mkpath(QFileInfo(location.configFile).absolutePath()) && writeFile(location.configFile, index);
}

} // namespace LangIni
