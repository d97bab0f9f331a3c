#pragma once

// A test's curve as CSV: comment lines "# key: value" with the sample, the method,
// the time, the stand and the results, then a header row and one row per point in
// acquisition order, forward stroke first:
//
//   # sample: S-17
//   ...
//   stroke,distance_mm,force_N,force_kg
//   forward,0.25,1.5,0.15306122
//
// A comment line is a row of one field, so a value holding a comma or a quote makes
// it a quoted field, still one cell in a spreadsheet. The force_<unit> column is
// there when the unit shown was kg or lb.

#include <QString>

#include "store/testrecord.h"

class QIODevice;

// False when the device refused a write.
bool writeCurveCsv(QIODevice &device, const TestRecord &record, int unit);
// Written beside `path`, then renamed over it. Empty on success, else why not.
QString saveCurveCsv(const QString &path, const TestRecord &record, int unit);
