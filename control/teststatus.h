#pragma once

// The status bar's texts about the test the operator started.

#include <QString>
#include <optional>

#include "device/acquisitionquality.h"

namespace TestStatus {

// "8 s", "2 min 5 s": whole seconds, cut.
QString durationText(qint64 ms);

// "Test running: 12.4 mm, 8 s"; without a point yet "Test running: 8 s".
QString running(std::optional<double> distanceMm, qint64 elapsedMs);

// "Test finished after 12 s" or, ended by Stop, "Test stopped after 12 s".
QString ended(bool stopped, qint64 durationMs);

// What may be missing from a test's curve; empty when nothing is.
QString quality(const AcquisitionQuality &quality);

} // namespace TestStatus
