#include "sim/standsimulator.h"

StandSimulator::StandSimulator(const Settings &settings)
    : m_line(&m_stand)
{
    m_stand.withModel([&](StandModel &model) {
        model.setTypeNumber(settings.typeNumber);
        model.setDecimals(settings.decimals);
        model.setSampleRate(settings.sampleRateHz);
        model.setProcessingDelay(settings.processingDelayMs);
        model.setSpecimen(StandModel::specimenFor(settings.typeNumber));
        model.setStoredParameters(StandModel::parametersFor(settings.typeNumber));
        // A load cell's noise: a small share of its rating.
        model.setNoise(2e-4 * settings.typeNumber);
    });
    m_line.setLinePacing(settings.baud);
}

bool StandSimulator::start()
{
    return m_line.start();
}

void StandSimulator::stop()
{
    m_line.stop();
}
