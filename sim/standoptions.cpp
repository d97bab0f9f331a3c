#include "sim/standoptions.h"

#include <QCommandLineParser>
#include <QHash>

namespace {

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

} // namespace

void StandOptions::applyTo(StandSimulator &simulator) const
{
    if (fault != RtuSlave::Fault::None)
        simulator.line().setFault(fault, faultCount);
}

StandOptionSet::StandOptionSet()
    : type(QStringLiteral("type"), QStringLiteral("Machine type number, the rated force in N (default 500)."),
           QStringLiteral("n"))
    , decimals(QStringLiteral("decimals"), QStringLiteral("Force decimals the stand reports (default 3)."),
               QStringLiteral("n"))
    , baud(QStringLiteral("baud"),
           QStringLiteral("Pace replies like a line at <baud>, 0 for no pacing "
                          "(default 115200, the program's line speed)."),
           QStringLiteral("baud"))
    , sampleRate(QStringLiteral("sample-rate"),
                 QStringLiteral("Curve points per second while recording (default %1, at most %2).")
                     .arg(StandModel::DefaultSampleRateHz)
                     .arg(StandModel::MaxSampleRateHz),
                 QStringLiteral("hz"))
    , fault(QStringLiteral("fault"),
            QStringLiteral("Spoil replies: silent, badcrc, truncated, exception or late, "
                           "for all replies or the next <count>."),
            QStringLiteral("name[:count]"))
    , processingDelay(QStringLiteral("processing-delay"),
                      QStringLiteral("Time before a request's answer is ready (default %1 ms).")
                          .arg(StandModel::DefaultProcessingDelayMs),
                      QStringLiteral("ms"))
{
}

QList<QCommandLineOption> StandOptionSet::options() const
{
    return {type, decimals, baud, sampleRate, fault, processingDelay};
}

bool StandOptionSet::read(const QCommandLineParser &parser, StandOptions &result, QString &error) const
{
    StandSimulator::Settings &settings = result.settings;
    if (!intOption(parser, type, 0, 65535, settings.typeNumber))
        error = QStringLiteral("--type takes a number from 0 to 65535");
    else if (!intOption(parser, decimals, 0, 65535, settings.decimals))
        error = QStringLiteral("--decimals takes a number from 0 to 65535");
    else if (!intOption(parser, baud, 0, 10000000, settings.baud))
        error = QStringLiteral("--baud takes a rate in bits per second, or 0");
    else if (!intOption(parser, sampleRate, 1, StandModel::MaxSampleRateHz, settings.sampleRateHz))
        error = QStringLiteral("--sample-rate takes a rate from 1 to %1").arg(StandModel::MaxSampleRateHz);
    else if (!intOption(parser, processingDelay, 0, 60000, settings.processingDelayMs))
        error = QStringLiteral("--processing-delay takes milliseconds from 0 to 60000");
    else if (parser.isSet(fault) && !parseFault(parser.value(fault), result.fault, result.faultCount))
        error = QStringLiteral("--fault takes silent, badcrc, truncated, exception or late, "
                               "optionally followed by :count");
    return error.isEmpty();
}

bool StandOptionSet::readList(const QStringList &nameValues, StandOptions &result, QString &error) const
{
    QStringList arguments{QStringLiteral("stand")};
    for (const QString &nameValue : nameValues)
        arguments.append(nameValue.startsWith(QLatin1String("--")) ? nameValue : QStringLiteral("--") + nameValue);
    QCommandLineParser parser;
    parser.addOptions(options());
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected stand option %1").arg(parser.positionalArguments().first());
        return false;
    }
    return read(parser, result, error);
}
