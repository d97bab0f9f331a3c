#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class RegisterBank;

// One request that reached the slave with its address and a valid CRC.
struct SlaveRequest
{
    quint8 function = 0;
    quint16 address = 0;
    quint16 count = 0;
    QVector<quint16> words;  // the words written (0x06, 0x10); empty for reads
    qint64 receivedMs = 0;   // RtuSlave::nowMs() when the frame was complete
    qint64 repliedMs = -1;   // RtuSlave::nowMs() when the reply went out; -1 while none has
};

// A Modbus RTU slave on a pseudo-terminal: the program under test opens
// portPath() as if it were a serial port, and the slave answers functions
// 0x03, 0x04, 0x06 and 0x10 from a RegisterBank.
//
// The slave keeps an fd of its own open on the terminal side. Without it the
// last close by a client would hang up the pty (the master then reads EIO) and
// reset its termios to cooked mode with echo, so a client could not connect a
// second time.
//
// Framing follows the line, not a timer per byte: a complete request with a
// valid CRC is answered at once; bytes that cannot start a known request are
// kept until the line has been silent for SilenceMs and then discarded, which
// is how an RTU slave resynchronises on the inter-frame gap. A frame that
// is complete, addressed to this slave, has a valid CRC but an unknown
// function gets exception 01 after that silence.
//
// All public functions are thread-safe. The bank is called from the serving
// thread; faults, delays and the log may be changed and read from any thread.
class RtuSlave
{
public:
    // Every fault but Exception spoils only the reply: the request itself is
    // carried out, as when a reply is lost on the line.
    enum class Fault {
        None,
        Silent,     // no reply at all
        BadCrc,     // the reply's CRC is inverted
        Truncated,  // the last TruncatedBytes bytes of the reply are not sent
        Exception,  // exception 04 (slave device failure) instead of the reply; the bank is not called
        Late,       // the reply goes out after the fault's delay, on top of any other delay
    };

    static constexpr int SilenceMs = 20;
    static constexpr int TruncatedBytes = 3;
    static constexpr int MaxLoggedRequests = 100000;

    explicit RtuSlave(RegisterBank *bank, quint8 slaveAddress = 1);
    ~RtuSlave();
    RtuSlave(const RtuSlave &) = delete;
    RtuSlave &operator=(const RtuSlave &) = delete;

    // Opens a new pty and starts serving; false (see errorString) when the pty
    // cannot be had. After stop() or hangUp() it may be started again, on a
    // new path.
    bool start();
    // Ends and joins the serving thread and closes the pty (see hangUp).
    // Prompt even while a delayed reply is waiting: that reply is not sent.
    // Called from inside a RegisterBank callback it only asks the thread to
    // end; the pty is closed by the next stop() from outside or the destructor.
    void stop();
    bool isRunning() const;

    // The terminal side, "/dev/pts/N": what the program is given as its port.
    QString portPath() const;
    QString errorString() const;

    // Applies `fault` to the next `count` replies (-1: until changed).
    // `lateMs` is the extra delay of Fault::Late. Requests that get no reply
    // because they are malformed or for another address do not count.
    void setFault(Fault fault, int count = -1, int lateMs = 700);
    void clearFault();
    // The fault the next reply will get.
    Fault fault() const;

    // A delay before every reply, in ms (default 0).
    void setReplyDelay(int ms);
    // Delays every reply further by the time a line at `baud` would take:
    // 10 bits per byte of request and reply plus a 3.5-character gap.
    // 0 turns it off (the default).
    void setLinePacing(int baud);

    // Simulates an unplugged adapter; the same as stop(), named for what the
    // client sees: closing the pty's master side hangs the terminal up, so a
    // client that has the port open gets errors on its next write or read
    // (without waiting for a timeout), and the path disappears, so opening it
    // again fails.
    void hangUp();

    QVector<SlaveRequest> requests() const;
    int requestCount() const;
    void clearRequests();

    // The clock of SlaveRequest's times: monotonic, in milliseconds.
    static qint64 nowMs();
    // CRC-16/MODBUS (poly 0xA001, init 0xFFFF); sent low byte first.
    static quint16 crc16(const quint8 *data, int length);

private:
    struct FaultState {
        Fault fault = Fault::None;
        int remaining = 0;
        int lateMs = 0;
    };

    void serve();
    void processBuffer();
    void handleSilence();
    void handleRequest(const std::vector<quint8> &frame);
    // Fills `request` from the frame; 0, or the exception code it deserves.
    quint8 decodeRequest(const std::vector<quint8> &frame, SlaveRequest &request) const;
    std::vector<quint8> execute(const SlaveRequest &request);
    std::vector<quint8> exceptionReply(quint8 function, quint8 code) const;
    void sendReply(const std::vector<quint8> &reply, qint64 delayUs, qint64 logIndex);
    bool waitMicroseconds(qint64 us);
    bool stopRequested() const;
    FaultState takeFault();
    qint64 logRequest(const SlaveRequest &request);
    void logReply(qint64 logIndex, qint64 repliedMs);
    void closeFds();

    RegisterBank *const m_bank;
    const quint8 m_address;

    std::mutex m_lifecycle;  // serialises start() and stop()
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    int m_masterFd = -1;
    int m_slaveFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;

    // Touched only by the serving thread.
    std::vector<quint8> m_buffer;
    qint64 m_lastByteMs = 0;

    mutable std::mutex m_mutex;  // guards everything below
    QString m_portPath;
    QString m_error;
    FaultState m_fault;
    int m_replyDelayMs = 0;
    int m_baud = 0;
    std::deque<SlaveRequest> m_log;
    qint64 m_logDropped = 0;  // entries removed from the log's front so far
};
