#pragma once

// What every quelmar-cli command shares: parsing its arguments with --help, and
// writing its output and messages.

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

#include "records/testdatafile.h"

struct CommandSyntax
{
    QString name;         // "analyse"
    QString arguments;    // as the usage line shows them: "[--method METHOD.json] [--json] FILE"
    QString description;  // what the command does, for its --help
};

// Adds --help to `parser` and parses `args` (see command.h). Returns the exit status
// when the command is to end at once: after printing its help, or on an error,
// which is reported. Returns nothing when the command is to run.
std::optional<int> parseCommandArguments(QCommandLineParser &parser, const QStringList &args,
                                         const CommandSyntax &syntax);

// Writes to standard output; false, with the reason reported, when that failed.
bool printOutput(const QString &command, const QByteArray &text);

// Reports `message` on standard error as the command's and returns CliError.
int commandError(const QString &command, const QString &message);

// A test data file read as File > Open reads it, forces in newtons. Nothing when it
// cannot be read or holds no test data, with the reason reported; skipped lines are
// reported as a warning.
std::optional<TestData> readDataFile(const QString &command, const QString &path);
