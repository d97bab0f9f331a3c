#pragma once

// Fast fixed-notation number text for the data file writer.

// The longest text writeFixed produces: sign, 309 integer digits, point, decimals.
constexpr int FixedNumberMaxDecimals = 9;
constexpr int FixedNumberMaxLength = 1 + 309 + 1 + FixedNumberMaxDecimals;

// Writes `value` (finite) with `decimals` (0..FixedNumberMaxDecimals) decimals at
// `out` and returns the end. The text is exactly that of QString::number(value, 'f',
// decimals): '.' as the point in every locale, no grouping, halves rounded away from
// zero, no sign on zero. `out` needs room for FixedNumberMaxLength characters.
char *writeFixed(char *out, double value, int decimals);
