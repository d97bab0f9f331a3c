#include "device/linkhealth.h"

void LinkHealth::reset(qint64 nowMs)
{
    isAnswering = true;
    failedStatusReads = 0;
    lastAnswerMs = nowMs;
}

bool LinkHealth::statusRead(bool complete, qint64 nowMs)
{
    if (complete)
        return answered(nowMs);
    ++failedStatusReads;
    return failedStatusReads >= DeadAfterStatusFailures && setAnswering(false);
}

// Curve reads follow each other without a pause, so they are judged by time, not by
// count: a count of them lasts a few milliseconds on a port that fails at once and
// seconds on a controller that lets every read time out.
bool LinkHealth::curveRead(bool complete, qint64 nowMs)
{
    if (complete)
        return answered(nowMs);
    return nowMs - lastAnswerMs >= DeadAfterCurveSilenceMs && setAnswering(false);
}

bool LinkHealth::answered(qint64 nowMs)
{
    failedStatusReads = 0;
    lastAnswerMs = nowMs;
    return setAnswering(true);
}

bool LinkHealth::setAnswering(bool answeringNow)
{
    const bool changed = answeringNow != isAnswering;
    isAnswering = answeringNow;
    return changed;
}
