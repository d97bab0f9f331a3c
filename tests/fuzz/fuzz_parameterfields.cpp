// The machine parameter fields: shown from any values the controller may send, then
// edited to any texts.
// Input: 3 floats and 2 ints as read, the unit code, the decimals, a byte whose low
// 5 bits mark the edited fields, then their texts (UTF-8), one a line.

#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "chart/forceunit.h"
#include "fuzzcheck.h"
#include "machine/parameterfields.h"

using namespace ParameterFields;

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool isWord(int value) { return value >= 0 && value <= 0xFFFF; }

template <typename T>
T take(const uint8_t *&bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    bytes += sizeof value;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    constexpr size_t Head = 3 * sizeof(float) + 2 * sizeof(int32_t) + 1 + sizeof(int32_t) + 1;
    if (size < Head)
        return 0;
    const uint8_t *at = bytes;
    QVector<float> pointSet;
    for (int i = 0; i < 3; ++i)
        pointSet.append(take<float>(at));
    QVector<int> systemSet;
    for (int i = 0; i < 2; ++i)
        systemSet.append(take<int32_t>(at));
    const uint8_t unit = take<uint8_t>(at);
    const int32_t decimals = take<int32_t>(at);
    const uint8_t editedMask = take<uint8_t>(at);
    const QStringList typed =
        QString::fromUtf8(reinterpret_cast<const char *>(at), int(bytes + size - at)).split(QLatin1Char('\n'));

    const std::optional<Shown> read = shown(pointSet, systemSet, unit, decimals);
    FUZZ_CHECK(read && ForceUnit::isKnown(read->unit));

    // Fields left alone are written back exactly as read, whatever was read.
    const Edited untouched = edited(*read, read->texts);
    FUZZ_CHECK(untouched.invalid.isEmpty());
    for (int i = 0; i < 3; ++i)
        FUZZ_CHECK(sameBits(untouched.pointSet[i], pointSet[i]));
    FUZZ_CHECK(untouched.systemSet == systemSet);

    Texts texts = read->texts;
    int next = 0;
    for (int field = 0; field < FieldCount; ++field)
        if (editedMask & (1 << field) && next < typed.size())
            texts[field] = typed[next++];
    const Edited result = edited(*read, texts);
    for (Field field : result.invalid)
        FUZZ_CHECK(texts[field] != read->texts[field]);
    if (!result.invalid.isEmpty()) {
        FUZZ_CHECK(result.pointSet.isEmpty() && result.systemSet.isEmpty());
        return 0;
    }
    const auto changed = [&](Field field) { return texts[field] != read->texts[field]; };
    const Field floatFields[3] = {StopValue, StepDistance, PeakLowSet};
    for (int i = 0; i < 3; ++i)
        FUZZ_CHECK(changed(floatFields[i]) ? std::isfinite(result.pointSet[i]) : sameBits(result.pointSet[i], pointSet[i]));
    const Field intFields[2] = {Speed, TotalNum};
    for (int i = 0; i < 2; ++i)
        FUZZ_CHECK(changed(intFields[i]) ? isWord(result.systemSet[i]) : result.systemSet[i] == systemSet[i]);
    return 0;
}
