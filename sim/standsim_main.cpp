// quelmar-standsim: the simulated stand on a pseudo-terminal, for the program
// (quelmar --port PATH) or any other Modbus RTU master. Prints the terminal's
// path on one line and serves until SIGINT or SIGTERM.

#include "sim/standsimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a byte, and one is enough to end the loop.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// Signals are turned into a byte on a pipe, so the event loop ends cleanly
// and the link is removed.
bool catchTerminationSignals()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "quelmar-standsim: %s\n", qPrintable(message));
    return 1;
}

bool intOption(const QCommandLineParser &parser, const QCommandLineOption &option, int min, int max, int &value)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int parsed = parser.value(option).toInt(&ok);
    if (!ok || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

// NAME or NAME:COUNT; without a count the fault stays until the program ends.
bool parseFault(const QString &text, RtuSlave::Fault &fault, int &count)
{
    static const QHash<QString, RtuSlave::Fault> names{
        {QStringLiteral("silent"), RtuSlave::Fault::Silent},
        {QStringLiteral("badcrc"), RtuSlave::Fault::BadCrc},
        {QStringLiteral("truncated"), RtuSlave::Fault::Truncated},
        {QStringLiteral("exception"), RtuSlave::Fault::Exception},
        {QStringLiteral("late"), RtuSlave::Fault::Late},
    };
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 2 || !names.contains(parts.first()))
        return false;
    fault = names.value(parts.first());
    count = -1;
    if (parts.size() == 1)
        return true;
    bool ok = false;
    count = parts.last().toInt(&ok);
    return ok && count > 0;
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
    const QCommandLineOption typeOption(QStringLiteral("type"),
                                        QStringLiteral("Machine type number, the rated force in N (default 500)."),
                                        QStringLiteral("n"));
    const QCommandLineOption decimalsOption(QStringLiteral("decimals"),
                                            QStringLiteral("Force decimals the stand reports (default 3)."),
                                            QStringLiteral("n"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
                                        QStringLiteral("Pace replies like a line at <baud>, 0 for no pacing "
                                                       "(default 115200, the program's line speed)."),
                                        QStringLiteral("baud"));
    const QCommandLineOption rateOption(QStringLiteral("sample-rate"),
                                        QStringLiteral("Curve points per second while recording (default %1, at "
                                                       "most %2).")
                                            .arg(StandModel::DefaultSampleRateHz)
                                            .arg(StandModel::MaxSampleRateHz),
                                        QStringLiteral("hz"));
    const QCommandLineOption faultOption(QStringLiteral("fault"),
                                         QStringLiteral("Spoil replies: silent, badcrc, truncated, exception or late, "
                                                        "for all replies or the next <count>."),
                                         QStringLiteral("name[:count]"));
    const QCommandLineOption delayOption(QStringLiteral("processing-delay"),
                                         QStringLiteral("Time before a request's answer is ready (default %1 ms).")
                                             .arg(StandModel::DefaultProcessingDelayMs),
                                         QStringLiteral("ms"));
    parser.addOptions({linkOption, typeOption, decimalsOption, baudOption, rateOption, faultOption, delayOption});
    parser.process(app);

    StandSimulator::Settings settings;
    if (!intOption(parser, typeOption, 0, 65535, settings.typeNumber))
        return fail(QStringLiteral("--type takes a number from 0 to 65535"));
    if (!intOption(parser, decimalsOption, 0, 65535, settings.decimals))
        return fail(QStringLiteral("--decimals takes a number from 0 to 65535"));
    if (!intOption(parser, baudOption, 0, 10000000, settings.baud))
        return fail(QStringLiteral("--baud takes a rate in bits per second, or 0"));
    if (!intOption(parser, rateOption, 1, StandModel::MaxSampleRateHz, settings.sampleRateHz))
        return fail(QStringLiteral("--sample-rate takes a rate from 1 to %1").arg(StandModel::MaxSampleRateHz));
    if (!intOption(parser, delayOption, 0, 60000, settings.processingDelayMs))
        return fail(QStringLiteral("--processing-delay takes milliseconds from 0 to 60000"));
    RtuSlave::Fault fault = RtuSlave::Fault::None;
    int faultCount = -1;
    if (parser.isSet(faultOption) && !parseFault(parser.value(faultOption), fault, faultCount))
        return fail(QStringLiteral("--fault takes silent, badcrc, truncated, exception or late, "
                                   "optionally followed by :count"));

    StandSimulator simulator(settings);
    if (fault != RtuSlave::Fault::None)
        simulator.line().setFault(fault, faultCount);

    if (!catchTerminationSignals())
        return fail(QStringLiteral("cannot catch signals"));
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    if (!simulator.start())
        return fail(simulator.errorString());
    const QString ptyPath = simulator.portPath();
    const QString link = parser.value(linkOption);
    QString error;
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
