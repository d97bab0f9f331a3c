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
