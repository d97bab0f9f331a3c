// quelmar-cli COMMAND ...: Quelmar's results and records without a window.

#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/resources.h"
#include "app/startup.h"
#include "cli/command.h"

namespace {

void printUsage(std::FILE *to)
{
    std::fprintf(to, "Usage: quelmar-cli COMMAND [OPTIONS] ...\n"
                     "       quelmar-cli COMMAND --help\n"
                     "Quelmar's test results and records without a window.\n\nCommands:\n");
    for (const CliCommand &command : cliCommands())
        std::fprintf(to, "  %-10s %s\n", qPrintable(command.name), qPrintable(command.summary));
    std::fprintf(to, "\nOptions:\n"
                     "  -h, --help  Shows this help.\n"
                     "  --version   Shows the version.\n"
                     "\nExit status: 0 done (a verdict of pass or none), 1 a verdict of fail or a broken record chain, 2 an error.\n");
}

// A report is drawn with the chart's widget, which needs a GUI application; Qt's
// offscreen platform gives one without a display. Other commands run on a core one.
bool drawsPages(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if ((i == 1 && arg == "report") || arg == "--pdf" || arg.startsWith("--pdf="))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool pages = drawsPages(argc, argv);
    if (pages && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (pages)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    // Under the window's name, so that its settings, records and language are found.
    QCoreApplication::setApplicationName(QStringLiteral("quelmar"));
    if (pages) {
        quelmarInitResources();
        installStartupTranslator(*app);
    }
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELMAR_DISPLAY_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return CliError;
    }
    const QString &name = args.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return CliSuccess;
    }
    if (name == QLatin1String("--version")) {
        std::printf("quelmar-cli %s\n", QUELMAR_DISPLAY_VERSION);
        return CliSuccess;
    }
    for (const CliCommand &command : cliCommands()) {
        if (command.name == name)
            return command.run(args);
    }
    std::fprintf(stderr, "quelmar-cli: no command \"%s\"; quelmar-cli --help lists them\n", qPrintable(name));
    return CliError;
}
