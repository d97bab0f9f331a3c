#include "sim/standmodel.h"

#include <cmath>

namespace {

// The head's state is refreshed at least this often while it moves, so the
// peak and the noise follow the motion between samples.
constexpr qint64 StepUs = 1000;

int clampSpeed(int mmPerMin)
{
    return qBound(StandModel::MinSpeedMmPerMin, mmPerMin, StandModel::MaxSpeedMmPerMin);
}

// +1 when the mode's forward stroke moves the head down, -1 when up.
double strokeSign(int mode)
{
    return mode == StandModel::Push ? 1.0 : -1.0;
}

} // namespace

StandModel::StandModel(quint32 seed)
    : m_random(seed)
{
    m_specimen = specimenFor(m_typeNumber);
    mountSpecimen();
}

StandModel::Specimen StandModel::specimenFor(int typeNumber)
{
    Specimen specimen;
    specimen.yieldForceN = 0.6 * qMax(1, typeNumber);
    specimen.stiffnessNPerMm = specimen.yieldForceN / 6.0;
    return specimen;
}

StandModel::StoredParameters StandModel::parametersFor(int typeNumber)
{
    StoredParameters parameters;
    parameters.pointSet[0] = 0.9f * float(qMax(0, typeNumber));
    return parameters;
}

void StandModel::advanceTo(qint64 ms)
{
    const qint64 endUs = ms * 1000;
    while (m_nowUs < endUs) {
        qint64 next = endUs;
        if (m_motion != Motion::Idle)
            next = qMin(next, qMin((m_nowUs / StepUs + 1) * StepUs, m_stroke.arrivalUs));
        if (m_recording)
            next = qMin(next, nextSampleUs());
        // A stroke of length 0 arrives now: step without moving the clock.
        m_nowUs = qMax(m_nowUs, next);
        step();
    }
}

void StandModel::step()
{
    const bool arrived = m_motion != Motion::Idle && m_nowUs >= m_stroke.arrivalUs;
    if (m_motion != Motion::Idle)
        m_positionMm = arrived ? m_stroke.endMm : strokePosition(m_nowUs);
    loadSpecimen();
    m_noiseN = m_noiseSigmaN > 0.0 ? m_noiseSigmaN * m_gauss(m_random) : 0.0;
    if (std::fabs(liveForce()) > std::fabs(m_peakN))
        m_peakN = liveForce();
    const bool stopped = !arrived && reachedStopValue();
    // The point at the turn still belongs to the stroke that reached it.
    if (m_recording && m_nowUs >= nextSampleUs()) {
        queuePoint();
        ++m_sampleIndex;
    }
    if (stopped) {
        // The move ends here as if this had been its end, short of any limit.
        m_stroke.endMm = m_positionMm;
        m_stroke.endsAtLimit = false;
    }
    if (arrived || stopped)
        finishStroke();
}

bool StandModel::reachedStopValue() const
{
    const float stopN = m_parameters.pointSet[0];
    if (m_motion == Motion::Idle || !(stopN > 0.0f))
        return false;
    // Only a move into the specimen is stopped; backing off stays free.
    const double loadSign = strokeSign(m_specimenMode);
    const bool loading = loadSign * (m_stroke.endMm - m_stroke.startMm) > 0.0;
    return loading && loadSign * liveForce() >= stopN;
}

void StandModel::beginStroke(Motion motion, double targetMm, int speedMmPerMin)
{
    m_motion = motion;
    m_speedMmPerMin = clampSpeed(speedMmPerMin);
    m_stroke.startUs = m_nowUs;
    m_stroke.startMm = m_positionMm;
    m_stroke.endMm = qBound(MinPositionMm, targetMm, MaxPositionMm);
    m_stroke.endsAtLimit = m_stroke.endMm != targetMm;
    const double lengthMm = std::fabs(m_stroke.endMm - m_stroke.startMm);
    m_stroke.arrivalUs = m_nowUs + qRound64(lengthMm * 60e6 / m_speedMmPerMin);
}

double StandModel::strokePosition(qint64 us) const
{
    const double travelled = double(us - m_stroke.startUs) * m_speedMmPerMin / 60e6;
    const double sign = m_stroke.endMm >= m_stroke.startMm ? 1.0 : -1.0;
    const double position = m_stroke.startMm + sign * travelled;
    return sign > 0 ? qMin(position, m_stroke.endMm) : qMax(position, m_stroke.endMm);
}

void StandModel::finishStroke()
{
    if (m_motion == Motion::TestForward && !m_stroke.endsAtLimit) {
        beginStroke(Motion::TestReturn, m_testStartMm, m_speedMmPerMin);
        return;
    }
    m_motion = Motion::Idle;
    m_recording = false;
}

