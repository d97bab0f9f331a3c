// quelmar-cli analyse FILE [--method METHOD.json] [--json]: the results of a data
// file, read as File > Open reads it, judged by a test method.

#include <QJsonDocument>

#include "analysis/curveresults.h"
#include "analysis/testmethod.h"
#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/resultlisting.h"

namespace {
const QString Name = QStringLiteral("analyse");
} // namespace

int runAnalyse(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption methodOption(QStringLiteral("method"),
                                          QStringLiteral("Computes what the test method asks for and judges the "
                                                         "results by its limits."),
                                          QStringLiteral("METHOD.json"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Prints one JSON object."));
    parser.addOptions({methodOption, jsonOption});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A test data file as Quelmar saves it."));
    const CommandSyntax syntax{Name, QStringLiteral("[--method METHOD.json] [--json] FILE"),
                               QStringLiteral("Prints the results of a test data file and their verdict.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    if (parser.positionalArguments().size() != 1)
        return commandError(Name, QStringLiteral("takes one data file (see quelmar-cli analyse --help)"));

    TestMethod method;
    if (parser.isSet(methodOption)) {
        const TestMethodReading reading = readTestMethodFile(parser.value(methodOption));
        if (!reading.error.isEmpty())
            return commandError(Name, reading.error);
        method = reading.method;
    }
    std::optional<TestData> data = readDataFile(Name, parser.positionalArguments().constFirst());
    if (!data)
        return CliError;

    const TestCurve curve =
        TestCurve::fromStoredOrder(std::move(data->forwardStroke), std::move(data->returnStroke));
    const QJsonObject results = resultsJson(curveResultsJson(analyseCurve(curve, method.results)), method.limits);
    const QByteArray output = parser.isSet(jsonOption)
        ? QJsonDocument(results).toJson(QJsonDocument::Compact) + '\n'
        : resultListing(results, method);
    if (!printOutput(Name, output))
        return CliError;
    return results.value(QLatin1String("verdict")).toString() == QLatin1String("fail") ? CliFailed : CliSuccess;
}
