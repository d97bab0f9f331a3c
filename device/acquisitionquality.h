#pragma once

#include <QMetaType>

// How well the curve of one test or recording jog came across the line. Counted by
// the acquisition loop from the start of the test or jog until curve acquisition
// ends, and handed to the window once at that end.
struct AcquisitionQuality
{
    int curveReads = 0;     // curve block reads sent
    int failedReads = 0;    // of them: timed out, spoiled, or holding no usable point
    int droppedPoints = 0;  // points whose force or distance was not a finite number
};

Q_DECLARE_METATYPE(AcquisitionQuality)
