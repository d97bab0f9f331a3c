// quelmar-cli list --database URL [filters] [--json]: the stored records.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"

#include <QJsonArray>
#include <QJsonDocument>

int runList(const QStringList &args)
{
    const QString name = QStringLiteral("list");
    QCommandLineParser parser;
    const RecordOptions options;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON array."));
    options.addTo(parser);
    parser.addOption(json);
    const CommandSyntax syntax{name, QStringLiteral("--database URL [--batch B] [--method NAME] [--since YYYY-MM-DD] [--json]"),
                               QStringLiteral("Lists the stored records in recording order.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    QVector<RecordSummary> rows;
    if (!options.list(name, parser, rows))
        return CliError;

    QByteArray output;
    if (parser.isSet(json)) {
        QJsonArray array;
        for (const RecordSummary &row : rows)
            array.append(QJsonObject{{QStringLiteral("seq"), row.seq},
                                     {QStringLiteral("uuid"), row.uuid},
                                     {QStringLiteral("recorded_at"), row.recordedAt},
                                     {QStringLiteral("sample"), row.sample},
                                     {QStringLiteral("batch"), row.batch},
                                     {QStringLiteral("operator"), row.operatorName},
                                     {QStringLiteral("method"), row.method},
                                     {QStringLiteral("verdict"), row.verdict}});
        output = QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n';
    } else {
        for (const RecordSummary &row : rows)
            output += QStringList{QString::number(row.seq), row.recordedAt, row.sample, row.batch, row.operatorName,
                                  row.method, row.verdict, row.uuid}
                          .join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    return printOutput(name, output) ? CliSuccess : CliError;
}
