#include "records/testdatafile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "chart/forceunit.h"
#include "records/fixednumber.h"
#include "records/regularfile.h"

namespace {

constexpr std::string_view ForwardHeader = "Data Forward:";
constexpr std::string_view ReturnHeader = "Data Return:";
#ifdef Q_OS_WIN
constexpr std::string_view LineEnd = "\r\n";
#else
constexpr std::string_view LineEnd = "\n";
#endif
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// Converted forces pass through single precision, as everywhere in the program;
// forces shown in newtons are written as the chart holds them.
double fileNewtons(double shown, uint8_t unit)
{
    return unit == ForceUnit::Newton ? shown : double(ForceUnit::toNewtons(float(shown), unit));
}

// Decimals beyond what a display shows are bounded, as on the readouts.
int fileDecimals(uint8_t unit, int decimals)
{
    const int shown = std::clamp(decimals, 0, FixedNumberMaxDecimals);
    return unit == ForceUnit::Newton ? shown : std::max(shown - 1, 0);
}

// Collects lines and hands them to the device in large blocks: a write call per line
// would cost more than formatting its numbers.
class LineSink
{
public:
    static constexpr int MaxLineLength = 2 * FixedNumberMaxLength + 8;

    explicit LineSink(QIODevice &device)
        : device(device)
        , buffer(1 << 16, Qt::Uninitialized)
        , at(buffer.data())
    {
    }

    // Where the next line, of at most MaxLineLength characters, goes.
    char *lineStart()
    {
        if (buffer.data() + buffer.size() - at < MaxLineLength)
            flush();
        return at;
    }

    void endLine(char *end) { at = std::copy(LineEnd.begin(), LineEnd.end(), end); }

    void line(std::string_view text) { endLine(std::copy(text.begin(), text.end(), lineStart())); }

