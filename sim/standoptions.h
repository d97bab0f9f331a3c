#pragma once

// The simulated stand's command-line options, one definition for quelmar-standsim
// and for programs that run the stand in-process (quelmar-cli run --simulated).

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include "sim/standsimulator.h"

class QCommandLineParser;

struct StandOptions
{
    StandSimulator::Settings settings;
    RtuSlave::Fault fault = RtuSlave::Fault::None;
    int faultCount = -1;  // replies to spoil; -1 for all

    // Applies the fault to the simulator's line.
    void applyTo(StandSimulator &simulator) const;
};

class StandOptionSet
{
public:
    StandOptionSet();

    // --type, --decimals, --baud, --sample-rate, --fault, --processing-delay.
    QList<QCommandLineOption> options() const;

    // The options set in `parser`, over the defaults. False with `error` naming the
    // option when a value is out of range.
    bool read(const QCommandLineParser &parser, StandOptions &result, QString &error) const;

    // Options given as NAME=VALUE or --NAME=VALUE ("type=1000", "fault=silent:3"),
    // as another program's command line passes them through.
    bool readList(const QStringList &nameValues, StandOptions &result, QString &error) const;

private:
    QCommandLineOption type, decimals, baud, sampleRate, fault, processingDelay;
};
