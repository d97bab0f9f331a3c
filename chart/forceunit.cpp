#include "chart/forceunit.h"

uint8_t forceUnit = ForceUnit::Newton;
int32_t forceDecimals = 3;
QVector<QString> unitNames;

namespace ForceUnit {

float fromNewtons(float newtons, uint8_t unit)
{
    const double v = newtons;
    switch (unit) {
    case Newton:
        return newtons;
    case Kilogram:
        return float(v / NewtonsPerKilogram);
    case Pound:
        return float(v / NewtonsPerKilogram * PoundsPerKilogram);
    default:
        return 0.0f;
    }
}

float toNewtons(float shown, uint8_t unit)
{
    const double v = shown;
    switch (unit) {
    case Kilogram:
        return float(v * NewtonsPerKilogram);
    case Pound:
        return float(v / PoundsPerKilogram * NewtonsPerKilogram);
    default:
        return shown;
    }
}

bool isKnown(uint8_t unit)
{
    return unit <= Pound;
}

float nextInCycle(float value, uint8_t previousUnit)
{
    const double v = value;
    switch (previousUnit) {
    case Newton:
        return float(v / NewtonsPerKilogram);
    case Kilogram:
        return float(v * PoundsPerKilogram);
    case Pound:
        return float(v / PoundsPerKilogram * NewtonsPerKilogram);
    default:
        return value;
    }
}

QString name(uint8_t unit)
{
    return unit < unitNames.size() ? unitNames[unit] : QStringLiteral("?");
}

void resetDisplayState()
{
    unitNames = {QStringLiteral("N"), QStringLiteral("Kg"), QStringLiteral("Lb")};
    forceUnit = Newton;
    forceDecimals = 3;
}

} // namespace ForceUnit
