#include "analysis/methodlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <climits>

namespace {

const QString Suffix = QStringLiteral(".json");
const QString InUseKey = QStringLiteral("inUse");

// A file name from the method's name: its letters and digits, the rest as '_'.
QString fileStem(const QString &name)
{
    QString stem;
    for (const QChar c : name.trimmed())
        stem += c.isLetterOrNumber() || c == QLatin1Char('-') ? c : QLatin1Char('_');
    return stem.left(60).isEmpty() ? QStringLiteral("method") : stem.left(60);
}

} // namespace

MethodLibrary::MethodLibrary(const QString &folder)
    : directory(folder)
{
}

QString MethodLibrary::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/methods");
}

QVector<MethodLibrary::Entry> MethodLibrary::entries() const
{
    QVector<Entry> found;
    for (const QString &fileName : QDir(directory).entryList({QLatin1Char('*') + Suffix}, QDir::Files))
        found.append(entry(fileName));
    std::sort(found.begin(), found.end(), [](const Entry &a, const Entry &b) {
        const QString &nameA = a.error.isEmpty() ? a.method.name : a.fileName;
        const QString &nameB = b.error.isEmpty() ? b.method.name : b.fileName;
        return nameA.localeAwareCompare(nameB) < 0;
    });
    return found;
}

MethodLibrary::Entry MethodLibrary::entry(const QString &fileName) const
{
    const TestMethodReading reading = readTestMethodFile(path(fileName));
    return {fileName, reading.method, reading.error};
}

QString MethodLibrary::add(const TestMethod &method, QString *error)
{
    if (!QDir().mkpath(directory)) {
        *error = QCoreApplication::translate("MethodLibrary", "Cannot create the folder %1.")
                     .arg(QDir::toNativeSeparators(directory));
        return QString();
    }
    const QString stem = fileStem(method.name);
    QString fileName = stem + Suffix;
    for (int n = 2; QFile::exists(path(fileName)); ++n)
        fileName = QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(Suffix);
    *error = saveTestMethodFile(path(fileName), method);
    return error->isEmpty() ? fileName : QString();
}

bool MethodLibrary::update(const QString &fileName, TestMethod edited, QString *error)
{
    const Entry stored = entry(fileName);
    const int version = stored.error.isEmpty() ? stored.method.version : edited.version;
    edited.version = version < INT_MAX ? version + 1 : version;
    *error = saveTestMethodFile(path(fileName), edited);
    return error->isEmpty();
}

bool MethodLibrary::remove(const QString &fileName, QString *error)
{
    QFile file(path(fileName));
    if (!file.remove()) {
        *error = file.errorString();
        return false;
    }
    if (inUse() == fileName)
        setInUse(QString());
    return true;
}

QString MethodLibrary::inUse() const
{
    const QString fileName = QSettings(path(QStringLiteral("library.ini")), QSettings::IniFormat).value(InUseKey).toString();
    return !fileName.isEmpty() && QFile::exists(path(fileName)) ? fileName : QString();
}

void MethodLibrary::setInUse(const QString &fileName)
{
    QSettings(path(QStringLiteral("library.ini")), QSettings::IniFormat).setValue(InUseKey, fileName);
}

std::optional<TestMethod> MethodLibrary::methodInUse() const
{
    const QString fileName = inUse();
    if (fileName.isEmpty())
        return std::nullopt;
    const Entry used = entry(fileName);
    return used.error.isEmpty() ? std::optional<TestMethod>(used.method) : std::nullopt;
}

QString MethodLibrary::path(const QString &fileName) const
{
    return QDir(directory).filePath(fileName);
}
