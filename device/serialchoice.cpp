#include "device/serialchoice.h"

#include <QSerialPortInfo>

#include "device/serialports.h"

QString identifierText(quint16 identifier)
{
    return identifier == 0 ? QString() : QString::number(identifier, 16);
}

SerialPortEntry portEntry(const QSerialPortInfo &port)
{
    return {port.portName(),
            {port.portName(), port.description(), port.manufacturer(), port.serialNumber(),
             port.systemLocation(), identifierText(port.vendorIdentifier()),
             identifierText(port.productIdentifier())},
            devicePathFor(port)};
}

QVector<SerialPortEntry> listedPorts()
{
    QVector<SerialPortEntry> entries;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        entries.append(portEntry(port));
    return entries;
}

char parityFromIndex(int index)
{
    return index == 1 ? 'E' : index == 2 ? 'O' : 'N';
}

Serial_Setting_Type serialSettingFrom(const QString &portName, const QString &baudRate,
                                      const QString &dataBits, char parity, const QString &stopBits)
{
    return {portName, baudRate.toInt(nullptr, 10), dataBits.toInt(nullptr, 10),
            stopBits.toInt(nullptr, 10), parity};
}
