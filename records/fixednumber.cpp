#include "records/fixednumber.h"

#include <QtGlobal>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double PowersOfTen[FixedNumberMaxDecimals + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// `scaled` is the value times 10^decimals, rounded to a whole number.
char *writeScaled(char *out, bool negative, uint64_t scaled, int decimals)
{
    char digits[24];
    char *const end = digits + sizeof digits;
    char *first = end;
    do {
        *--first = char('0' + scaled % 10);
        scaled /= 10;
    } while (scaled != 0 || end - first <= decimals);  // at least "0." before the decimals
    if (negative)
        *out++ = '-';
    char *const point = end - decimals;
    out = std::copy(first, point, out);
    if (decimals > 0) {
        *out++ = '.';
        out = std::copy(point, end, out);
    }
    return out;
}

// A halfway value at n decimals is an odd multiple of 2^-(n+1) (0.25 at 1 decimal,
// 0.125 at 2): only such values have a finite binary fraction that ends in 5.
bool isHalfway(double value, int decimals)
{
    return std::fabs(std::fmod(std::ldexp(value, decimals + 1), 2.0)) == 1.0;
}

// std::to_chars rounds halves to even, Qt away from zero. A halfway value is exact
// with one more decimal, so that text is rounded up by hand.
char *writeHalfwayRoundedUp(char *out, double value, int decimals)
{
    char digits[FixedNumberMaxLength + 2];
    digits[0] = '0';  // room for a carry into a new leading digit
    char *end = std::to_chars(digits + 1, digits + sizeof digits, std::fabs(value),
                              std::chars_format::fixed, decimals + 1).ptr;
    --end;  // the final 5
    for (char *d = end - 1;; --d) {
        if (*d == '.')
            continue;
        if (*d != '9') {
            ++*d;
            break;
        }
        *d = '0';
    }
    if (decimals == 0)
        --end;  // the point, now last
    if (value < 0)
        *out++ = '-';
    const char *begin = digits[0] == '0' ? digits + 1 : digits;
    std::memcpy(out, begin, size_t(end - begin));
    return out + (end - begin);
}

} // namespace

char *writeFixed(char *out, double value, int decimals)
{
    Q_ASSERT(decimals >= 0 && decimals <= FixedNumberMaxDecimals);
    if (value == 0.0)
        value = 0.0;  // Qt writes a negative zero without its sign
    // The common case, in integer arithmetic. Below 2^52 every n + 0.5 is a double and
    // rounding is monotonic, so the rounded product lies on the same side of a half as
    // the exact one; only a product of exactly n + 0.5 leaves the side open.
    const double scaled = std::fabs(value) * PowersOfTen[decimals];
    if (scaled < 0x1p52) {
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (fraction != 0.5)
            return writeScaled(out, value < 0, uint64_t(whole) + (fraction > 0.5 ? 1 : 0), decimals);
    }
    if (isHalfway(value, decimals))
        return writeHalfwayRoundedUp(out, value, decimals);
    return std::to_chars(out, out + FixedNumberMaxLength, value, std::chars_format::fixed, decimals).ptr;
}
