#include "device/registers.h"

#include <cmath>
#include <cstring>

namespace Registers {

float decodeFloat(const uint16_t *words)
{
    const uint32_t bits = uint32_t(words[0]) | (uint32_t(words[1]) << 16);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void encodeFloat(float value, uint16_t *words)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    words[0] = uint16_t(bits & 0xFFFF);
    words[1] = uint16_t(bits >> 16);
}

Words commandWords(Code code)
{
    return Words{code};
}

Words startTestWords(const Curve_Setting &setting)
{
    Words words{StartTest, 5, encodeInt(setting.mode), encodeInt(setting.distanceMode),
                encodeInt(setting.speed), 0, 0};
    encodeFloat(setting.distance, words.data() + 5);
    return words;
}

Words stopTestWords()
{
    return Words{StopTest, 0};
}

Words changeSystemSetWords(const QVector<float> &pointSet, const QVector<int> &systemSet)
{
    if (pointSet.size() < 3 || systemSet.size() < 2)
        return {};
    Words words(9, 0);
    words[0] = ChangeSystemSet;
    for (int i = 0; i < 3; ++i)
        encodeFloat(pointSet[i], words.data() + 1 + 2 * i);
    words[7] = encodeInt(systemSet[0]);
    words[8] = encodeInt(systemSet[1]);
    return words;
}

Words systemSetRequestWords(int index)
{
    return Words{SystemSetRequest, encodeInt(index)};
}

Words systemDataRequestWords(int index, int scanIndex)
{
    return Words{SystemDataRequest, encodeInt(index), encodeInt(scanIndex)};
}

Status decodeStatus(const uint16_t *words)
{
    return Status{{decodeFloat(words), decodeFloat(words + 2)},
                  {decodeInt(words[8]), decodeInt(words[9]), decodeInt(words[10]), decodeInt(words[11])}};
}

CurveBlock decodeCurveBlock(const uint16_t *words)
{
    CurveBlock block{true, {}};
    const int direction = words[0];
    const int count = words[1];
    if (count == 0 || count > CurveSlots)
        return block;
    block.empty = false;
    if (direction != Forward && direction != Return)
        return block;
    const int index = direction == Forward ? 0 : 1;
    block.points.reserve(count);
    for (int i = 0; i < count; ++i) {
        const uint16_t *slot = words + 2 + 4 * i;
        const float distance = decodeFloat(slot + 2);
        const float force = decodeFloat(slot);
        // Such a value can be neither drawn nor saved and read back.
        if (std::isfinite(distance) && std::isfinite(force))
            block.points.append(CurvePoint{index, distance, force});
        else
            ++block.nonFinite;
    }
    return block;
}

bool decodeSystemSetAnswer(const uint16_t *words, int count, SystemSet *answer)
{
    if (count != SystemSetAnswerCount || words[0] != SystemSetReply)
        return false;
    answer->pointSet = {decodeFloat(words + 1), decodeFloat(words + 3), decodeFloat(words + 5)};
    answer->systemSet = {decodeInt(words[7]), decodeInt(words[8])};
    return true;
}

bool decodeSystemDataAnswer(const uint16_t *words, int count, SystemData *answer)
{
    if (count != SystemDataAnswerCount || words[0] != SystemDataReply)
        return false;
    answer->systemData = {decodeInt(words[1]), decodeInt(words[2]), decodeInt(words[3]), decodeInt(words[4])};
    answer->pointData.clear();
    for (int i = 0; i < 10; ++i)
        answer->pointData.append(decodeFloat(words + 5 + 2 * i));
    return true;
}

} // namespace Registers
