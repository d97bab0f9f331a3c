#include "cli/command.h"

const QVector<CliCommand> &cliCommands()
{
    static const QVector<CliCommand> commands = {
        {QStringLiteral("analyse"), QStringLiteral("results of a test data file, judged by a test method"), runAnalyse},
    };
    return commands;
}
