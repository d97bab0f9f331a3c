#pragma once

// The test data file: the chart's two strokes as text, forces always in newtons.
//
//   Data Forward:
//   12.3,45.678        one line per forward point: distance (1 decimal),force
//   Data Return:
//   ...                one line per return point
//
// Both headers are always written; points in ascending distance, as the chart holds
// them; the host's line end. The reader takes LF, CR LF and a bare CR.

#include <QPointF>
#include <QString>
#include <QVector>
#include <cstdint>

class QIODevice;

// A test's two strokes as the chart holds them: x is the distance in mm, y the force
// in the unit the chart shows. Reader and writer convert between that unit and the
// file's newtons.
struct TestData
{
    QVector<QPointF> forwardStroke;
    QVector<QPointF> returnStroke;
};

struct TestDataReading
{
    TestData data;
    bool heldTestData = false;  // a section header or at least one point
    int skippedLines = 0;       // lines that are neither blank, a header nor two numbers
    int firstSkippedLine = 0;   // counted from 1; 0 when none was skipped
    QString error;              // why the data could not be read; empty when it could
};

// Writes the whole file to `device`, open for writing without text-mode conversion.
// Forces are written in newtons with the decimals shown for `unit`: `decimals` for
// N; one fewer for kg and lb, whose values grow about tenfold and fourfold in
// newtons. Returns false when the device took not all of it.
bool writeTestData(QIODevice &device, const TestData &data, uint8_t unit, int decimals);

// Reads `device` to its end, with forces converted to `unit`. Blank lines are passed
// over; any other line that is neither a header nor a pair of numbers is counted as
// skipped. Points before the first header belong to the forward stroke.
TestDataReading readTestData(QIODevice &device, uint8_t unit);

// The same on a named file. Saving goes through a temporary file that replaces the
// old one only when complete. They return, or hold, the reason for a failure.
QString saveTestDataFile(const QString &path, const TestData &data, uint8_t unit, int decimals);
TestDataReading openTestDataFile(const QString &path, uint8_t unit);
