// quelmar-cli verify --database URL: checks the hash chain of every stored record.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"

int runVerify(const QStringList &args)
{
    const QString name = QStringLiteral("verify");
    QCommandLineParser parser;
    const RecordOptions options;
    parser.addOption(options.database);
    const CommandSyntax syntax{name, QStringLiteral("--database URL"),
                               QStringLiteral("Checks that no stored record was changed: exit status 0 and \"chain "
                                              "intact\", or 1 and the seq of the first record that does not match.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    RecordDatabase db;
    if (!options.open(name, parser, db))
        return CliError;
    const ChainCheck check = verifyChain(db);
    if (!check.error.isEmpty())
        return commandError(name, check.error);
    if (!check.intact)
        return printOutput(name, QStringLiteral("broken at seq %1\n").arg(check.brokenAt).toUtf8()) ? CliFailed : CliError;
    return printOutput(name, QStringLiteral("%1 records, chain intact\n").arg(check.count).toUtf8()) ? CliSuccess : CliError;
}
