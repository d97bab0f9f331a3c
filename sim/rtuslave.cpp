#include "sim/rtuslave.h"

#include "sim/registerbank.h"

#include <chrono>
#include <cstring>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The longest RTU frame is 256 bytes; anything well past that without a
// silence is noise that would otherwise grow the buffer without limit.
constexpr size_t MaxBufferedBytes = 1024;

// How long a reply may wait for room in the pty before it is given up.
constexpr int WriteStallMs = 100;

quint16 bigEndian(const std::vector<quint8> &bytes, size_t at)
{
    return quint16((bytes[at] << 8) | bytes[at + 1]);
}

void appendBigEndian(std::vector<quint8> &bytes, quint16 word)
{
    bytes.push_back(quint8(word >> 8));
    bytes.push_back(quint8(word & 0xFF));
}

void appendCrc(std::vector<quint8> &bytes)
{
    const quint16 crc = RtuSlave::crc16(bytes.data(), int(bytes.size()));
    bytes.push_back(quint8(crc & 0xFF));
    bytes.push_back(quint8(crc >> 8));
}

bool crcMatches(const std::vector<quint8> &bytes, size_t length)
{
    if (length < 4 || bytes.size() < length)
        return false;
    const quint16 crc = RtuSlave::crc16(bytes.data(), int(length - 2));
    return bytes[length - 2] == (crc & 0xFF) && bytes[length - 1] == (crc >> 8);
}

// Length of the request that starts the buffer: > 0 when known, 0 when more
// bytes are needed to tell, -1 when the function is not one we frame.
int requestLength(const std::vector<quint8> &bytes)
{
    if (bytes.size() < 2)
        return 0;
    switch (bytes[1]) {
    case 0x03:
    case 0x04:
    case 0x06:
        return 8;
    case 0x10:
        return bytes.size() < 7 ? 0 : 9 + bytes[6];
    default:
        return -1;
    }
}

bool makeRaw(int fd)
{
    termios tio;
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool setFlag(int fd, int getCmd, int setCmd, int flag)
{
    const int flags = ::fcntl(fd, getCmd);
    return flags >= 0 && ::fcntl(fd, setCmd, flags | flag) == 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(::strerror(errno)));
}

} // namespace

RtuSlave::RtuSlave(RegisterBank *bank, quint8 slaveAddress)
    : m_bank(bank)
    , m_address(slaveAddress)
{
}

RtuSlave::~RtuSlave()
{
    stop();
}

bool RtuSlave::start()
{
    std::lock_guard<std::mutex> lifecycle(m_lifecycle);
    if (m_running)
        return true;
    if (m_thread.joinable())
        m_thread.join();
    closeFds();

    auto fail = [this](const char *what) {
        const QString error = systemError(what);
        closeFds();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = error;
        return false;
    };

    if (::openpty(&m_masterFd, &m_slaveFd, nullptr, nullptr, nullptr) != 0) {
        m_masterFd = m_slaveFd = -1;
        return fail("openpty");
    }
    char name[128];
    if (::ptsname_r(m_masterFd, name, sizeof name) != 0)
        return fail("ptsname_r");
    // Raw both ways: a cooked pty echoes what it receives back to the sender
    // and translates CR/LF inside binary frames. libmodbus sets raw mode only
    // while it has the port open and restores what it found on close.
    if (!makeRaw(m_slaveFd) || !makeRaw(m_masterFd))
        return fail("tcsetattr");
    // A child process (the program started by a test) must not inherit the
    // master side, or hangUp() could not hang the line up.
    if (!setFlag(m_masterFd, F_GETFD, F_SETFD, FD_CLOEXEC) || !setFlag(m_slaveFd, F_GETFD, F_SETFD, FD_CLOEXEC)
        || !setFlag(m_masterFd, F_GETFL, F_SETFL, O_NONBLOCK))
        return fail("fcntl");
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail("pipe2");
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_portPath = QString::fromLocal8Bit(name);
        m_error.clear();
    }
    m_buffer.clear();
    m_stop = false;
    m_running = true;
    m_thread = std::thread(&RtuSlave::serve, this);
    return true;
}

void RtuSlave::stop()
{
    // Joining ourselves would throw; the serving loop checks the flag after
    // each request and the fds are closed by the next stop() from outside.
    if (std::this_thread::get_id() == m_thread.get_id()) {
        m_stop = true;
        return;
    }
    std::lock_guard<std::mutex> lifecycle(m_lifecycle);
    if (m_thread.joinable()) {
        m_stop = true;
        const char byte = 1;
        while (::write(m_wakeWrite, &byte, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    closeFds();
}

void RtuSlave::hangUp()
{
    stop();
}

bool RtuSlave::isRunning() const
{
    return m_running;
}

QString RtuSlave::portPath() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_portPath;
}

QString RtuSlave::errorString() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

void RtuSlave::setFault(Fault fault, int count, int lateMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (fault == Fault::None || count == 0)
        m_fault = FaultState();
    else
        m_fault = FaultState{fault, count < 0 ? -1 : count, qMax(0, lateMs)};
}

void RtuSlave::clearFault()
{
    setFault(Fault::None);
}

RtuSlave::Fault RtuSlave::fault() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fault.fault;
}

void RtuSlave::setReplyDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replyDelayMs = qMax(0, ms);
}

