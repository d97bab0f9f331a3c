#pragma once

#include <QString>

// The lab's name that heads every report, kept in the program's settings file for
// the window and quelmar-cli alike.
QString reportLabName();
void setReportLabName(const QString &name);
