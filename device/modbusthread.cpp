#include "device/modbusthread.h"

#include <modbus.h>

#include <QMutexLocker>
#include <cerrno>

#include "device/serialports.h"

namespace {
constexpr int PollIntervalMs = 200;
constexpr int AnswerWaitMs = 200;
constexpr int TestFailLimit = 200;
constexpr int JogFailLimit = 20;
constexpr int PortRetryMs = 50;

// A timeout has already waited for the controller and a bad reply took its time on
// the line, so both are retried at once. An error of the port itself (EIO when the
// adapter is pulled out, EBADF, ENXIO, ...) comes back in microseconds and would come
// back forever: retrying at once would only burn a core. libmodbus reports the
// first kind as ETIMEDOUT or its own codes above MODBUS_ENOBASE, the port's errors
// as plain errno values. The duration of the read cannot tell them apart: a bad
// reply on a fast line fails as quickly as a dead port.
bool isPortError(int error)
{
    return error != ETIMEDOUT && error < MODBUS_ENOBASE;
}
} // namespace

modbusThread::modbusThread(QObject *parent)
    : QThread(parent)
    , setting{defaultPortName(), 115200, 8, 1, 'N'}
{
    // Crosses to the GUI thread queued.
    qRegisterMetaType<AcquisitionQuality>();
}

modbusThread::~modbusThread()
{
    releaseContext();
}

void modbusThread::releaseContext()
{
    if (!ctx)
        return;
    modbus_close(ctx);
    modbus_free(ctx);
    ctx = nullptr;
}

bool modbusThread::openDevice()
{
    releaseContext();
    ctx = modbus_new_rtu(setting.portName.toLatin1().constData(), setting.baudRate, setting.parity,
                         setting.dataBits, setting.stopBits);
    if (!ctx)
        return false;
    if (modbus_connect(ctx) == -1) {
        modbus_free(ctx);
        ctx = nullptr;
        return false;
    }
    lineDirty = false;
    curveMode = false;
    return true;
}

bool modbusThread::closeDevice()
{
    releaseContext();
    return true;
}

Serial_Setting_Type modbusThread::serialSetting() const
{
    return setting;
}

void modbusThread::receiveSerailSetting(Serial_Setting_Type newSetting)
{
    setting = newSetting;
}

void modbusThread::startPolling(Priority priority)
{
    running = true;
    start(priority);
}

void modbusThread::stopRunning()
{
    running = false;
}

// A reply that came after its request timed out stays in the line's buffer and would
// be taken as the answer to the next request; drop it before asking again.
void modbusThread::prepareLine()
{
    if (lineDirty) {
        modbus_flush(ctx);
        lineDirty = false;
    }
    modbus_set_slave(ctx, Registers::SlaveAddress);
}

bool modbusThread::readInputs(int address, int count, uint16_t *dest)
{
    prepareLine();
    const bool complete = modbus_read_input_registers(ctx, address, count, dest) == count;
    lineDirty = !complete;
    return complete;
}

int modbusThread::readHolding(int address, int count, uint16_t *dest)
{
    prepareLine();
    const int n = modbus_read_registers(ctx, address, count, dest);
    lineDirty = n != count;
    return n;
}

void modbusThread::write(const Registers::Words &words)
{
    prepareLine();
    lineDirty = modbus_write_registers(ctx, Registers::MailboxStart, words.size(), words.constData())
                != words.size();
}

// The loop takes the lock again the moment it lets go of it, and a lock does not
// queue its waiters: without a word, a Stop could wait behind a string of curve reads
// that each take up to the response timeout. So the loop lets waiting commands go first.
modbusThread::CommandLock::CommandLock(modbusThread &thread)
    : thread(thread)
{
    ++thread.commandsWaiting;
    thread.mutex.lock();
    --thread.commandsWaiting;
}

modbusThread::CommandLock::~CommandLock()
{
    thread.mutex.unlock();
}

void modbusThread::yieldToCommands()
{
    while (commandsWaiting > 0)
        QThread::msleep(1);
}

void modbusThread::sendCommand(const Registers::Words &words)
{
    CommandLock lock(*this);
    if (ctx)
        write(words);
}

uint16_t modbusThread::readMachineType()
{
    CommandLock lock(*this);
    uint16_t word = 0;
    if (ctx && readInputs(Registers::MachineTypeRegister, 1, &word))
        return word;
    return 0;
}

int modbusThread::readDecimals()
{
    CommandLock lock(*this);
    uint16_t word = 0;
    if (ctx && readInputs(Registers::DecimalsRegister, 1, &word))
        return word;
    return -1;
}

void modbusThread::startTest(Curve_Setting curveSetting)
{
    CommandLock lock(*this);
    ++curveStarts;  // before the flag: a loop that sees the flag sees the start
    curveMode = true;
    failLimit = TestFailLimit;
    if (ctx)
        write(Registers::startTestWords(curveSetting));
}

void modbusThread::stopTest()
{
    CommandLock lock(*this);
    if (ctx)
        write(Registers::stopTestWords());
    curveMode = false;
}

void modbusThread::moveUpRecord()
{
    ++curveStarts;
    curveMode = true;
    failLimit = JogFailLimit;
    sendCommand(Registers::commandWords(Registers::MoveUpRecord));
}

void modbusThread::moveDownRecord()
{
    ++curveStarts;
    curveMode = true;
    failLimit = JogFailLimit;
    sendCommand(Registers::commandWords(Registers::MoveDownRecord));
}

