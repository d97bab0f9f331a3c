#include "cli/commandline.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "chart/forceunit.h"
#include "cli/command.h"

#include <QDir>

std::optional<int> parseCommandArguments(QCommandLineParser &parser, const QStringList &args,
                                         const CommandSyntax &syntax)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    parser.addOption(help);
    parser.setApplicationDescription(syntax.description);
    if (!parser.parse(args))
        return commandError(syntax.name, parser.errorText());
    if (parser.isSet(help)) {
        // Qt's usage line names the program as it was called; ours names the command.
        const QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: quelmar-cli %1 %2").arg(syntax.name, syntax.arguments);
        return printOutput(syntax.name, (usage + text.mid(text.indexOf(QLatin1Char('\n')))).toUtf8())
            ? CliSuccess
            : CliError;
    }
    return std::nullopt;
}

bool printOutput(const QString &command, const QByteArray &text)
{
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
        && std::fflush(stdout) == 0)
        return true;
    commandError(command, QStringLiteral("cannot write the output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

int commandError(const QString &command, const QString &message)
{
    std::fprintf(stderr, "quelmar-cli %s: %s\n", qPrintable(command), qPrintable(message));
    return CliError;
}

std::optional<TestData> readDataFile(const QString &command, const QString &path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    TestDataReading reading = openTestDataFile(path, ForceUnit::Newton);
    if (!reading.error.isEmpty()) {
        commandError(command, QStringLiteral("%1: %2").arg(shownPath, reading.error));
        return std::nullopt;
    }
    // As File > Open: headers without a point are no test either.
    if (reading.data.forwardStroke.isEmpty() && reading.data.returnStroke.isEmpty()) {
        commandError(command, QStringLiteral("%1 holds no test data").arg(shownPath));
        return std::nullopt;
    }
    if (reading.skippedLines > 0)
        std::fprintf(stderr, "quelmar-cli %s: %s: lines skipped: %d, the first is line %d\n", qPrintable(command),
                     qPrintable(shownPath), reading.skippedLines, reading.firstSkippedLine);
    return std::move(reading.data);
}
