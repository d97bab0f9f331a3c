#include "report/reportsettings.h"

#include <QSettings>

#include "records/recordslocation.h"

namespace {
const QString LabNameKey = QStringLiteral("report/lab_name");
} // namespace

QString reportLabName()
{
    return QSettings(settingsFilePath(), QSettings::IniFormat).value(LabNameKey).toString();
}

void setReportLabName(const QString &name)
{
    QSettings(settingsFilePath(), QSettings::IniFormat).setValue(LabNameKey, name);
}
