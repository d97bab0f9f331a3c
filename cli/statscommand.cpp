// quelmar-cli stats --database URL [filters] --json: statistics of every numeric
// result over the chosen records.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"
#include "store/recordstatistics.h"

#include <QJsonDocument>

int runStats(const QStringList &args)
{
    const QString name = QStringLiteral("stats");
    QCommandLineParser parser;
    const RecordOptions options;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON object (the only form)."));
    options.addTo(parser);
    parser.addOption(json);
    const CommandSyntax syntax{name, QStringLiteral("--database URL [--batch B] [--method NAME] [--since YYYY-MM-DD] --json"),
                               QStringLiteral("Prints n, mean, sample standard deviation, minimum, maximum and coefficient "
                                              "of variation of each numeric result over the chosen records.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    if (!parser.isSet(json))
        return commandError(name, QStringLiteral("prints JSON only; give --json"));
    QVector<RecordSummary> rows;
    if (!options.list(name, parser, rows))
        return CliError;
    const QMap<QString, ResultStatistics> statistics = resultStatistics(numericResults(rows));
    QJsonObject results;
    for (auto it = statistics.cbegin(); it != statistics.cend(); ++it)
        results.insert(it.key(), statisticsJson(it.value()));
    const QJsonObject output{{QStringLiteral("count"), rows.size()}, {QStringLiteral("results"), results}};
    return printOutput(name, QJsonDocument(output).toJson(QJsonDocument::Compact) + '\n') ? CliSuccess : CliError;
}
