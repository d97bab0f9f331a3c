#pragma once

// The chart's axis ranges and directions, as the axis dialog edits them. Forces are
// in the shown unit.
struct AxisSetting
{
    double xMin;
    double xMax;
    double yMin;
    double yMax;
    bool xReversed;
    bool yReversed;
};
