// The test data file reader on any bytes, whole and in short reads.
// Input: unit code, read size, then the file.

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/forceunit.h"
#include "fuzzcheck.h"
#include "records/testdatafile.h"

namespace {

// Hands out at most `step` bytes per read, as a pipe or a slow disk may.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray &data, qint64 step)
        : data(data)
        , step(step)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *out, qint64 maxSize) override
    {
        const qint64 size = std::min({maxSize, step, qint64(data.size()) - at});
        std::copy_n(data.constData() + at, size, out);
        at += size;
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray data;
    const qint64 step;
    qint64 at = 0;
};

bool isBlank(QByteArray line, bool first)
{
    if (first && line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    return std::all_of(line.cbegin(), line.cend(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

// Lines as the reader takes them: ended by LF, CR LF or a bare CR.
QList<QByteArray> fileLines(const QByteArray &file)
{
    QList<QByteArray> lines;
    int start = 0;
    for (int i = 0; i < file.size(); ++i) {
        if (file[i] != '\n' && file[i] != '\r')
            continue;
        lines.append(file.mid(start, i - start));
        if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(file.mid(start));
    return lines;
}

bool allFinite(const QVector<QPointF> &points)
{
    return std::all_of(points.cbegin(), points.cend(),
                       [](const QPointF &p) { return std::isfinite(p.x()) && std::isfinite(p.y()); });
}

bool forcesAreZero(const QVector<QPointF> &points)
{
    return std::all_of(points.cbegin(), points.cend(), [](const QPointF &p) { return p.y() == 0.0; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t unit = bytes[0];
    const qint64 step = 1 + bytes[1];
    QByteArray file(reinterpret_cast<const char *>(bytes + 2), int(size - 2));

    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const TestDataReading whole = readTestData(buffer, unit);
    TrickleDevice trickle(file, step);
    const TestDataReading pieces = readTestData(trickle, unit);

    FUZZ_CHECK(whole.error.isEmpty() && pieces.error.isEmpty());
    FUZZ_CHECK(whole.data.forwardStroke == pieces.data.forwardStroke);
    FUZZ_CHECK(whole.data.returnStroke == pieces.data.returnStroke);
    FUZZ_CHECK(whole.skippedLines == pieces.skippedLines && whole.firstSkippedLine == pieces.firstSkippedLine);
    FUZZ_CHECK(whole.heldTestData == pieces.heldTestData);

    const QList<QByteArray> lines = fileLines(file);
    int filledLines = 0;
    for (int i = 0; i < lines.size(); ++i)
        filledLines += isBlank(lines[i], i == 0) ? 0 : 1;
    const TestData &data = whole.data;
    const int points = data.forwardStroke.size() + data.returnStroke.size();
    // Every point and every skipped line comes from a line of its own that is not blank.
    FUZZ_CHECK(points + whole.skippedLines <= filledLines);
    FUZZ_CHECK((whole.skippedLines > 0) == (whole.firstSkippedLine > 0));
    FUZZ_CHECK(whole.firstSkippedLine <= lines.size());
    FUZZ_CHECK(points == 0 || whole.heldTestData);
    FUZZ_CHECK(allFinite(data.forwardStroke) && allFinite(data.returnStroke));
    if (!ForceUnit::isKnown(unit))
        FUZZ_CHECK(forcesAreZero(data.forwardStroke) && forcesAreZero(data.returnStroke));
    return 0;
}
