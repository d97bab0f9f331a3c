#include "control/teststatus.h"

#include <QStringList>

#include "app/windowtext.h"
#include "control/readout.h"

namespace TestStatus {

QString durationText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    if (seconds < 60)
        return trWindow("%1 s").arg(seconds);
    return trWindow("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

QString running(std::optional<double> distanceMm, qint64 elapsedMs)
{
    if (!distanceMm)
        return trWindow("Test running: %1").arg(durationText(elapsedMs));
    return trWindow("Test running: %1, %2").arg(Readout::distanceText(float(*distanceMm)), durationText(elapsedMs));
}

QString ended(bool stopped, qint64 durationMs)
{
    return (stopped ? trWindow("Test stopped after %1") : trWindow("Test finished after %1")).arg(durationText(durationMs));
}

QString quality(const AcquisitionQuality &quality)
{
    QStringList notes;
    if (quality.failedReads == 1)
        notes << trWindow("1 curve read failed during this test; points may be missing.");
    else if (quality.failedReads > 1)
        notes << trWindow("%1 curve reads failed during this test; points may be missing.").arg(quality.failedReads);
    if (quality.droppedPoints == 1)
        notes << trWindow("1 point without a valid force or distance was left out.");
    else if (quality.droppedPoints > 1)
        notes << trWindow("%1 points without a valid force or distance were left out.").arg(quality.droppedPoints);
    return notes.join(QLatin1Char(' '));
}

} // namespace TestStatus
