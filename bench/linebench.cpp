// How close the acquisition thread comes to what a 115200-baud line can carry.
//
// The real modbusThread talks to the simulated stand through an RtuSlave paced like
// the line. The thread is driven alone, not through the main window: the line rate is
// decided by its loop alone, which never waits for the GUI (points leave it as queued
// signals), and the GUI's own intake is curvebench's subject. Its signals are counted
// here on the main thread, queued as the window would receive them.
//
// The stand samples at 5000 Hz, so a full block of 30 points always waits. A push
// test of 100 mm at 300 mm/min gives 20 s of curve acquisition; after Stop the
// loop polls the status, and that is measured for 10 s.
//
// The line model compared against is the one RtuSlave applies: the pty carries bytes
// at once, and the slave sends each reply
//     (request bytes + reply bytes + 3.5) x 10 bits / baud
// after the request came in, so the whole exchange, with its one 3.5-character gap,
// takes place in that delay. A master can at best send its next request the moment
// a reply is in.
//
// For comparison the same block reads are then made for 5 s by a bare libmodbus
// master with nothing else to do: what the pty, the slave and libmodbus allow without
// the program, so the program's own share of any shortfall can be told apart.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <modbus.h>

#include <cstdio>
#include <functional>

#include "device/modbusthread.h"
#include "device/registers.h"
#include "sim/standsimulator.h"

