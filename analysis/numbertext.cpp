#include "analysis/numbertext.h"

#include <charconv>

QString shortestDecimal(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");  // also for -0, which reads as the same key
    char text[400];  // room for any double in fixed notation
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return QString::fromLatin1(text, int(result.ptr - text));
}
