#pragma once

#include <QString>

// The shortest decimal text that reads back to the same double, without an
// exponent: 10, 25.5, -0.125. Names a listed distance or force in results and
// limits (force_at_mm.25.5).
QString shortestDecimal(double value);