namespace {

constexpr int Baud = 115200;
constexpr int BitsPerCharacter = 10;
constexpr double GapCharacters = 3.5;
constexpr int RequestBytes = 8;  // address, function, start, count, CRC
constexpr int CurveRegisters = Registers::CurveCount;
constexpr int StatusRegisters = Registers::StatusCount;
constexpr int PointsPerBlock = Registers::CurveSlots;
constexpr int PollIntervalMs = 200;

constexpr int WarmUpMs = 1000;
constexpr int CurveMeasureMs = 18000;
constexpr int IdleSettleMs = 500;
constexpr int IdleMeasureMs = 10000;
constexpr int BareMeasureMs = 5000;

// Address, function, byte count, two bytes a register, CRC.
constexpr int replyBytes(int registers) { return 3 + 2 * registers + 2; }

double exchangeMs(int registers)
{
    return (RequestBytes + replyBytes(registers) + GapCharacters) * BitsPerCharacter * 1000.0 / Baud;
}

void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Requests of one kind whose arrival falls in [fromMs, toMs), as the slave logged them.
struct Traffic
{
    int requests = 0;
    double periodMs = 0;      // mean time from one request to the next
    double slaveMs = 0;       // mean time from a request to its reply (the paced line)
    double turnaroundMs = 0;  // mean time from a reply to the next request (the master)
};

Traffic traffic(const QVector<SlaveRequest> &log, const std::function<bool(const SlaveRequest &)> &kind,
                qint64 fromMs, qint64 toMs)
{
    QVector<SlaveRequest> picked;
    for (const SlaveRequest &r : log)
        if (kind(r) && r.receivedMs >= fromMs && r.receivedMs < toMs && r.repliedMs >= 0)
            picked.append(r);
    Traffic t;
    t.requests = picked.size();
    if (picked.size() < 2)
        return t;
    const int gaps = picked.size() - 1;
    t.periodMs = double(picked.last().receivedMs - picked.first().receivedMs) / gaps;
    for (int i = 0; i < gaps; ++i) {
        t.slaveMs += double(picked[i].repliedMs - picked[i].receivedMs) / gaps;
        t.turnaroundMs += double(picked[i + 1].receivedMs - picked[i].repliedMs) / gaps;
    }
    return t;
}

bool isRead(const SlaveRequest &r, int address, int count)
{
    return r.function == 0x04 && r.address == address && r.count == count;
}

bool isCurveRead(const SlaveRequest &r)
{
    return isRead(r, Registers::CurveStart, CurveRegisters);
}

// Reads curve blocks back to back for `ms`; false when the port cannot be had.
bool readBlocksBare(const QString &port, int ms)
{
    modbus_t *ctx = modbus_new_rtu(port.toLatin1().constData(), Baud, 'N', 8, 1);
    if (!ctx || modbus_connect(ctx) == -1) {
        modbus_free(ctx);
        return false;
    }
    modbus_set_slave(ctx, 1);
    uint16_t words[CurveRegisters];
    const qint64 end = RtuSlave::nowMs() + ms;
    while (RtuSlave::nowMs() < end)
        modbus_read_input_registers(ctx, Registers::CurveStart, CurveRegisters, words);
    modbus_close(ctx);
    modbus_free(ctx);
    return true;
}

void printBlockRow(const char *what, const Traffic &t, double maxBlocks)
{
    const double blocks = 1000.0 / t.periodMs;
    std::printf("  %-34s %12.2f %12.2f %7.1f%%   %6.3f + %5.3f ms (%d blocks)\n", what, blocks, maxBlocks,
                100 * blocks / maxBlocks, t.slaveMs, t.turnaroundMs, t.requests);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qRegisterMetaType<QVector<float>>();
    qRegisterMetaType<QVector<int>>();

    StandSimulator::Settings settings;
    settings.baud = Baud;
    settings.sampleRateHz = 5000;
    StandSimulator stand(settings);
    if (!stand.start()) {
        std::fprintf(stderr, "linebench: no simulated stand: %s\n", qPrintable(stand.errorString()));
        return 1;
    }

    modbusThread thread;
    Serial_Setting_Type line = thread.serialSetting();
    line.portName = stand.portPath();
    line.baudRate = Baud;
    thread.receiveSerailSetting(line);
    if (!thread.openDevice()) {
        std::fprintf(stderr, "linebench: cannot open %s\n", qPrintable(line.portName));
        return 1;
    }
    qint64 points = 0;
    qint64 states = 0;
    QObject receiver;
    QObject::connect(&thread, &modbusThread::sendCurveData, &receiver, [&points] { ++points; });
    QObject::connect(&thread, &modbusThread::sendCurrentState, &receiver, [&states] { ++states; });
    thread.startPolling();

    std::printf("Curve acquisition for %d s, idle polling for %d s, a bare master for %d s...\n",
                (WarmUpMs + CurveMeasureMs) / 1000, IdleMeasureMs / 1000, BareMeasureMs / 1000);
    std::fflush(stdout);
    thread.startTest(Curve_Setting{0, 0, 300, 100.0f});
    spin(WarmUpMs);
    const qint64 curveFrom = RtuSlave::nowMs();
    const qint64 pointsBefore = points;
    spin(CurveMeasureMs);
    const qint64 curveTo = RtuSlave::nowMs();
    const qint64 curvePoints = points - pointsBefore;

    thread.stopTest();
    spin(IdleSettleMs);
    const qint64 idleFrom = RtuSlave::nowMs();
    const qint64 statesBefore = states;
    spin(IdleMeasureMs);
    const qint64 idleTo = RtuSlave::nowMs();
    const qint64 idleStates = states - statesBefore;

    thread.stopRunning();
    thread.wait();
    thread.closeDevice();

    // The stopped test left far more points queued than the bare master can read.
    const qint64 bareFrom = RtuSlave::nowMs();
    if (!readBlocksBare(stand.portPath(), BareMeasureMs)) {
        std::fprintf(stderr, "linebench: cannot open %s for the bare master\n", qPrintable(line.portName));
        return 1;
    }
    const qint64 bareTo = RtuSlave::nowMs();
    const QVector<SlaveRequest> log = stand.line().requests();
    stand.stop();

    const Traffic curve = traffic(log, isCurveRead, curveFrom, curveTo);
    const Traffic bare = traffic(log, isCurveRead, bareFrom, bareTo);
    const Traffic idle = traffic(log, [](const SlaveRequest &r) { return isRead(r, 0, StatusRegisters); },
                                 idleFrom, idleTo);
    const double curveSeconds = (curveTo - curveFrom) / 1000.0;

    const double blockLineMs = exchangeMs(CurveRegisters);
    const double maxBlocks = 1000.0 / blockLineMs;
    const double maxPoints = maxBlocks * PointsPerBlock;
    const double blocks = 1000.0 / curve.periodMs;
    const double pointsPerSecond = curvePoints / curveSeconds;
    const double statusLineMs = exchangeMs(StatusRegisters);
    const double idleTarget = PollIntervalMs + statusLineMs;

    std::printf("\nLine %d baud, %d bits a character; an exchange takes (request + reply + %.1f) characters.\n",
                Baud, BitsPerCharacter, GapCharacters);
    std::printf("\nCurve block: %d registers, request %d B, reply %d B, line time %.3f ms\n", CurveRegisters,
                RequestBytes, replyBytes(CurveRegisters), blockLineMs);
    std::printf("  %-34s %12s %12s %8s   %s\n", "", "measured", "line max", "share",
                "per block: request to reply (slave) + reply to next request (master)");
    printBlockRow("blocks/s, the program", curve, maxBlocks);
    printBlockRow("blocks/s, bare libmodbus master", bare, maxBlocks);
    std::printf("  %-34s %12.1f %12.1f %7.1f%%\n", "points/s, the program's signals", pointsPerSecond, maxPoints,
                100 * pointsPerSecond / maxPoints);
    std::printf("  goal, at least 97%% of the line maximum: %s\n", blocks >= 0.97 * maxBlocks ? "met" : "MISSED");

    std::printf("\nIdle polling: status read of %d registers, request %d B, reply %d B, line time %.3f ms\n",
                StatusRegisters, RequestBytes, replyBytes(StatusRegisters), statusLineMs);
    std::printf("  %-34s %12s %12s %8s\n", "", "measured", "expected", "off by");
    std::printf("  %-34s %12.2f %12.2f %7.1f%%\n", "ms per status read", idle.periodMs, idleTarget,
                100 * (idle.periodMs - idleTarget) / idleTarget);
    std::printf("  %-34s %12.3f %12.3f\n", "  request to reply (slave, paced)", idle.slaveMs, statusLineMs);
    std::printf("  %-34s %12.3f %12d\n", "  reply to next request (master)", idle.turnaroundMs, PollIntervalMs);
    std::printf("  %-34s %12.2f %12.2f\n", "states/s (sendCurrentState received)",
                idleStates / ((idleTo - idleFrom) / 1000.0), 1000.0 / idleTarget);
    std::printf("  goal, within 5%% of 200 ms + one read: %s\n",
                qAbs(idle.periodMs - idleTarget) <= 0.05 * idleTarget ? "met" : "MISSED");
    return 0;
}
