#include "device/serialports.h"

#include <QSerialPortInfo>

QString devicePathFor(const QSerialPortInfo &port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\") + port.portName();
#else
    return port.systemLocation();
#endif
}

QString defaultPortName()
{
    const auto ports = QSerialPortInfo::availablePorts();
    return ports.isEmpty() ? QStringLiteral("COM1") : devicePathFor(ports.last());
}
