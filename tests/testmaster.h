#pragma once

// A libmodbus RTU master on a slave's port, for tests that look at a simulated
// controller from outside, as any Modbus master would.

#include <QString>
#include <QVector>

#include <modbus/modbus.h>

#include <errno.h>
#include <poll.h>

class TestMaster
{
public:
    // With `responseTimeoutSeconds` 0 the library's defaults stand (500 ms response and
    // byte timeout), as the program uses them.
    explicit TestMaster(const QString &path, int responseTimeoutSeconds = 0)
    {
        m_ctx = modbus_new_rtu(path.toLocal8Bit().constData(), 115200, 'N', 8, 1);
        if (m_ctx && modbus_connect(m_ctx) == -1) {
            modbus_free(m_ctx);
            m_ctx = nullptr;
        }
        if (!m_ctx)
            return;
        modbus_set_slave(m_ctx, 1);
        if (responseTimeoutSeconds > 0)
            modbus_set_response_timeout(m_ctx, responseTimeoutSeconds, 0);
    }
    ~TestMaster()
    {
        if (m_ctx) {
            modbus_close(m_ctx);
            modbus_free(m_ctx);
        }
    }
    TestMaster(const TestMaster &) = delete;
    TestMaster &operator=(const TestMaster &) = delete;

    bool isOpen() const { return m_ctx != nullptr; }
    modbus_t *ctx() const { return m_ctx; }

    // Result and errno of one call, captured before anything else can touch errno.
    struct Result
    {
        int rc;
        int error;
        QVector<quint16> words;
    };

    Result readInputRegisters(int address, int count)
    {
        QVector<quint16> words(count);
        const int rc = modbus_read_input_registers(m_ctx, address, count, words.data());
        return {rc, errno, words};
    }
    Result readHoldingRegisters(int address, int count)
    {
        QVector<quint16> words(count);
        const int rc = modbus_read_registers(m_ctx, address, count, words.data());
        return {rc, errno, words};
    }
    Result writeRegisters(int address, const QVector<quint16> &words)
    {
        const int rc = modbus_write_registers(m_ctx, address, words.size(), words.constData());
        return {rc, errno, {}};
    }

    // The words read, or none when the read did not return them all.
    QVector<quint16> readInput(int address, int count) { return complete(readInputRegisters(address, count)); }
    QVector<quint16> readHolding(int address, int count) { return complete(readHoldingRegisters(address, count)); }
    bool write(int address, const QVector<quint16> &words) { return writeRegisters(address, words).rc == words.size(); }

    // Waits until bytes are waiting on the port, e.g. a late reply.
    bool waitReadable(int timeoutMs)
    {
        pollfd fd{modbus_get_socket(m_ctx), POLLIN, 0};
        return ::poll(&fd, 1, timeoutMs) == 1;
    }

private:
    static QVector<quint16> complete(const Result &result)
    {
        return result.rc == result.words.size() ? result.words : QVector<quint16>();
    }

    modbus_t *m_ctx = nullptr;
};
