// quelmar-cli import FILE... --database URL [--method METHOD.json] [--sample S]
// [--batch B] [--operator O] [--note N]: stores data files as records.

#include "analysis/curveresults.h"
#include "analysis/testmethod.h"
#include "analysis/verdict.h"
#include "chart/forceunit.h"
#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/recordoptions.h"
#include "store/recordappend.h"
#include "store/recordbuilder.h"

#include <QJsonDocument>

int runImport(const QStringList &args)
{
    const QString name = QStringLiteral("import");
    QCommandLineParser parser;
    const RecordOptions options;
    const QCommandLineOption methodOption(QStringLiteral("method"),
                                          QStringLiteral("Computes the results by this test method and keeps it with them."),
                                          QStringLiteral("METHOD.json"));
    const QCommandLineOption sample(QStringLiteral("sample"), QStringLiteral("The sample of every record."), QStringLiteral("S"));
    const QCommandLineOption batch(QStringLiteral("batch"), QStringLiteral("The batch of every record."), QStringLiteral("B"));
    const QCommandLineOption operatorName(QStringLiteral("operator"), QStringLiteral("Who tested."), QStringLiteral("O"));
    const QCommandLineOption note(QStringLiteral("note"), QStringLiteral("A note for every record."), QStringLiteral("N"));
    parser.addOptions({options.database, methodOption, sample, batch, operatorName, note});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Test data files as Quelmar saves them."),
                                 QStringLiteral("FILE..."));
    const CommandSyntax syntax{name, QStringLiteral("--database URL [--method METHOD.json] [--sample S] [--batch B] "
                                                    "[--operator O] [--note N] FILE..."),
                               QStringLiteral("Stores test data files as records (source \"file\", the points in file "
                                              "order) and prints the uuid of each new record.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return commandError(name, QStringLiteral("takes at least one data file (see quelmar-cli import --help)"));

    TestMethod method;
    QJsonObject methodJson;
    if (parser.isSet(methodOption)) {
        const TestMethodReading reading = readTestMethodFile(parser.value(methodOption));
        if (!reading.error.isEmpty())
            return commandError(name, reading.error);
        method = reading.method;
        methodJson = QJsonDocument::fromJson(testMethodJson(method)).object();
    }
    // Every file is read before anything is stored, so a bad one stores nothing.
    QVector<PreparedRecord> records;
    for (const QString &path : files) {
        const std::optional<TestData> data = readDataFile(name, path);
        if (!data)
            return CliError;
        RecordInput input;
        input.source = QStringLiteral("file");
        input.sample = parser.value(sample);
        input.batch = parser.value(batch);
        input.operatorName = parser.value(operatorName);
        input.note = parser.value(note);
        input.standUnit = ForceUnit::Newton;
        input.method = methodJson;
        input.forward = data->forwardStroke;
        input.back = data->returnStroke;
        const TestCurve curve = TestCurve::fromStoredOrder(input.forward, input.back);
        input.results = resultsJson(curveResultsJson(analyseCurve(curve, method.results)), method.limits);
        records.append(buildRecord(input));
    }

    RecordDatabase db;
    if (!options.open(name, parser, db))
        return CliError;
    for (const PreparedRecord &record : records) {
        const AppendResult result = appendRecord(db, record);
        if (result.outcome != AppendResult::Stored)
            return commandError(name, result.error);
        if (!printOutput(name, record.uuid.toUtf8() + '\n'))
            return CliError;
    }
    return CliSuccess;
}
