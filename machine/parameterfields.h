#pragma once

// The controller's machine parameters as the parameter dialog shows and edits them.
// Forces travel in newtons and are shown in the operator's force unit; the step
// distance (mm), the speed (mm/min) and the total count are shown as they come.

#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <optional>

namespace ParameterFields {

// The dialog's fields, in the order of its grid.
enum Field { TotalNum, StopValue, StepDistance, PeakLowSet, Speed, FieldCount };
using Texts = std::array<QString, FieldCount>;

// The parameters as read from the controller, and how they were shown.
struct Shown
{
    QVector<float> pointSet;  // stop value (N), step distance (mm), peak-low set (N)
    QVector<int> systemSet;   // speed (mm/min), total count
    uint8_t unit;             // the force unit of the texts
    Texts texts;
};

// nullopt when the vectors hold fewer than 3 floats and 2 ints. Forces get `decimals`
// decimals (bounded like the live readout's); a unit code without a conversion shows
// them in newtons rather than as 0.
std::optional<Shown> shown(const QVector<float> &pointSet, const QVector<int> &systemSet, uint8_t unit,
                           int decimals);

// What Change writes, or the fields that keep it from writing anything.
struct Edited
{
    QVector<float> pointSet;
    QVector<int> systemSet;
    QVector<Field> invalid;
};

// A field whose text is still the one shown is written back exactly as read, so the
// rounding of the shown text never alters a parameter the operator left alone.
// Typed forces are converted to newtons from the unit they were shown in, even if
// the controller's unit has changed since. A field is invalid unless it holds a
// finite number; speed and total count must be whole numbers from 0 to 65535,
// what the controller's 16-bit registers hold.
Edited edited(const Shown &shown, const Texts &texts);

} // namespace ParameterFields