void StandModel::startTest(const TestSetting &setting)
{
    m_mode = setting.mode == Push ? Push : Pull;
    const double targetMm = setting.distanceMode == 0
        ? m_positionMm + strokeSign(m_mode) * double(setting.distanceMm)
        : double(setting.distanceMm) + m_distanceOffsetMm;
    m_testStartMm = m_positionMm;
    mountSpecimen();
    m_queue.clear();
    beginStroke(Motion::TestForward, targetMm, setting.speedMmPerMin);
    resetPeak();
    startRecording();
}

void StandModel::stop()
{
    m_motion = Motion::Idle;
    m_recording = false;
}

void StandModel::jog(Jog jog, bool record)
{
    // Without a step distance a jog runs until it is stopped: its target is the limit itself.
    const bool up = jog == Jog::Up;
    const float stepMm = m_parameters.pointSet[1];
    const double targetMm = !(stepMm > 0.0f) ? (up ? MinPositionMm : MaxPositionMm)
                                              : m_positionMm + (up ? -1.0 : 1.0) * double(stepMm);
    beginStroke(up ? Motion::JogUp : Motion::JogDown, targetMm, m_parameters.systemSet[0]);
    m_recording = false;
    if (record) {
        m_queue.clear();
        startRecording();
    }
}

void StandModel::zeroForce()
{
    m_forceOffsetN = rawForce() + m_noiseN;
    resetPeak();
}

void StandModel::zeroDistance()
{
    m_distanceOffsetMm = m_positionMm;
}

void StandModel::switchUnit()
{
    m_unit = (m_unit + 1) % 3;
}

void StandModel::switchAuto()
{
    m_auto = !m_auto;
}

void StandModel::switchDisplayMode()
{
    m_displayMode = m_displayMode == 0 ? 1 : 0;
    if (m_displayMode == 1)
        resetPeak();
}

void StandModel::request(Request request)
{
    m_request = request;
    m_answerDueUs = m_nowUs + qint64(m_processingDelayMs) * 1000;
}

StandModel::Request StandModel::answer() const
{
    return m_nowUs >= m_answerDueUs ? m_request : Request::None;
}

QVector<StandModel::Point> StandModel::takeBlock(int max)
{
    const int limit = qBound(0, max, BlockPoints);
    QVector<Point> block;
    if (m_queue.empty())
        return block;
    const quint16 direction = m_queue.front().direction;
    while (block.size() < limit && !m_queue.empty() && m_queue.front().direction == direction) {
        block.append(m_queue.front());
        m_queue.pop_front();
    }
    return block;
}

void StandModel::startRecording()
{
    m_recording = true;
    m_recordingRateHz = m_sampleRateHz;
    m_sampleOriginUs = m_nowUs;
    m_sampleIndex = 0;
    queuePoint();
    m_sampleIndex = 1;
}

qint64 StandModel::nextSampleUs() const
{
    // From the origin rather than the previous sample, so no rounding accumulates.
    return m_sampleOriginUs + m_sampleIndex * 1000000 / m_recordingRateHz;
}

void StandModel::queuePoint()
{
    m_queue.push_back({strokeDirection(), liveForce(), distance()});
    if (int(m_queue.size()) > m_queueLimit) {
        m_queue.pop_front();
        ++m_dropped;
    }
}

quint16 StandModel::strokeDirection() const
{
    switch (m_motion) {
    case Motion::TestForward:
        return Forward;
    case Motion::TestReturn:
        return Return;
    case Motion::JogDown:
        return m_mode == Push ? Forward : Return;
    case Motion::JogUp:
        return m_mode == Pull ? Forward : Return;
    case Motion::Idle:
        break;
    }
    return Forward;
}

void StandModel::mountSpecimen()
{
    m_specimenMode = m_mode;
    m_contactMm = m_positionMm + strokeSign(m_mode) * m_specimen.slackMm;
    m_maxDeformationMm = 0.0;
    m_broken = false;
}

void StandModel::loadSpecimen()
{
    const double deformation = strokeSign(m_specimenMode) * (m_positionMm - m_contactMm);
    m_maxDeformationMm = qMax(m_maxDeformationMm, deformation);
    if (m_specimen.breakMm > 0.0 && deformation >= m_specimen.breakMm)
        m_broken = true;
}

double StandModel::envelope(double deformationMm) const
{
    const double k = m_specimen.stiffnessNPerMm;
    const double yieldMm = m_specimen.yieldForceN / k;
    if (deformationMm <= yieldMm)
        return k * deformationMm;
    return m_specimen.yieldForceN + m_specimen.hardening * k * (deformationMm - yieldMm);
}

double StandModel::rawForce() const
{
    if (m_broken)
        return 0.0;
    // Back from the deepest point reached the specimen unloads along its
    // stiffness; past its permanent set the head has left it.
    const double deformation = strokeSign(m_specimenMode) * (m_positionMm - m_contactMm);
    const double unloaded = m_specimen.stiffnessNPerMm * (m_maxDeformationMm - deformation);
    const double magnitude = qMax(0.0, envelope(m_maxDeformationMm) - unloaded);
    return strokeSign(m_specimenMode) * magnitude;
}
