// Decoding of the register blocks the controller sends: the status block, the curve
// block and the answers to the two parameter requests.
// Input: which block (first byte, modulo 4), then register words, low byte first.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "device/registers.h"
#include "fuzzcheck.h"

using namespace Registers;

namespace {

bool isWord(int value) { return value >= 0 && value <= 0xFFFF; }

// A float that came from `at` encodes back to the same words. NaNs may lose their
// payload on the way and are left out.
bool keepsBits(float value, const uint16_t *at)
{
    uint16_t words[2];
    encodeFloat(value, words);
    return std::isnan(value) || (words[0] == at[0] && words[1] == at[1]);
}

void status(const std::vector<uint16_t> &words)
{
    if (int(words.size()) < StatusCount)
        return;
    const std::vector<uint16_t> block(words.begin(), words.begin() + StatusCount);
    const Status decoded = decodeStatus(block.data());
    FUZZ_CHECK(decoded.fState.size() == 2 && decoded.iState.size() == 4);
    FUZZ_CHECK(keepsBits(decoded.fState[0], &block[0]) && keepsBits(decoded.fState[1], &block[2]));
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(decoded.iState[i] == block[8 + i]);
}

void curve(const std::vector<uint16_t> &words)
{
    if (int(words.size()) < CurveCount)
        return;
    const std::vector<uint16_t> block(words.begin(), words.begin() + CurveCount);
    const CurveBlock decoded = decodeCurveBlock(block.data());
    const int count = block[1];
    FUZZ_CHECK(decoded.empty == (count == 0 || count > CurveSlots));
    FUZZ_CHECK(decoded.points.size() <= CurveSlots);
    const bool known = block[0] == Forward || block[0] == Return;
    // Every counted slot is a point or a dropped non-finite one.
    FUZZ_CHECK(decoded.points.size() + decoded.nonFinite == (decoded.empty || !known ? 0 : count));
    for (const CurvePoint &point : decoded.points)
        FUZZ_CHECK(point.index == (block[0] == Forward ? 0 : 1) && std::isfinite(point.x) && std::isfinite(point.y));
}

// The parameter dialog writes back what it read: re-encoding a decoded answer gives
// the change command the same words.
void systemSetAnswer(const std::vector<uint16_t> &words)
{
    SystemSet decoded;
    const bool taken = decodeSystemSetAnswer(words.data(), int(words.size()), &decoded);
    FUZZ_CHECK(taken == (words.size() == SystemSetAnswerCount && words[0] == SystemSetReply));
    if (!taken)
        return;
    FUZZ_CHECK(decoded.pointSet.size() == 3 && decoded.systemSet.size() == 2);
    FUZZ_CHECK(isWord(decoded.systemSet[0]) && isWord(decoded.systemSet[1]));
    const Words change = changeSystemSetWords(decoded.pointSet, decoded.systemSet);
    FUZZ_CHECK(change.size() == 9 && change[0] == ChangeSystemSet);
    for (int i = 0; i < 3; ++i)
        FUZZ_CHECK(keepsBits(decoded.pointSet[i], &words[1 + 2 * i]) && keepsBits(decoded.pointSet[i], &change[1 + 2 * i]));
    FUZZ_CHECK(change[7] == words[7] && change[8] == words[8]);
}

void systemDataAnswer(const std::vector<uint16_t> &words)
{
    SystemData decoded;
    const bool taken = decodeSystemDataAnswer(words.data(), int(words.size()), &decoded);
    FUZZ_CHECK(taken == (words.size() == SystemDataAnswerCount && words[0] == SystemDataReply));
    if (!taken)
        return;
    FUZZ_CHECK(decoded.pointData.size() == 10 && decoded.systemData.size() == 4);
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(decoded.systemData[i] == words[1 + i]);
    for (int i = 0; i < 10; ++i)
        FUZZ_CHECK(keepsBits(decoded.pointData[i], &words[5 + 2 * i]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 1)
        return 0;
    // Exactly as many words as came, so that a read past them is an overflow the
    // address sanitizer sees.
    std::vector<uint16_t> words((size - 1) / 2);
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = uint16_t(bytes[1 + 2 * i] | bytes[2 + 2 * i] << 8);
    switch (bytes[0] % 4) {
    case 0:
        status(words);
        break;
    case 1:
        curve(words);
        break;
    case 2:
        systemSetAnswer(words);
        break;
    case 3:
        systemDataAnswer(words);
        break;
    }
    return 0;
}
