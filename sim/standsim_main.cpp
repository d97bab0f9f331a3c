// quelmar-standsim: the simulated stand on a pseudo-terminal, for the program
// (quelmar --port PATH) or any other Modbus RTU master. Prints the terminal's
// path on one line and serves until SIGINT or SIGTERM.

#include "sim/standoptions.h"
#include "sim/standsimulator.h"
#include "sim/terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "quelmar-standsim: %s\n", qPrintable(message));
    return 1;
}

bool makeLink(const QString &link, const QString &target, QString &error)
{
    const QFileInfo existing(link);
    // A link left by an earlier run that was killed is replaced; anything else is not ours.
    if (existing.isSymLink()) {
        QFile::remove(link);
    } else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(link);
        return false;
    }
    if (!QFile::link(target, link)) {
        error = QStringLiteral("cannot create the link %1").arg(link);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quelmar-standsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated force test stand: a Modbus RTU slave at address 1 on a\n"
        "pseudo-terminal. Prints the terminal's path and serves until interrupted;\n"
        "ending it hangs the line up, as unplugging an adapter would.\n"
        "\n"
        "The stand keeps its machine parameters (command 9 sets them, request 5 reads\n"
        "them back, as the machine parameter dialog does):\n"
        "  Stop Value     N. A move into the specimen stops once the force, in the\n"
        "                 direction of that load, reaches it: a test turns there and\n"
        "                 returns to its start, Up or Down halts. 0 or less: none.\n"
        "                 At start 90 % of the rated force (450 N for type 500).\n"
        "  Step Distance  mm that one Up or Down moves. 0 or less, as at start: until\n"
        "                 Stop or a travel limit.\n"
        "  Speed          mm/min of Up and Down (taken as 1 to 1000; 100 at start). A\n"
        "                 test runs out and back at the speed its start command sets.\n"
        "  Peak Low Set, Total Num\n"
        "                 kept and read back; they change nothing on this stand."));
    parser.addHelpOption();
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Also reach the terminal through a symbolic link at <path>, "
                                                       "removed on exit."),
                                        QStringLiteral("path"));
    const StandOptionSet standOptions;
    parser.addOption(linkOption);
    parser.addOptions(standOptions.options());
    parser.process(app);

    StandOptions options;
    QString error;
    if (!standOptions.read(parser, options, error))
        return fail(error);

    StandSimulator simulator(options.settings);
    options.applyTo(simulator);

    // Signals end the event loop cleanly, so the link is removed.
    TerminationSignals termination;
    if (!termination.isWatching())
        return fail(QStringLiteral("cannot catch signals"));
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);

    if (!simulator.start())
        return fail(simulator.errorString());
    const QString ptyPath = simulator.portPath();
    const QString link = parser.value(linkOption);
    if (!link.isEmpty() && !makeLink(link, ptyPath, error))
        return fail(error);

    std::printf("%s\n", qPrintable(ptyPath));
    std::fflush(stdout);

    const int result = app.exec();
    simulator.stop();
    // Only our own link: another run may have taken the name meanwhile.
    if (!link.isEmpty() && QFileInfo(link).symLinkTarget() == ptyPath)
        QFile::remove(link);
    return result;
}
