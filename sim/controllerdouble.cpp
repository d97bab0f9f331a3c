#include "sim/controllerdouble.h"

#include <QDebug>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

qint64 steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool inRange(const QVector<quint16> &image, quint16 address, int count)
{
    return count >= 0 && int(address) + count <= image.size();
}

quint32 floatBits(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

ControllerDouble::ControllerDouble()
    : m_input(InputRegisterCount, 0)
    , m_holding(HoldingRegisterCount, 0)
{
}

quint16 ControllerDouble::lowWord(float value)
{
    return quint16(floatBits(value) & 0xFFFF);
}

quint16 ControllerDouble::highWord(float value)
{
    return quint16(floatBits(value) >> 16);
}

float ControllerDouble::toFloat(quint16 low, quint16 high)
{
    const quint32 bits = quint32(low) | (quint32(high) << 16);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void ControllerDouble::setInput(quint16 address, quint16 word)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!writeLocked(m_input, address, {word}))
        qWarning("ControllerDouble: no input register %u", unsigned(address));
}

void ControllerDouble::setInputFloat(quint16 address, float value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!writeLocked(m_input, address, {lowWord(value), highWord(value)}))
        qWarning("ControllerDouble: no input registers %u..%u", unsigned(address), unsigned(address) + 1);
}

quint16 ControllerDouble::input(quint16 address) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return address < m_input.size() ? m_input.at(address) : 0;
}

float ControllerDouble::inputFloat(quint16 address) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_input, address, 2))
        return 0.0f;
    return toFloat(m_input.at(address), m_input.at(address + 1));
}

void ControllerDouble::setHolding(quint16 address, quint16 word)
{
    setHoldingWords(address, {word});
}

void ControllerDouble::setHoldingWords(quint16 address, const QVector<quint16> &words)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    applyDueWritesLocked();
    if (!writeLocked(m_holding, address, words))
        qWarning("ControllerDouble: no holding registers %u..%d", unsigned(address), int(address) + words.size() - 1);
}

void ControllerDouble::setHoldingFloat(quint16 address, float value)
{
    setHoldingWords(address, {lowWord(value), highWord(value)});
}

quint16 ControllerDouble::holding(quint16 address) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    applyDueWritesLocked();
    return address < m_holding.size() ? m_holding.at(address) : 0;
}

float ControllerDouble::holdingFloat(quint16 address) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    applyDueWritesLocked();
    if (!inRange(m_holding, address, 2))
        return 0.0f;
    return toFloat(m_holding.at(address), m_holding.at(address + 1));
}

void ControllerDouble::scheduleHoldingWrite(quint16 address, const QVector<quint16> &words, int delayMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_holding, address, words.size())) {
        qWarning("ControllerDouble: no holding registers %u..%d", unsigned(address), int(address) + words.size() - 1);
        return;
    }
    const ScheduledWrite write{steadyMs() + qMax(0, delayMs), address, words};
    // Keep them in due order; writes due at the same time land in the order given.
    const auto at = std::upper_bound(m_scheduled.begin(), m_scheduled.end(), write.dueMs,
                                     [](qint64 due, const ScheduledWrite &w) { return due < w.dueMs; });
    m_scheduled.insert(at, write);
}

void ControllerDouble::queueCurveBlock(const QVector<quint16> &block)
{
    QVector<quint16> sized = block.mid(0, CurveBlockSize);
    sized.resize(CurveBlockSize);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_curveBlocks.enqueue(sized);
}

int ControllerDouble::queuedCurveBlocks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_curveBlocks.size();
}

QVector<quint16> ControllerDouble::curveBlock(quint16 direction, const QVector<QPointF> &points)
{
    QVector<quint16> block(CurveBlockSize, 0);
    block[0] = direction;
    block[1] = quint16(points.size());
    for (int i = 0; i < qMin(points.size(), CurveBlockSlots); ++i) {
        const float force = float(points.at(i).y());
        const float distance = float(points.at(i).x());
        block[2 + 4 * i] = lowWord(force);
        block[3 + 4 * i] = highWord(force);
        block[4 + 4 * i] = lowWord(distance);
        block[5 + 4 * i] = highWord(distance);
    }
    return block;
}

void ControllerDouble::setHoldingWriteHook(HoldingWriteHook hook)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hook = std::move(hook);
}

bool ControllerDouble::readInputRegisters(quint16 address, quint16 count, QVector<quint16> &out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!inRange(m_input, address, count))
        return false;
    if (address == CurveBlockAddress && !m_curveBlocks.isEmpty()) {
        const QVector<quint16> block = m_curveBlocks.dequeue();
        std::copy(block.begin(), block.end(), m_input.begin() + CurveBlockAddress);
    }
    out = m_input.mid(address, count);
    return true;
}

bool ControllerDouble::readHoldingRegisters(quint16 address, quint16 count, QVector<quint16> &out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    applyDueWritesLocked();
    if (!inRange(m_holding, address, count))
        return false;
    out = m_holding.mid(address, count);
    return true;
}

bool ControllerDouble::writeHoldingRegisters(quint16 address, const QVector<quint16> &words)
{
    HoldingWriteHook hook;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        applyDueWritesLocked();
        if (!writeLocked(m_holding, address, words))
            return false;
        hook = m_hook;
    }
    if (hook)
        hook(address, words);
    return true;
}

void ControllerDouble::applyDueWritesLocked() const
{
    if (m_scheduled.isEmpty())
        return;
    const qint64 now = steadyMs();
    int due = 0;
    while (due < m_scheduled.size() && m_scheduled.at(due).dueMs <= now) {
        writeLocked(m_holding, m_scheduled.at(due).address, m_scheduled.at(due).words);
        ++due;
    }
    m_scheduled.remove(0, due);
}

bool ControllerDouble::writeLocked(QVector<quint16> &image, quint16 address, const QVector<quint16> &words)
{
    if (!inRange(image, address, words.size()))
        return false;
    std::copy(words.begin(), words.end(), image.begin() + address);
    return true;
}
