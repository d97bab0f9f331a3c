#pragma once

#include <QString>

// What the operator says about the next test before Start.
struct SampleEntry
{
    QString sample, batch, operatorName, note;
};

// The sample id that follows `sample` when it ends in a number: that number plus
// one, as wide as before (leading zeros kept) or wider when it no longer fits:
// "S-009" -> "S-010", "S-99" -> "S-100". An id that does not end in a digit comes
// back unchanged.
QString nextSampleId(const QString &sample);
