#pragma once

// The force unit the operator sees and its conversions. The controller reports
// forces in newtons; the chart, the readouts and the dialogs show them in the unit
// the controller has selected.

#include <QString>
#include <QVector>
#include <cstdint>

// Process-wide display state, written on the GUI thread only: the unit code
// (0 N, 1 kg, 2 lb), the number of force decimals, and the unit names by code.
extern uint8_t forceUnit;
extern int32_t forceDecimals;
extern QVector<QString> unitNames;

namespace ForceUnit {

enum Code : uint8_t { Newton = 0, Kilogram = 1, Pound = 2 };

constexpr double NewtonsPerKilogram = 9.8;
constexpr double PoundsPerKilogram = 2.2046;

// Each conversion takes the single-precision value, computes in double precision
// and rounds back to single precision. An unknown unit code shows 0 and writes the
// typed value unchanged.
float fromNewtons(float newtons, uint8_t unit);
float toNewtons(float shown, uint8_t unit);

bool isKnown(uint8_t unit);

// The controller cycles its unit N -> kg -> lb -> N; values held in the chart are
// converted from the previous unit to the next one along that cycle. A value in an
// unknown unit is returned unchanged.
float nextInCycle(float value, uint8_t previousUnit);

// The unit's name, "?" for a code without one.
QString name(uint8_t unit);

// Puts the display state back to its start values.
void resetDisplayState();

} // namespace ForceUnit
