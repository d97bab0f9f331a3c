#pragma once

#include <QString>

class QSerialPortInfo;

// The name the RTU library opens for a listed port: the device-namespace form on
// Windows, the device path elsewhere.
QString devicePathFor(const QSerialPortInfo &port);

// The port a fresh program connects to: the last port the system lists, or "COM1".
QString defaultPortName();
