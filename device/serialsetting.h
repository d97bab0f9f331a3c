#pragma once

#include <QString>

// Serial line parameters for the next openDevice(). Travels only between objects of
// the GUI thread, so it is not a registered meta-type.
struct Serial_Setting_Type
{
    QString portName;  // device name handed to the RTU library
    int baudRate;
    int dataBits;      // 5..8
    int stopBits;      // 1 or 2
    char parity;       // 'N', 'E' or 'O'
};
