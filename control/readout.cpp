#include "control/readout.h"

#include <QCoreApplication>
#include <cmath>

#include "chart/forceunit.h"

namespace Readout {

int boundedDecimals(int decimals)
{
    return qBound(0, decimals, 9);
}

double truncated(float value, int decimals)
{
    const double scale = std::pow(10.0, boundedDecimals(decimals));
    // Cut in double precision: no integer type to overflow, whatever the value.
    double cut = std::trunc(double(value) * scale);
    if (cut == 0.0)
        cut = 0.0;  // drops the sign of a negative zero
    return cut / scale;
}

QString forceText(float newtons, uint8_t unit, int decimals)
{
    const int shown = boundedDecimals(decimals);
    const double value = truncated(ForceUnit::fromNewtons(newtons, unit), shown);
    return QCoreApplication::translate("MainWindow", "%1 %2")
        .arg(value, 0, 'f', shown)
        .arg(ForceUnit::name(unit));
}

QString distanceText(float millimetres)
{
    return QCoreApplication::translate("MainWindow", "%1 mm").arg(truncated(millimetres, 1), 0, 'f', 1);
}

} // namespace Readout
