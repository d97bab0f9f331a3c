// quelmar-cli report --database URL (--uuid U | filters) --pdf FILE: the printed
// report of one stored test, or the batch report of several.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"
#include "report/reportsettings.h"
#include "report/testreport.h"

int runReport(const QStringList &args)
{
    const QString name = QStringLiteral("report");
    QCommandLineParser parser;
    const RecordOptions options;
    const QCommandLineOption uuidOption(QStringLiteral("uuid"),
                                        QStringLiteral("The record to report; given more than once, a batch report "
                                                       "of those records."),
                                        QStringLiteral("U"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("The PDF file to write."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption labOption(QStringLiteral("lab"),
                                       QStringLiteral("The lab's name heading the report (default: as set in the "
                                                      "window's report settings)."),
                                       QStringLiteral("NAME"));
    options.addTo(parser);
    parser.addOptions({uuidOption, pdfOption, labOption});
    const CommandSyntax syntax{
        name,
        QStringLiteral("--database URL (--uuid U | [--batch B] [--method NAME] [--since YYYY-MM-DD]) --pdf FILE "
                       "[--lab NAME]"),
        QStringLiteral("Writes the test report of one record (--uuid) as a PDF file, or the batch report of the "
                       "records the filters choose: their curves overlaid, the statistics of each result and one "
                       "row per record. In the interface language of the window.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    if (!parser.isSet(pdfOption))
        return commandError(name, QStringLiteral("needs --pdf FILE"));
    std::optional<RecordFilter> filter = options.filter(name, parser);
    if (!filter)
        return CliError;
    filter->uuids = parser.values(uuidOption);
    if (filter->isEmpty())
        return commandError(name, QStringLiteral("needs --uuid U, or --batch, --method or --since to choose records"));
    RecordDatabase db;
    if (!options.open(name, parser, db))
        return CliError;
    QVector<TestRecord> records;
    QString error;
    if (!readRecords(db, *filter, records, error))
        return commandError(name, error);
    if (records.isEmpty())
        return commandError(name, QStringLiteral("no record matches"));

    const ReportOptions report{parser.isSet(labOption) ? parser.value(labOption) : reportLabName()};
    const bool single = records.size() == 1 && filter->uuids.size() == 1;
    const ReportDocument document = single ? TestReport::single(records.first(), report)
                                           : TestReport::batch(records, report);
    const QString path = parser.value(pdfOption);
    if (writeReportPdf(document, path, single ? records.first().uuid : QStringLiteral("Batch report"), error) == 0)
        return commandError(name, QStringLiteral("cannot write %1: %2").arg(path, error));
    return CliSuccess;
}
