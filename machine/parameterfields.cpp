#include "machine/parameterfields.h"

#include <cmath>

#include "chart/forceunit.h"
#include "control/readout.h"

namespace ParameterFields {

namespace {
constexpr int StepDistanceDecimals = 1;
constexpr int MaxWord = 0xFFFF;

std::optional<float> finite(float value)
{
    return std::isfinite(value) ? std::optional<float>(value) : std::nullopt;
}

std::optional<float> typedNumber(const QString &text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok ? finite(value) : std::nullopt;
}

std::optional<int> typedWord(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok && value >= 0 && value <= MaxWord ? std::optional<int>(value) : std::nullopt;
}
} // namespace

std::optional<Shown> shown(const QVector<float> &pointSet, const QVector<int> &systemSet, uint8_t unit,
                           int decimals)
{
    if (pointSet.size() < 3 || systemSet.size() < 2)
        return std::nullopt;
    const uint8_t shownUnit = ForceUnit::isKnown(unit) ? unit : uint8_t(ForceUnit::Newton);
    Shown result{pointSet.mid(0, 3), systemSet.mid(0, 2), shownUnit, {}};
    const int forceDecimals = Readout::boundedDecimals(decimals);
    const auto forceText = [&](float newtons) {
        return QString::number(double(ForceUnit::fromNewtons(newtons, result.unit)), 'f', forceDecimals);
    };
    result.texts[TotalNum] = QString::number(systemSet[1]);
    result.texts[StopValue] = forceText(pointSet[0]);
    result.texts[StepDistance] = QString::number(double(pointSet[1]), 'f', StepDistanceDecimals);
    result.texts[PeakLowSet] = forceText(pointSet[2]);
    result.texts[Speed] = QString::number(systemSet[0]);
    return result;
}

Edited edited(const Shown &shown, const Texts &texts)
{
    const auto kept = [&](Field field) { return texts[field] == shown.texts[field]; };
    const auto force = [&](Field field, float read) -> std::optional<float> {
        if (kept(field))
            return read;
        const std::optional<float> typed = typedNumber(texts[field]);
        return typed ? finite(ForceUnit::toNewtons(*typed, shown.unit)) : std::nullopt;
    };
    const auto distance = [&](Field field, float read) {
        return kept(field) ? std::optional<float>(read) : typedNumber(texts[field]);
    };
    const auto count = [&](Field field, int read) {
        return kept(field) ? std::optional<int>(read) : typedWord(texts[field]);
    };

    const std::optional<float> stopValue = force(StopValue, shown.pointSet[0]);
    const std::optional<float> stepDistance = distance(StepDistance, shown.pointSet[1]);
    const std::optional<float> peakLowSet = force(PeakLowSet, shown.pointSet[2]);
    const std::optional<int> speed = count(Speed, shown.systemSet[0]);
    const std::optional<int> totalNum = count(TotalNum, shown.systemSet[1]);

    Edited result;
    const std::pair<Field, bool> checks[] = {{TotalNum, bool(totalNum)},     {StopValue, bool(stopValue)},
                                             {StepDistance, bool(stepDistance)}, {PeakLowSet, bool(peakLowSet)},
                                             {Speed, bool(speed)}};
    for (const auto &[field, valid] : checks)
        if (!valid)
            result.invalid.append(field);
    if (result.invalid.isEmpty()) {
        result.pointSet = {*stopValue, *stepDistance, *peakLowSet};
        result.systemSet = {*speed, *totalNum};
    }
    return result;
}

} // namespace ParameterFields
