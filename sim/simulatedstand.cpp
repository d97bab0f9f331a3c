#include "sim/simulatedstand.h"

#include "sim/controllerdouble.h"

#include <QPointF>

#include <chrono>

namespace {

enum Command : quint16 {
    Start = 3,
    Stop = 4,
    RequestParameters = 5,
    ParametersReply = 6,
    RequestData = 7,
    DataReply = 8,
    ChangeParameters = 9,
    Zero = 10,
    DistanceZero = 11,
    SwitchAuto = 12,
    SwitchTestMode = 13,
    MoveUp = 14,
    MoveDown = 15,
    MoveUpRecord = 16,
    MoveDownRecord = 17,
    SwitchUnit = 18,
};

qint64 steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool inRange(const QVector<quint16> &image, quint16 address, int count)
{
    return count >= 0 && int(address) + count <= image.size();
}

float floatAt(const QVector<quint16> &image, int address)
{
    return ControllerDouble::toFloat(image.at(address), image.at(address + 1));
}

void writeFloat(QVector<quint16> &image, int address, float value)
{
    image[address] = ControllerDouble::lowWord(value);
    image[address + 1] = ControllerDouble::highWord(value);
}

} // namespace

SimulatedStand::SimulatedStand(Clock clock, quint32 seed)
    : m_clock(clock ? std::move(clock) : Clock(steadyMs))
    , m_epochMs(m_clock())
    , m_model(seed)
    , m_input(InputRegisterCount, 0)
    , m_holding(HoldingRegisterCount, 0)
{
}

bool SimulatedStand::readInputRegisters(quint16 address, quint16 count, QVector<quint16> &out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_input, address, count))
        return false;
    advanceLocked();
    fillStatusLocked();
    if (address == CurveBlockAddress)
        fillCurveBlockLocked();
    out = m_input.mid(address, count);
    return true;
}

bool SimulatedStand::readHoldingRegisters(quint16 address, quint16 count, QVector<quint16> &out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_holding, address, count))
        return false;
    advanceLocked();
    if (m_answerOwed && m_model.answer() != StandModel::Request::None)
        writeAnswerLocked();
    out = m_holding.mid(address, count);
    return true;
}

bool SimulatedStand::writeHoldingRegisters(quint16 address, const QVector<quint16> &words)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_holding, address, words.size()))
        return false;
    advanceLocked();
    std::copy(words.begin(), words.end(), m_holding.begin() + address);
    if (address == 0 && !words.isEmpty())
        executeCommandLocked(words.size());
    return true;
}

void SimulatedStand::advanceLocked()
{
    m_model.advanceTo(m_clock() - m_epochMs);
}

void SimulatedStand::fillStatusLocked()
{
    writeFloat(m_input, 0, m_model.shownForce());
    writeFloat(m_input, 2, m_model.distance());
    m_input[4] = quint16(m_model.typeNumber());
    m_input[5] = quint16(m_model.decimals());
    writeFloat(m_input, 6, m_model.forceOffset());
    m_input[8] = quint16(m_model.unit());
    m_input[9] = quint16(m_model.decimals());
    m_input[10] = m_model.autoMode() ? 1 : 0;
    m_input[11] = quint16(m_model.displayMode());
}

void SimulatedStand::fillCurveBlockLocked()
{
    const QVector<StandModel::Point> points = m_model.takeBlock();
    QVector<QPointF> curve;
    curve.reserve(points.size());
    for (const StandModel::Point &point : points)
        curve.append(QPointF(double(point.distance), double(point.force)));
    // An empty block carries no direction.
    const quint16 direction = points.isEmpty() ? 0 : points.first().direction;
    const QVector<quint16> block = ControllerDouble::curveBlock(direction, curve);
    std::copy(block.begin(), block.end(), m_input.begin() + CurveBlockAddress);
}

void SimulatedStand::executeCommandLocked(int writtenWords)
{
    switch (m_holding.at(0)) {
    case Start: {
        StandModel::TestSetting setting;
        setting.mode = m_holding.at(2);
        setting.distanceMode = m_holding.at(3);
        setting.speedMmPerMin = m_holding.at(4);
        setting.distanceMm = floatAt(m_holding, 5);
        m_model.startTest(setting);
        break;
    }
    case Stop:
        m_model.stop();
        break;
    case RequestParameters:
    case RequestData:
        // The previous answer must not pass for this one's.
        std::fill(m_holding.begin() + writtenWords, m_holding.end(), 0);
        m_model.request(m_holding.at(0) == RequestParameters ? StandModel::Request::Parameters
                                                              : StandModel::Request::Data);
        m_answerOwed = true;
        break;
    case ChangeParameters: {
        StandModel::StoredParameters parameters;
        for (int i = 0; i < 3; ++i)
            parameters.pointSet[i] = floatAt(m_holding, 1 + 2 * i);
        parameters.systemSet = {m_holding.at(7), m_holding.at(8)};
        m_model.setStoredParameters(parameters);
        break;
    }
    case Zero:
        m_model.zeroForce();
        break;
    case DistanceZero:
        m_model.zeroDistance();
        break;
    case SwitchAuto:
        m_model.switchAuto();
        break;
    case SwitchTestMode:
        m_model.switchDisplayMode();
        break;
    case MoveUp:
    case MoveDown:
    case MoveUpRecord:
    case MoveDownRecord: {
        const quint16 code = m_holding.at(0);
        const bool up = code == MoveUp || code == MoveUpRecord;
        const bool record = code == MoveUpRecord || code == MoveDownRecord;
        m_model.jog(up ? StandModel::Jog::Up : StandModel::Jog::Down, record);
        break;
    }
    case SwitchUnit:
        m_model.switchUnit();
        break;
    default:
        break;  // not a command of this controller: the words just stay
    }
}

void SimulatedStand::writeAnswerLocked()
{
    m_answerOwed = false;
    if (m_model.answer() == StandModel::Request::Parameters) {
        const StandModel::StoredParameters parameters = m_model.storedParameters();
        m_holding[0] = ParametersReply;
        for (int i = 0; i < 3; ++i)
            writeFloat(m_holding, 1 + 2 * i, parameters.pointSet[i]);
        m_holding[7] = parameters.systemSet[0];
        m_holding[8] = parameters.systemSet[1];
        return;
    }
    const StandModel::StoredData data = m_model.storedData();
    m_holding[0] = DataReply;
    for (int i = 0; i < 4; ++i)
        m_holding[1 + i] = data.systemData[i];
    for (int i = 0; i < 10; ++i)
        writeFloat(m_holding, 5 + 2 * i, data.pointData[i]);
}
