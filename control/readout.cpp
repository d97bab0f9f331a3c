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

namespace {
// What a readout shows for a value that is not a number at all.
const QString NoValue = QStringLiteral("\u2013");

QString number(float value, int decimals)
{
    return std::isfinite(value) ? QString::number(truncated(value, decimals), 'f', decimals) : NoValue;
}
} // namespace

QString forceText(float newtons, uint8_t unit, int decimals)
{
    const int shown = boundedDecimals(decimals);
    return QCoreApplication::translate("MainWindow", "%1 %2")
        .arg(number(ForceUnit::fromNewtons(newtons, unit), shown), ForceUnit::name(unit));
}

QString distanceText(float millimetres)
{
    return QCoreApplication::translate("MainWindow", "%1 mm").arg(number(millimetres, 1));
}

} // namespace Readout
