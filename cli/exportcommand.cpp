// quelmar-cli export --database URL [filters] --csv FILE: one CSV row per record.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"
#include "report/csv.h"

#include <QSaveFile>

int runExport(const QStringList &args)
{
    const QString name = QStringLiteral("export");
    QCommandLineParser parser;
    const RecordOptions options;
    const QCommandLineOption csvOption(QStringLiteral("csv"), QStringLiteral("The CSV file to write."), QStringLiteral("FILE"));
    options.addTo(parser);
    parser.addOption(csvOption);
    const CommandSyntax syntax{name, QStringLiteral("--database URL [--batch B] [--method NAME] [--since YYYY-MM-DD] --csv FILE"),
                               QStringLiteral("Writes the chosen records as CSV: seq, uuid, recorded_at, sample, batch, "
                                              "operator, method, verdict, then one column per numeric result.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    if (!parser.isSet(csvOption))
        return commandError(name, QStringLiteral("needs --csv FILE"));
    QVector<RecordSummary> rows;
    if (!options.list(name, parser, rows))
        return CliError;
    const QVector<QMap<QString, double>> values = numericResults(rows);
    QMap<QString, bool> paths;  // every path any record has, sorted
    for (const auto &record : values)
        for (auto it = record.cbegin(); it != record.cend(); ++it)
            paths.insert(it.key(), true);

    const QString path = parser.value(csvOption);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return commandError(name, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    CsvWriter csv(file);
    for (const char *column : {"seq", "uuid", "recorded_at", "sample", "batch", "operator", "method", "verdict"})
        csv.text(QString::fromLatin1(column));
    for (auto it = paths.cbegin(); it != paths.cend(); ++it)
        csv.text(it.key());
    csv.endRow();
    for (int i = 0; i < rows.size(); ++i) {
        const RecordSummary &row = rows.at(i);
        csv.number(row.seq).text(row.uuid).text(row.recordedAt).text(row.sample).text(row.batch)
            .text(row.operatorName).text(row.method).text(row.verdict);
        for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
            const auto value = values.at(i).constFind(it.key());
            if (value == values.at(i).cend())
                csv.empty();
            else
                csv.number(*value);
        }
        csv.endRow();
    }
    if (!csv.ok() || !file.commit())
        return commandError(name, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return CliSuccess;
}
