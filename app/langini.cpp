#include "app/langini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStandardPaths>

#include "records/datadir.h"
#include "records/regularfile.h"

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

// The lines within the first MaxFileBytes of the file that end there or at its end.
QStringList completeLines(QIODevice &file)
{
    QByteArray head;
    while (head.size() <= MaxFileBytes) {
        const QByteArray more = file.read(MaxFileBytes + 1 - head.size());
        if (more.isEmpty())
            break;
        head += more;
    }
    if (head.size() > MaxFileBytes)
        head.truncate(head.lastIndexOf('\n') + 1);
    QStringList lines;
    for (const QByteArray &line : head.split('\n'))
        lines.append(QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line));
    return lines;
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
    for (const QString &line : completeLines(file)) {
        const std::optional<int> value = lineValue(line);
        if (value == English || value == Chinese)
            return *value;
    }
    return System;
}

int dialogChoice(QIODevice &file)
{
    for (const QString &line : completeLines(file)) {
        const std::optional<QString> text = valueText(line);
        if (text)
            return text->isEmpty() ? System : text->trimmed().toInt();
    }
    return System;
}

int readChoice(const QString &path, int (*reader)(QIODevice &))
{
    QFile file;
    return openRegularFile(file, path).isEmpty() ? reader(file) : System;
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
