#pragma once

// Where the window keeps its records, and the settings file that remembers the
// choice: a records file of the user's own by default, or the database chosen in the
// records settings, or the one given with --database for one run.

#include <QString>

#include "store/databaseurl.h"

// ~/.config/quelmar/quelmar.conf, beside lang.ini: the records database chosen, and
// the operator and batch of the sample strip.
QString settingsFilePath();

// The database at start: `commandLine` when given (an error when it is not a
// database URL), else the one kept in the settings (the default file, with a warning,
// when what is kept there is no URL), else the default file (defaultRecordsDatabase()).
DatabaseUrlParse recordsDatabaseAtStart(const QString &commandLine, const QString &kept);

// The database kept in the settings file for the next start, always without a
// password; empty when none was chosen.
void keepRecordsDatabase(const DatabaseUrl &url);
QString keptRecordsDatabase();
