#pragma once

// Texts of the live readouts. Values are cut, never rounded, to the shown decimals,
// as the controller's own display does.

#include <QString>
#include <cstdint>

namespace Readout {

// A value older than this no longer counts as live: states come every 200 ms and
// curve points faster.
constexpr int LiveForMs = 1000;

// The decimals a display can show: the controller's value bounded to 0..9.
int boundedDecimals(int decimals);

// `value` cut toward zero to `decimals` decimals; never a negative zero. In double
// precision: the nearest float to a cut value may lie above it and show a last digit
// rounded up.
double truncated(float value, int decimals);

// "12.345 N": the force given in newtons, shown in `unit` with `decimals` decimals.
// A value that is not finite shows as a dash (“– N”), never as "nan" or "inf".
QString forceText(float newtons, uint8_t unit, int decimals);

// "5.6 mm".
QString distanceText(float millimetres);

} // namespace Readout