void RtuSlave::setLinePacing(int baud)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_baud = qMax(0, baud);
}

QVector<SlaveRequest> RtuSlave::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QVector<SlaveRequest> copy;
    copy.reserve(int(m_log.size()));
    for (const SlaveRequest &request : m_log)
        copy.append(request);
    return copy;
}

int RtuSlave::requestCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_log.size());
}

void RtuSlave::clearRequests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_logDropped += qint64(m_log.size());
    m_log.clear();
}

qint64 RtuSlave::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

quint16 RtuSlave::crc16(const quint8 *data, int length)
{
    quint16 crc = 0xFFFF;
    for (int i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

bool RtuSlave::stopRequested() const
{
    return m_stop.load();
}

void RtuSlave::serve()
{
    quint8 chunk[512];
    while (!stopRequested()) {
        int timeoutMs = -1;
        if (!m_buffer.empty())
            timeoutMs = int(qMax<qint64>(0, m_lastByteMs + SilenceMs - nowMs()));
        pollfd fds[2] = {{m_wakeRead, POLLIN, 0}, {m_masterFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno != EINTR) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_error = systemError("poll");
            break;
        }
        if (stopRequested())
            break;
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            const ssize_t n = ::read(m_masterFd, chunk, sizeof chunk);
            if (n > 0) {
                m_buffer.insert(m_buffer.end(), chunk, chunk + n);
                m_lastByteMs = nowMs();
                if (m_buffer.size() > MaxBufferedBytes)
                    m_buffer.clear();
                processBuffer();
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
        }
        if (ready > 0 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL | POLLIN))) {
            // Cannot happen while our own terminal-side fd is open; leave
            // rather than spin on a dead line.
            std::lock_guard<std::mutex> lock(m_mutex);
            m_error = QStringLiteral("pty master side failed");
            break;
        }
        if (!m_buffer.empty() && nowMs() - m_lastByteMs >= SilenceMs)
            handleSilence();
    }
    m_running = false;
}

void RtuSlave::processBuffer()
{
    while (!m_buffer.empty() && !stopRequested()) {
        const int length = requestLength(m_buffer);
        if (length <= 0 || m_buffer.size() < size_t(length) || !crcMatches(m_buffer, size_t(length)))
            return; // wait for more bytes, or for the silence that drops them
        const std::vector<quint8> frame(m_buffer.begin(), m_buffer.begin() + length);
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + length);
        if (frame[0] == m_address)
            handleRequest(frame);
    }
}

void RtuSlave::handleSilence()
{
    // A well-formed frame of a function we do not frame by length is still a
    // request to this slave: answer it as a real one would.
    const bool unknownFunction = m_buffer.size() >= 4 && m_buffer[0] == m_address && requestLength(m_buffer) < 0
        && crcMatches(m_buffer, m_buffer.size());
    std::vector<quint8> frame;
    frame.swap(m_buffer);
    if (unknownFunction)
        handleRequest(frame);
}

void RtuSlave::handleRequest(const std::vector<quint8> &frame)
{
    SlaveRequest request;
    request.receivedMs = m_lastByteMs;
    const quint8 invalid = decodeRequest(frame, request);
    const qint64 logIndex = logRequest(request);
    const FaultState fault = takeFault();

    std::vector<quint8> reply;
    if (fault.fault == Fault::Exception)
        reply = exceptionReply(request.function, 0x04);
    else if (invalid != 0)
        reply = exceptionReply(request.function, invalid);
    else
        reply = execute(request);

    switch (fault.fault) {
    case Fault::Silent:
        return;
    case Fault::BadCrc:
        reply[reply.size() - 1] ^= 0xFF;
        reply[reply.size() - 2] ^= 0xFF;
        break;
    case Fault::Truncated:
        reply.resize(reply.size() - TruncatedBytes);
        break;
    default:
        break;
    }

    qint64 delayUs;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        delayUs = qint64(m_replyDelayMs) * 1000;
        if (m_baud > 0) {
            // 10 bits a character; the slave may answer only after a 3.5-character gap.
            const double characters = double(frame.size() + reply.size()) + 3.5;
            delayUs += qint64(characters * 10.0 * 1e6 / m_baud);
        }
    }
    if (fault.fault == Fault::Late)
        delayUs += qint64(fault.lateMs) * 1000;
    sendReply(reply, delayUs, logIndex);
}

