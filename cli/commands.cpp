#include "cli/command.h"

const QVector<CliCommand> &cliCommands()
{
    static const QVector<CliCommand> commands = {
        {QStringLiteral("analyse"), QStringLiteral("results of a test data file, judged by a test method"), runAnalyse},
        {QStringLiteral("import"), QStringLiteral("stores test data files as records"), runImport},
        {QStringLiteral("list"), QStringLiteral("lists stored records"), runList},
        {QStringLiteral("stats"), QStringLiteral("statistics of the results of stored records"), runStats},
        {QStringLiteral("export"), QStringLiteral("writes stored records as CSV"), runExport},
        {QStringLiteral("verify"), QStringLiteral("checks that no stored record was changed"), runVerify},
        {QStringLiteral("run"), QStringLiteral("runs one test on a stand without a window"), runRun},
        {QStringLiteral("report"), QStringLiteral("writes the PDF report of stored records"), runReport},
        {QStringLiteral("curve"), QStringLiteral("writes a stored test's curve as CSV"), runCurve},
    };
    return commands;
}
