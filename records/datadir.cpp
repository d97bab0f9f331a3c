#include "records/datadir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>

bool keepsFilesBesideProgram()
{
    const QString installed = QFileInfo(QStringLiteral(QUELMAR_INSTALLED_BINDIR)).canonicalFilePath();
    return installed.isEmpty() || QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath() != installed;
}

QString dataDir()
{
    return dataDirFor(keepsFilesBesideProgram() ? QCoreApplication::applicationDirPath() : QString(),
                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString dataDirFor(const QString &programDir, const QString &userDataDir)
{
    const QString besideProgram = programDir + QStringLiteral("/Data");
    if (!programDir.isEmpty() && QDir().mkpath(besideProgram) && QFileInfo(besideProgram).isWritable())
        return besideProgram;
    const QString ofUser = userDataDir + QStringLiteral("/Data");
    QDir().mkpath(ofUser);
    return ofUser;
}

QString fileStamp(const QDateTime &at)
{
    // One reading of the clock, so that date and time cannot straddle midnight; ASCII
    // digits whatever the system's locale.
    return QLocale::c().toString(at, QStringLiteral("yyyy_MM_dd_hh_mm_ss"));
}

QString withFilterSuffix(const QString &path, const QString &filter)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    static const QRegularExpression filterSuffix(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch match = filterSuffix.match(filter);
    return match.hasMatch() ? path + QLatin1Char('.') + match.captured(1) : path;
}
