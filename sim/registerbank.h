#pragma once

#include <QVector>
#include <QtGlobal>

// The register image behind a simulated Modbus slave. RtuSlave does the
// framing and calls these from its own serving thread, so an implementation
// guards its state itself. Returning false makes the slave answer with
// exception 02 (illegal data address); a read must fill `out` with exactly
// `count` words when it returns true.
class RegisterBank
{
public:
    virtual ~RegisterBank() = default;

    virtual bool readInputRegisters(quint16 address, quint16 count, QVector<quint16> &out) = 0;
    virtual bool readHoldingRegisters(quint16 address, quint16 count, QVector<quint16> &out) = 0;
    virtual bool writeHoldingRegisters(quint16 address, const QVector<quint16> &words) = 0;
};
