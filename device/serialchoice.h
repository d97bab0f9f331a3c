#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "device/serialsetting.h"

class QSerialPortInfo;

// One port as the settings dialog offers it.
struct SerialPortEntry
{
    QString name;         // as the system reports it; shown in the port list
    QStringList details;  // name, description, manufacturer, serial number,
                          // location, vendor id, product id
    QString devicePath;   // what the RTU library opens for this port
};

// Lower-case hexadecimal without prefix; empty when the system reports no identifier (0).
QString identifierText(quint16 identifier);

SerialPortEntry portEntry(const QSerialPortInfo &port);

// The ports the system lists now, in its order.
QVector<SerialPortEntry> listedPorts();

// The parity box's items in their order: 'N' none, 'E' even, 'O' odd; 'N' for no
// item. By position, as the items' texts are translated.
char parityFromIndex(int index);

Serial_Setting_Type serialSettingFrom(const QString &portName, const QString &baudRate,
                                      const QString &dataBits, char parity, const QString &stopBits);
