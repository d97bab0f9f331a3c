#pragma once

#include <QtGlobal>

// Whether the controller still answers, judged from the acquisition loop's reads.
// The link counts as dead after three failed status reads in a row, or when a curve
// read fails and nothing has answered for a second; the next good read of either
// kind revives it. Plain logic on a clock the caller passes in, so it is tested
// without a line.
class LinkHealth
{
public:
    static constexpr int DeadAfterStatusFailures = 3;
    static constexpr qint64 DeadAfterCurveSilenceMs = 1000;

    // A fresh link counts as answering from `nowMs`.
    void reset(qint64 nowMs);

    // Each records one read and returns true when the verdict changed with it. Only a
    // good read revives a dead link.
    bool statusRead(bool complete, qint64 nowMs);
    bool curveRead(bool complete, qint64 nowMs);

    bool answering() const { return isAnswering; }

private:
    bool answered(qint64 nowMs);
    bool setAnswering(bool answeringNow);

    bool isAnswering = true;
    int failedStatusReads = 0;
    qint64 lastAnswerMs = 0;
};
