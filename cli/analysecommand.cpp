// quelmar-cli analyse FILE [--method METHOD.json] [--json]: the results of a data
// file, read as File > Open reads it, judged by a test method.

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

#include "analysis/curveresults.h"
#include "analysis/resultpath.h"
#include "analysis/resultrows.h"
#include "analysis/testmethod.h"
#include "cli/command.h"
#include "cli/commandline.h"

namespace {

const QString Name = QStringLiteral("analyse");

QString shown(const QJsonValue &value, ResultQuantity quantity)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    if (!value.isDouble())
        return QStringLiteral("-");
    return quantity == ResultQuantity::Count ? QString::number(qint64(value.toDouble()))
                                             : QString::number(value.toDouble(), 'g', 7);
}

// Rows of a result name and its values, aligned in columns.
QByteArray listing(const QJsonObject &results, const TestMethod &method)
{
    QVector<QStringList> rows = {{QString(), QStringLiteral("forward"), QStringLiteral("return")}};
    const QJsonObject forward = results.value(QLatin1String("forward")).toObject();
    const QJsonObject back = results.value(QLatin1String("return")).toObject();
    for (const ResultRow &row : strokeResultRows(forward))
        rows.append({row.path, shown(resultAt(forward, row.path), row.quantity),
                     shown(resultAt(back, row.path), row.quantity)});
    for (const ResultRow &row : curveResultRows())
        rows.append({row.path, shown(resultAt(results, row.path), row.quantity)});

    int nameWidth = 0;
    for (const QStringList &row : rows)
        nameWidth = std::max(nameWidth, int(row[0].size()));
    QString text = method.name.isEmpty() ? QStringLiteral("Method: none\n")
                                         : QStringLiteral("Method: %1, version %2\n").arg(method.name).arg(method.version);
    for (const QStringList &row : rows) {
        QString line = row[0].leftJustified(nameWidth);
        for (int column = 1; column < row.size(); ++column)
            line += row[column].rightJustified(16);
        text += line + QLatin1Char('\n');
    }
    const QString verdict = results.value(QLatin1String("verdict")).toString();
    text += QStringLiteral("Verdict: ") + verdict.toUpper();
    const QJsonArray failed = results.value(QLatin1String("failed")).toArray();
    if (!failed.isEmpty()) {
        QStringList paths;
        for (const QJsonValue &path : failed)
            paths.append(path.toString());
        text += QStringLiteral(" (%1)").arg(paths.join(QStringLiteral(", ")));
    }
    return (text + QLatin1Char('\n')).toUtf8();
}

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
        : listing(results, method);
    if (!printOutput(Name, output))
        return CliError;
    return results.value(QLatin1String("verdict")).toString() == QLatin1String("fail") ? CliFailed : CliSuccess;
}
