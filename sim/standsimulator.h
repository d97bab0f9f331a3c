#pragma once

#include <QString>

#include "sim/rtuslave.h"
#include "sim/simulatedstand.h"

// A simulated stand served on a pseudo-terminal, as the program's demo mode and
// quelmar-standsim run it: a stand of the given rating behind an RTU slave whose
// replies are paced like a real line.
class StandSimulator
{
public:
    struct Settings
    {
        int typeNumber = 500;
        int decimals = 3;
        // Without pacing a pty answers a curve read in well under a millisecond, and a
        // master that counts empty reads gives up a test before its second point.
        int baud = 115200;
        int sampleRateHz = StandModel::DefaultSampleRateHz;
        int processingDelayMs = StandModel::DefaultProcessingDelayMs;
    };

    explicit StandSimulator(const Settings &settings);

    bool start();
    void stop();
    QString portPath() const { return m_line.portPath(); }
    QString errorString() const { return m_line.errorString(); }

    SimulatedStand &stand() { return m_stand; }
    RtuSlave &line() { return m_line; }

private:
    SimulatedStand m_stand;
    RtuSlave m_line;
};