    // A file short of room takes what fits and says nothing; only writing the rest
    // brings out the system's reason (no space left on device) for the caller.
    bool flush()
    {
        const char *from = buffer.constData();
        while (written && from < at) {
            const qint64 taken = device.write(from, at - from);
            written = taken > 0;
            from += qMax<qint64>(taken, 0);
        }
        at = buffer.data();
        return written;
    }

private:
    QIODevice &device;
    QByteArray buffer;
    char *at;
    bool written = true;
};

void writeStroke(LineSink &sink, const QVector<QPointF> &points, uint8_t unit, int decimals)
{
    for (const QPointF &point : points) {
        // Such a number would not read back; it is no measurement either.
        const double newtons = fileNewtons(point.y(), unit);
        if (!std::isfinite(point.x()) || !std::isfinite(newtons))
            continue;
        char *end = writeFixed(sink.lineStart(), point.x(), 1);
        *end++ = ',';
        sink.endLine(writeFixed(end, newtons, decimals));
    }
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal number, optionally signed or with an exponent, within blanks; it must
// fit single precision, in which the file's values are taken.
bool readNumber(std::string_view text, float &value)
{
    text = trimmed(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    const char *end = text.data() + text.size();
    double number = 0;
    const std::from_chars_result result = std::from_chars(text.data(), end, number);
    value = float(number);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

// The most points a line can carry per byte: "0.0,0" and its line end.
constexpr qint64 ShortestPointLine = 6;
constexpr qint64 MostPointsReserved = qint64(1) << 24;  // 256 MB of room at the most
constexpr quintptr LargePage = quintptr(2) << 20;

class LineDecoder
{
public:
    // `size` is the device's size in bytes; 0 when it is not known.
    LineDecoder(TestDataReading &reading, uint8_t unit, qint64 size)
        : reading(reading)
        , unit(unit)
        , section(&reading.data.forwardStroke)
        , bytesLeft(size)
    {
        reserveSection();
    }

    void decode(std::string_view line)
    {
        bytesLeft -= qint64(line.size()) + 1;
        if (++lineNumber == 1 && line.substr(0, ByteOrderMark.size()) == ByteOrderMark)
            line.remove_prefix(ByteOrderMark.size());
        line = trimmed(line);
        if (line.empty())
            return;
        // A point line cannot hold a header, so the common case is tried first.
        const size_t comma = line.find(',');
        float distance, newtons;
        if (comma != line.npos && line.find(',', comma + 1) == line.npos
            && readNumber(line.substr(0, comma), distance) && readNumber(line.substr(comma + 1), newtons)) {
            section->append(QPointF(distance, ForceUnit::fromNewtons(newtons, unit)));
            reading.heldTestData = true;
        } else if (line.find(ForwardHeader) != line.npos) {
            section = &reading.data.forwardStroke;
            reading.heldTestData = true;
            reserveSection();
        } else if (line.find(ReturnHeader) != line.npos) {
            section = &reading.data.returnStroke;
            reading.heldTestData = true;
            reserveSection();
        } else if (reading.skippedLines++ == 0) {
            reading.firstSkippedLine = lineNumber;
        }
    }

private:
    // Gives the section room for every point the rest of the device could hold. A
    // vector that outgrows its room is copied whole, a long stroke many times over;
    // room that stays empty is never touched, so it costs no memory.
    void reserveSection()
    {
        const qint64 points = std::min(bytesLeft / ShortestPointLine, MostPointsReserved);
        if (points > section->capacity()) {
            section->reserve(int(points));
            adviseLargePages(*section);
        }
    }

    // Asks for large pages under a long stroke where the system has them: taking in
    // fresh memory a small page at a time costs more than decoding the points that
    // fill it, most of all on a virtual machine. Only a hint; nothing else changes.
    static void adviseLargePages(QVector<QPointF> &points)
    {
#ifdef Q_OS_LINUX
        const quintptr page = quintptr(sysconf(_SC_PAGESIZE));
        const quintptr start = (quintptr(points.data()) + page - 1) & ~(page - 1);
        const quintptr end = quintptr(points.data() + points.capacity()) & ~(page - 1);
        if (end > start + LargePage)
            madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
#else
        Q_UNUSED(points);
#endif
    }

    TestDataReading &reading;
    const uint8_t unit;
    QVector<QPointF> *section;
    qint64 bytesLeft;
    int lineNumber = 0;
};

} // namespace

bool writeTestData(QIODevice &device, const TestData &data, uint8_t unit, int decimals)
{
    const int forceDecimals = fileDecimals(unit, decimals);
    LineSink sink(device);
    sink.line(ForwardHeader);
    writeStroke(sink, data.forwardStroke, unit, forceDecimals);
    sink.line(ReturnHeader);
    writeStroke(sink, data.returnStroke, unit, forceDecimals);
    return sink.flush();
}

TestDataReading readTestData(QIODevice &device, uint8_t unit)
{
    TestDataReading reading;
    LineDecoder decoder(reading, unit, device.isSequential() ? 0 : device.size() - device.pos());
    // Lines are decoded where they lie in the read buffer; an unfinished last line
    // moves to its front and the next read continues behind it. Lines end in LF,
    // CR LF or a bare CR (as old Mac tools write them); a CR that ends what has been
    // read may be the first half of a CR LF, so its line waits for the next read.
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    qint64 kept = 0;
    for (;;) {
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2);  // a line longer than the buffer
        const qint64 got = device.read(buffer.data() + kept, buffer.size() - kept);
        if (got < 0) {
            reading.error = device.errorString();
            return reading;
        }
        const char *lineStart = buffer.constData();
        const char *const end = lineStart + kept + got;
        for (;;) {
            const char *lineEnd = std::find_if(lineStart, end, isLineEnd);
            if (lineEnd == end || (*lineEnd == '\r' && lineEnd + 1 == end && got > 0))
                break;
            decoder.decode(std::string_view(lineStart, size_t(lineEnd - lineStart)));
            lineStart = lineEnd + 1;
            if (*lineEnd == '\r' && lineStart != end && *lineStart == '\n')
                ++lineStart;
        }
        kept = end - lineStart;
        std::memmove(buffer.data(), lineStart, size_t(kept));
        if (got == 0)
            break;
    }
    if (kept > 0)
        decoder.decode(std::string_view(buffer.constData(), size_t(kept)));
    return reading;
}

QString saveTestDataFile(const QString &path, const TestData &data, uint8_t unit, int decimals)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // Without commit the temporary file is dropped and an older file stays as it was.
    if (!writeTestData(file, data, unit, decimals) || !file.commit())
        return file.errorString();
    return QString();
}

TestDataReading openTestDataFile(const QString &path, uint8_t unit)
{
    QFile file;
    const QString error = openRegularFile(file, path);
    if (!error.isEmpty()) {
        TestDataReading reading;
        reading.error = error;
        return reading;
    }
    return readTestData(file, unit);
}
