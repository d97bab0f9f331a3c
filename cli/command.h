#pragma once

// A quelmar-cli command. `run` takes the arguments from the command's name on
// ("analyse", "FILE", "--json"), parses its own options (with --help) and returns
// the exit status.

#include <QString>
#include <QStringList>
#include <QVector>

enum CliExitStatus {
    CliSuccess = 0,  // done; a verdict of pass or none
    CliFailed = 1,   // a verdict of fail
    CliError = 2,    // the message is on standard error, nothing is on standard output
};

struct CliCommand
{
    QString name;
    QString summary;
    int (*run)(const QStringList &args);
};

// Every command, in the order --help lists them.
const QVector<CliCommand> &cliCommands();

int runAnalyse(const QStringList &args);
int runImport(const QStringList &args);
int runList(const QStringList &args);
int runStats(const QStringList &args);
int runExport(const QStringList &args);
int runVerify(const QStringList &args);
int runRun(const QStringList &args);
int runReport(const QStringList &args);
int runCurve(const QStringList &args);
