// quelmar-cli curve --database URL --uuid U --csv FILE: a stored test's curve as CSV.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"
#include "report/curvecsv.h"
#include "report/recordfields.h"

namespace {

// N, kg or lb as the codes the stand uses; -1 for anything else.
int unitCode(const QString &name)
{
    const QStringList names{QStringLiteral("n"), QStringLiteral("kg"), QStringLiteral("lb")};
    return int(names.indexOf(name.toLower()));
}

} // namespace

int runCurve(const QStringList &args)
{
    const QString name = QStringLiteral("curve");
    QCommandLineParser parser;
    const RecordOptions options;
    const QCommandLineOption uuidOption(QStringLiteral("uuid"), QStringLiteral("The record."), QStringLiteral("U"));
    const QCommandLineOption csvOption(QStringLiteral("csv"), QStringLiteral("The CSV file to write."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption unitOption(QStringLiteral("unit"),
                                        QStringLiteral("Adds a force column in kg or lb (default: the unit the "
                                                       "operator saw in the test)."),
                                        QStringLiteral("N|kg|lb"));
    parser.addOptions({options.database, uuidOption, csvOption, unitOption});
    const CommandSyntax syntax{name, QStringLiteral("--database URL --uuid U --csv FILE [--unit N|kg|lb]"),
                               QStringLiteral("Writes the curve of a stored test as CSV: comment lines (# key: value) "
                                              "with the sample, method, time, stand and results, then one row per "
                                              "point in acquisition order: stroke, distance_mm, force_N, and "
                                              "force_kg or force_lb when the test was seen in that unit.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    if (!parser.isSet(uuidOption) || !parser.isSet(csvOption))
        return commandError(name, QStringLiteral("needs --uuid U and --csv FILE"));
    const int unit = parser.isSet(unitOption) ? unitCode(parser.value(unitOption)) : 0;
    if (unit < 0)
        return commandError(name, QStringLiteral("--unit takes N, kg or lb"));
    RecordDatabase db;
    if (!options.open(name, parser, db))
        return CliError;
    RecordFilter filter;
    filter.uuids = QStringList{parser.value(uuidOption)};
    QVector<TestRecord> records;
    QString error;
    if (!readRecords(db, filter, records, error))
        return commandError(name, error);
    if (records.isEmpty())
        return commandError(name, QStringLiteral("no record %1").arg(parser.value(uuidOption)));

    const TestRecord &record = records.first();
    const int shownUnit = parser.isSet(unitOption) ? unit : RecordFields(record.record).unit();
    const QString path = parser.value(csvOption);
    error = saveCurveCsv(path, record, shownUnit);
    if (!error.isEmpty())
        return commandError(name, QStringLiteral("cannot write %1: %2").arg(path, error));
    return CliSuccess;
}
