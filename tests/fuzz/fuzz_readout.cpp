// The live readout texts for any float, any decimals value and any unit code.
// Input: the float's 4 bytes, the decimals' 4 bytes, the unit code.

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "chart/forceunit.h"
#include "control/readout.h"
#include "fuzzcheck.h"

namespace {

// "<digits>[.<decimals digits>]<suffix>", without a negative zero.
bool isReadout(const QString &text, int decimals, const QString &suffix)
{
    if (!text.endsWith(suffix))
        return false;
    const QString number = text.chopped(suffix.size());
    const int point = number.indexOf(QLatin1Char('.'));
    const int wholeDigits = point < 0 ? number.size() : point;
    if (decimals == 0 ? point >= 0 : number.size() - point - 1 != decimals)
        return false;
    const bool negative = number.startsWith(QLatin1Char('-'));
    bool nonZero = false;
    for (int i = negative ? 1 : 0; i < number.size(); ++i) {
        if (i == point)
            continue;
        if (!number[i].isDigit())
            return false;
        nonZero = nonZero || number[i] != QLatin1Char('0');
    }
    return wholeDigits > (negative ? 1 : 0) && (nonZero || !negative);
}

// The shown number is `value` cut toward zero: never beyond it, and short of it by
// less than one step of the last shown decimal.
bool isCut(const QString &text, double value, int decimals)
{
    const double shown = text.section(QLatin1Char(' '), 0, 0).toDouble();
    const double step = std::pow(10.0, -decimals) + std::fabs(value) * 0x1p-50;
    return std::fabs(shown) <= std::fabs(value) && std::fabs(value) - std::fabs(shown) < step
           && (shown == 0.0 || std::signbit(shown) == std::signbit(value));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ForceUnit::resetDisplayState();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    float value;
    int32_t decimals;
    if (size != sizeof value + sizeof decimals + 1)
        return 0;
    std::memcpy(&value, bytes, sizeof value);
    std::memcpy(&decimals, bytes + sizeof value, sizeof decimals);
    const uint8_t unit = bytes[sizeof value + sizeof decimals];

    const QString force = Readout::forceText(value, unit, decimals);
    const QString distance = Readout::distanceText(value);
    if (!std::isfinite(value)) {
        // A dash, never "nan" or "inf"; a unit without a name shows 0 for any value.
        const QString dash = QStringLiteral("\u2013 ");
        FUZZ_CHECK(distance == dash + QStringLiteral("mm"));
        FUZZ_CHECK(!ForceUnit::isKnown(unit) || force == dash + ForceUnit::name(unit));
        return 0;
    }
    const int shown = Readout::boundedDecimals(decimals);
    FUZZ_CHECK(isReadout(force, shown, QLatin1Char(' ') + ForceUnit::name(unit)));
    FUZZ_CHECK(isCut(force, double(ForceUnit::fromNewtons(value, unit)), shown));
    FUZZ_CHECK(isReadout(distance, 1, QStringLiteral(" mm")));
    FUZZ_CHECK(isCut(distance, double(value), 1));
    return 0;
}
