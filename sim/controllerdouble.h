#pragma once

#include "sim/registerbank.h"

#include <QPointF>
#include <QQueue>
#include <QVector>

#include <functional>
#include <mutex>

// A plain register image standing in for the stand controller in tests:
// input and holding registers that tests set and inspect, and a queue of
// scripted curve blocks handed out one per read of the curve block. It does
// nothing on its own; a test (or a fuller simulation) decides how the
// "controller" reacts, through the write hook and delayed writes.
//
// Floats take two registers, bits 0..15 in the lower-numbered one. All
// functions are thread-safe; RtuSlave calls the RegisterBank part from its
// serving thread.
class ControllerDouble : public RegisterBank
{
public:
    using HoldingWriteHook = std::function<void(quint16 address, const QVector<quint16> &words)>;

    static constexpr int InputRegisterCount = 300;
    static constexpr int HoldingRegisterCount = 100;
    static constexpr quint16 CurveBlockAddress = 100;
    static constexpr int CurveBlockSize = 122;
    static constexpr int CurveBlockSlots = 30;

    ControllerDouble();

    // Addresses outside the image are ignored by setters (with a warning)
    // and read as 0 by getters.
    void setInput(quint16 address, quint16 word);
    void setInputFloat(quint16 address, float value);
    quint16 input(quint16 address) const;
    float inputFloat(quint16 address) const;

    void setHolding(quint16 address, quint16 word);
    void setHoldingWords(quint16 address, const QVector<quint16> &words);
    void setHoldingFloat(quint16 address, float value);
    quint16 holding(quint16 address) const;
    float holdingFloat(quint16 address) const;

    // Writes `words` from `address` once `delayMs` have passed: a controller
    // that answers a request some time after it came. Takes effect at the
    // first access after the deadline, so a read just before it still sees
    // the old words.
    void scheduleHoldingWrite(quint16 address, const QVector<quint16> &words, int delayMs);

    // The next read of input registers starting at CurveBlockAddress first
    // copies the oldest queued block into registers 100..221. A block shorter
    // than CurveBlockSize is padded with zeros, a longer one cut. With the
    // queue empty the registers answer with what they hold, which is the
    // last block handed out: queue an empty block to stop a stream of points.
    void queueCurveBlock(const QVector<quint16> &block);
    int queuedCurveBlocks() const;

    // A curve block with direction code `direction` (1 forward, 2 return),
    // point count points.size() and the first CurveBlockSlots points as
    // (distance = x, force = y).
    static QVector<quint16> curveBlock(quint16 direction, const QVector<QPointF> &points);

    // Called on the slave's thread after a write has landed and before the
    // reply goes out, without the lock held, so the hook may call any
    // function here (typically setHoldingWords or scheduleHoldingWrite).
    // It must not block: the master is waiting for the reply.
    void setHoldingWriteHook(HoldingWriteHook hook);

    bool readInputRegisters(quint16 address, quint16 count, QVector<quint16> &out) override;
    bool readHoldingRegisters(quint16 address, quint16 count, QVector<quint16> &out) override;
    bool writeHoldingRegisters(quint16 address, const QVector<quint16> &words) override;

    static quint16 lowWord(float value);
    static quint16 highWord(float value);
    static float toFloat(quint16 low, quint16 high);

private:
    struct ScheduledWrite {
        qint64 dueMs;
        quint16 address;
        QVector<quint16> words;
    };

    void applyDueWritesLocked() const;
    static bool writeLocked(QVector<quint16> &image, quint16 address, const QVector<quint16> &words);

    mutable std::mutex m_mutex;
    QVector<quint16> m_input;
    // A scheduled write belongs to the holding registers' state; the getters
    // apply it when due, hence mutable.
    mutable QVector<quint16> m_holding;
    mutable QVector<ScheduledWrite> m_scheduled;
    QQueue<QVector<quint16>> m_curveBlocks;
    HoldingWriteHook m_hook;
};