quint8 RtuSlave::decodeRequest(const std::vector<quint8> &frame, SlaveRequest &request) const
{
    request.function = frame[1];
    switch (request.function) {
    case 0x03:
    case 0x04:
        request.address = bigEndian(frame, 2);
        request.count = bigEndian(frame, 4);
        return request.count >= 1 && request.count <= 125 ? 0 : 0x03;
    case 0x06:
        request.address = bigEndian(frame, 2);
        request.count = 1;
        request.words = {bigEndian(frame, 4)};
        return 0;
    case 0x10: {
        request.address = bigEndian(frame, 2);
        request.count = bigEndian(frame, 4);
        const int byteCount = frame[6];
        if (request.count < 1 || request.count > 123 || byteCount != 2 * request.count)
            return 0x03;
        request.words.reserve(request.count);
        for (int i = 0; i < request.count; ++i)
            request.words.append(bigEndian(frame, size_t(7 + 2 * i)));
        return 0;
    }
    default:
        return 0x01;
    }
}

std::vector<quint8> RtuSlave::execute(const SlaveRequest &request)
{
    std::vector<quint8> reply{m_address, request.function};
    switch (request.function) {
    case 0x03:
    case 0x04: {
        QVector<quint16> words;
        const bool ok = request.function == 0x03
            ? m_bank->readHoldingRegisters(request.address, request.count, words)
            : m_bank->readInputRegisters(request.address, request.count, words);
        if (!ok || words.size() != request.count)
            return exceptionReply(request.function, 0x02);
        reply.push_back(quint8(2 * request.count));
        for (quint16 word : qAsConst(words))
            appendBigEndian(reply, word);
        break;
    }
    case 0x06:
    case 0x10:
        if (!m_bank->writeHoldingRegisters(request.address, request.words))
            return exceptionReply(request.function, 0x02);
        appendBigEndian(reply, request.address);
        // 0x06 echoes the value, 0x10 confirms the count.
        appendBigEndian(reply, request.function == 0x06 ? request.words.first() : request.count);
        break;
    default:
        return exceptionReply(request.function, 0x01);
    }
    appendCrc(reply);
    return reply;
}

std::vector<quint8> RtuSlave::exceptionReply(quint8 function, quint8 code) const
{
    std::vector<quint8> reply{m_address, quint8(function | 0x80), code};
    appendCrc(reply);
    return reply;
}

void RtuSlave::sendReply(const std::vector<quint8> &reply, qint64 delayUs, qint64 logIndex)
{
    if (!waitMicroseconds(delayUs))
        return;
    // Logged before the write: a client that has its reply must find it logged.
    logReply(logIndex, nowMs());
    size_t sent = 0;
    while (sent < reply.size()) {
        const ssize_t n = ::write(m_masterFd, reply.data() + sent, reply.size() - sent);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            break;
        // The pty's buffer is full: nobody has been reading the port for a while.
        pollfd fds[2] = {{m_wakeRead, POLLIN, 0}, {m_masterFd, POLLOUT, 0}};
        if (::poll(fds, 2, WriteStallMs) <= 0 || stopRequested())
            break;
    }
    if (sent < reply.size())
        logReply(logIndex, -1);
}

bool RtuSlave::waitMicroseconds(qint64 us)
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + microseconds(us);
    while (!stopRequested()) {
        const qint64 left = duration_cast<nanoseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return true;
        const timespec timeout{time_t(left / 1000000000), long(left % 1000000000)};
        pollfd wake{m_wakeRead, POLLIN, 0};
        ::ppoll(&wake, 1, &timeout, nullptr);
    }
    return false;
}

RtuSlave::FaultState RtuSlave::takeFault()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const FaultState current = m_fault;
    if (m_fault.remaining > 0 && --m_fault.remaining == 0)
        m_fault = FaultState();
    return current;
}

qint64 RtuSlave::logRequest(const SlaveRequest &request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.push_back(request);
    if (m_log.size() > size_t(MaxLoggedRequests)) {
        m_log.pop_front();
        ++m_logDropped;
    }
    return m_logDropped + qint64(m_log.size()) - 1;
}

void RtuSlave::logReply(qint64 logIndex, qint64 repliedMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const qint64 position = logIndex - m_logDropped;
    if (position >= 0 && position < qint64(m_log.size()))
        m_log[size_t(position)].repliedMs = repliedMs;
}

void RtuSlave::closeFds()
{
    for (int *fd : {&m_masterFd, &m_slaveFd, &m_wakeRead, &m_wakeWrite}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    m_running = false;
}
