#pragma once

// How the stand is to move in a test; also the start command's parameter words,
// in member order.
struct Curve_Setting
{
    int mode;          // 0 push, 1 pull
    int distanceMode;  // 0 relative, 1 absolute
    int speed;         // mm/min
    float distance;    // mm
};

// What a test is set to until the operator sets it: push, relative, 100 mm/min, 10 mm.
constexpr Curve_Setting DefaultCurveSetting{0, 0, 100, 10.0f};
