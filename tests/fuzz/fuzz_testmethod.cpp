// A test method file of any content: it is refused with a reason or read whole, and
// a method read whole is written back to JSON that reads as the same method.

#include <cstdint>

#include "analysis/testmethod.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(bytes), int(size));
    const TestMethodReading reading = parseTestMethod(json, QStringLiteral("m.json"));
    FUZZ_CHECK(reading.error.isEmpty() != reading.method.name.isEmpty());
    if (reading.error.isEmpty()) {
        const QByteArray written = testMethodJson(reading.method);
        const TestMethodReading again = parseTestMethod(written, QStringLiteral("m.json"));
        FUZZ_CHECK(again.error.isEmpty());
        FUZZ_CHECK(testMethodJson(again.method) == written);
    }
    return 0;
}
