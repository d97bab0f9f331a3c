// The data file writer's number text for any finite double and decimals 0..9: it
// must be exactly Qt's, and stay within the room the header promises.
// Input: the double's 8 bytes, then the decimals.

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzzcheck.h"
#include "records/fixednumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    double value;
    if (size != sizeof value + 1)
        return 0;
    std::memcpy(&value, bytes, sizeof value);
    const int decimals = bytes[sizeof value] % (FixedNumberMaxDecimals + 1);
    if (!std::isfinite(value))
        return 0;

    // Exactly the promised room, so that a longer text is an overflow the address
    // sanitizer sees.
    const auto out = std::make_unique<char[]>(FixedNumberMaxLength);
    const char *end = writeFixed(out.get(), value, decimals);
    FUZZ_CHECK(end > out.get() && end - out.get() <= FixedNumberMaxLength);
    FUZZ_CHECK(QByteArray(out.get(), int(end - out.get())) == QByteArray::number(value, 'f', decimals));
    return 0;
}
