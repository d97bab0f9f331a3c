#pragma once

#include "sim/registerbank.h"
#include "sim/standmodel.h"

#include <functional>
#include <mutex>

// The stand controller behind an RtuSlave: a StandModel kept at the clock's
// time and shown through the controller's registers.
//
// Input registers: 0-1 force in N (live or held peak), 2-3 distance in mm,
// 4 type number, 5 decimals, 6-7 the force zero offset in N, 8 unit code,
// 9 decimals, 10 auto flag, 11 display mode; 100..221 the curve block
// (direction code, point count, 30 slots of force and distance), refilled
// from the model's queue by every read that starts at 100. Floats take two
// registers, bits 0..15 in the lower-numbered one.
//
// Holding registers 0..99 are the command mailbox: a write starting at 0 is
// a command, its parameters read from the mailbox after the write. Requests
// 5 and 7 clear what the mailbox held beyond their own words; once the
// model's processing delay has passed, register 0 reads 6 or 8 and the
// answer follows it. Other addresses just hold what is written.
class SimulatedStand : public RegisterBank
{
public:
    // Milliseconds on any monotonic scale; the model's time is measured
    // from the clock's reading at construction.
    using Clock = std::function<qint64()>;

    static constexpr int InputRegisterCount = 300;
    static constexpr int HoldingRegisterCount = 100;
    static constexpr quint16 CurveBlockAddress = 100;

    // Without a clock, the steady clock.
    explicit SimulatedStand(Clock clock = Clock(), quint32 seed = 1);

    // Runs `f` on the model under the lock, with the model brought to the
    // clock's time first. `f` must not keep the reference.
    template <typename F>
    auto withModel(F &&f)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        advanceLocked();
        return f(m_model);
    }

    bool readInputRegisters(quint16 address, quint16 count, QVector<quint16> &out) override;
    bool readHoldingRegisters(quint16 address, quint16 count, QVector<quint16> &out) override;
    bool writeHoldingRegisters(quint16 address, const QVector<quint16> &words) override;

private:
    void advanceLocked();
    void fillStatusLocked();
    void fillCurveBlockLocked();
    void executeCommandLocked(int writtenWords);
    void writeAnswerLocked();

    std::mutex m_mutex;
    const Clock m_clock;
    const qint64 m_epochMs;
    StandModel m_model;
    QVector<quint16> m_input;
    QVector<quint16> m_holding;
    bool m_answerOwed = false;  // a request is waiting for its answer to be written
};