void modbusThread::moveUp() { sendCommand(Registers::commandWords(Registers::MoveUp)); }
void modbusThread::moveDown() { sendCommand(Registers::commandWords(Registers::MoveDown)); }
void modbusThread::zero() { sendCommand(Registers::commandWords(Registers::Zero)); }
void modbusThread::distanceZero() { sendCommand(Registers::commandWords(Registers::DistanceZero)); }
void modbusThread::switchAuto() { sendCommand(Registers::commandWords(Registers::SwitchAuto)); }
void modbusThread::switchTestMode() { sendCommand(Registers::commandWords(Registers::SwitchTestMode)); }
void modbusThread::switchUnit() { sendCommand(Registers::commandWords(Registers::SwitchUnit)); }

void modbusThread::changeSystemSet(QVector<float> pointSet, QVector<int> systemSet)
{
    const Registers::Words words = Registers::changeSystemSetWords(pointSet, systemSet);
    if (!words.isEmpty())
        sendCommand(words);
}

// Writes a request into the mailbox and reads the answer back, holding the lock
// throughout so that no poll comes between the request and its answer. The caller
// must still hold the lock while it emits the answer.
bool modbusThread::requestAnswer(const Registers::Words &request, int answerCount, uint16_t *answer)
{
    write(request);
    QThread::msleep(AnswerWaitMs);
    return readHolding(Registers::MailboxStart, answerCount, answer) == answerCount;
}

void modbusThread::getSystemSet(int index)
{
    CommandLock lock(*this);
    if (!ctx)
        return;
    uint16_t answer[Registers::SystemSetAnswerCount] = {};
    Registers::SystemSet decoded;
    if (requestAnswer(Registers::systemSetRequestWords(index), Registers::SystemSetAnswerCount, answer)
        && Registers::decodeSystemSetAnswer(answer, Registers::SystemSetAnswerCount, &decoded))
        emit sendSystemSetting(decoded.pointSet, decoded.systemSet);
}

void modbusThread::getSystemData(int index, int scanIndex)
{
    CommandLock lock(*this);
    if (!ctx)
        return;
    uint16_t answer[Registers::SystemDataAnswerCount] = {};
    Registers::SystemData decoded;
    if (requestAnswer(Registers::systemDataRequestWords(index, scanIndex), Registers::SystemDataAnswerCount,
                      answer)
        && Registers::decodeSystemDataAnswer(answer, Registers::SystemDataAnswerCount, &decoded))
        emit sendSystemData(decoded.pointData, decoded.systemData);
}

void modbusThread::pollState()
{
    uint16_t words[Registers::StatusCount];
    bool complete;
    {
        yieldToCommands();
        QMutexLocker lock(&mutex);
        complete = readInputs(Registers::StatusStart, Registers::StatusCount, words);
    }
    reportLinkHealth(linkHealth.statusRead(complete, linkClock.elapsed()));
    if (!complete)
        return;
    const Registers::Status status = Registers::decodeStatus(words);
    emit sendCurrentState(status.fState, status.iState);
}

void modbusThread::pollCurve()
{
    uint16_t words[Registers::CurveCount];
    bool complete;
    bool portFailed;
    {
        yieldToCommands();
        QMutexLocker lock(&mutex);
        complete = readInputs(Registers::CurveStart, Registers::CurveCount, words);
        portFailed = !complete && isPortError(errno);
    }
    ++quality.curveReads;
    Registers::CurveBlock block{true, {}};
    if (complete) {
        block = Registers::decodeCurveBlock(words);
        quality.droppedPoints += block.nonFinite;
    }
    // A block whose every point had to be dropped is as bad as a spoiled reply.
    const bool usable = complete && !(block.nonFinite > 0 && block.points.isEmpty());
    if (!usable)
        ++quality.failedReads;
    reportLinkHealth(linkHealth.curveRead(usable, linkClock.elapsed()));
    if (!usable) {
        // A bad read neither counts nor resets; the next pass retries it.
        if (portFailed)
            QThread::msleep(PortRetryMs);
        return;
    }
    if (block.empty) {
        if (++failCount >= failLimit) {
            curveMode = false;
            failCount = 0;
        }
        return;
    }
    for (const Registers::CurvePoint &point : block.points)
        emit sendCurveData(point.index, point.x, point.y);
    // No status is read while the curve is, so the readouts follow its points.
    if (!block.points.isEmpty())
        emit sendCurrentPointValue(float(block.points.last().x), float(block.points.last().y));
    failCount = 0;
}

// Curve acquisition starts and ends on the GUI thread's commands and on the loop's
// own empty-block limit; the loop notices both at the start of its next pass. A start
// that comes while one runs ends that one first.
bool modbusThread::followCurveAcquisition()
{
    const bool curve = curveMode;
    const unsigned starts = curveStarts;
    if (acquiringCurve && (!curve || starts != followedStart))
        endCurveAcquisition();
    if (curve && !acquiringCurve) {
        acquiringCurve = true;
        followedStart = starts;
        quality = AcquisitionQuality();
    }
    return acquiringCurve;
}

void modbusThread::endCurveAcquisition()
{
    acquiringCurve = false;
    emit sendCurveEnded(quality);
}

void modbusThread::reportLinkHealth(bool changed)
{
    if (changed)
        emit sendLinkHealth(linkHealth.answering());
}

void modbusThread::run()
{
    if (!ctx)
        return;
    linkClock.start();
    linkHealth.reset(linkClock.elapsed());
    // Supersedes a verdict of an earlier connection that may still be queued.
    emit sendLinkHealth(true);
    acquiringCurve = false;
    do {
        if (followCurveAcquisition()) {
            pollCurve();
        } else {
            pollState();
            QThread::msleep(PollIntervalMs);
        }
    } while (running);
    if (acquiringCurve)
        endCurveAcquisition();
}
