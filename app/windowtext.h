#pragma once

// Texts the main window shows that come from code outside it (status lines, file
// checks, chart labels): translated in the window's own catalogue context.

#include <QCoreApplication>
#include <QString>

inline QString trWindow(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}
