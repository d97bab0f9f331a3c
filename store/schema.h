#pragma once

// The statements that bring a records database from one schema version to the next.

#include <QStringList>

// The statements from version v to v + 1 (0 = an empty database); the caller then
// sets schema_version to v + 1.
// `postgres` chooses the engine's column types; the outbox of records waiting for a
// server exists in SQLite files only.
QStringList migrationStatements(int fromVersion, bool postgres);
