#include "report/resulttext.h"

#include <cmath>

#include "chart/forceunit.h"

namespace {

constexpr int MaxForceDecimals = 6;

bool isKnownUnit(int unit)
{
    return unit >= 0 && unit <= 255 && ForceUnit::isKnown(uint8_t(unit));
}

const QString Forward = QStringLiteral("forward.");
const QString Return = QStringLiteral("return.");

} // namespace

QString unitName(int unit)
{
    switch (isKnownUnit(unit) ? unit : ForceUnit::Newton) {
    case ForceUnit::Kilogram:
        return QStringLiteral("kg");
    case ForceUnit::Pound:
        return QStringLiteral("lb");
    default:
        return QStringLiteral("N");
    }
}

double forceInUnit(double newtons, int unit)
{
    if (!isKnownUnit(unit) || unit == ForceUnit::Newton)
        return newtons;
    return ForceUnit::fromNewtons(float(newtons), uint8_t(unit));
}

ResultText::ResultText(int unit, int forceDecimals)
    : forceUnit(isKnownUnit(unit) ? unit : ForceUnit::Newton)
    , forceDecimals(qBound(0, forceDecimals, MaxForceDecimals))
{
}

ResultQuantity ResultText::quantity(const QString &path)
{
    return resultQuantity(path).value_or(ResultQuantity::Count);
}

QString ResultText::label(const QString &path)
{
    QString key = path;
    QString stroke;
    if (key.startsWith(Forward)) {
        key = key.mid(Forward.size());
        stroke = tr("forward");
    } else if (key.startsWith(Return)) {
        key = key.mid(Return.size());
        stroke = tr("return");
    }
    const QString listed = key.section(QLatin1Char('.'), 1);
    QString name;
    if (key.startsWith(QLatin1String("force_at_mm.")))
        name = tr("Force at %1 mm").arg(listed);
    else if (key.startsWith(QLatin1String("distance_at_N.")))
        name = tr("Distance at %1 N").arg(listed);
    else if (key == QLatin1String("points"))
        name = tr("Points");
    else if (key == QLatin1String("peak_force_N"))
        name = tr("Peak force");
    else if (key == QLatin1String("peak_distance_mm"))
        name = tr("Distance at peak");
    else if (key == QLatin1String("work_mJ"))
        name = tr("Work");
    else if (key == QLatin1String("mean_force_N"))
        name = tr("Mean force");
    else if (key == QLatin1String("slope_N_per_mm"))
        name = tr("Slope");
    else if (key == QLatin1String("break"))
        name = tr("Break");
    else if (key == QLatin1String("break_distance_mm"))
        name = tr("Break distance");
    else if (key == QLatin1String("break_force_N"))
        name = tr("Break force");
    else if (key == QLatin1String("hysteresis_mJ"))
        name = tr("Hysteresis");
    else if (key == QLatin1String("hysteresis_percent"))
        name = tr("Hysteresis, share of forward work");
    else
        name = key;
    return stroke.isEmpty() ? name : tr("%1 (%2)").arg(name, stroke);
}

QString ResultText::unit(ResultQuantity quantity) const
{
    switch (quantity) {
    case ResultQuantity::Force:
        return unitName(forceUnit);
    case ResultQuantity::Distance:
        return QStringLiteral("mm");
    case ResultQuantity::Work:
        return QStringLiteral("mJ");
    case ResultQuantity::Slope:
        return unitName(forceUnit) + QStringLiteral("/mm");
    case ResultQuantity::Percent:
        return QStringLiteral("%");
    case ResultQuantity::Count:
    case ResultQuantity::Flag:
        break;
    }
    return QString();
}

QString ResultText::labelWithUnit(const QString &path) const
{
    const QString unitText = unit(quantity(path));
    return unitText.isEmpty() ? label(path) : tr("%1 (%2)").arg(label(path), unitText);
}

double ResultText::shown(double value, ResultQuantity quantity) const
{
    // A slope scales with the force, as the unit conversion is a factor.
    if (quantity == ResultQuantity::Force || quantity == ResultQuantity::Slope)
        return forceInUnit(value, forceUnit);
    return value;
}

QString ResultText::number(double value, ResultQuantity quantity) const
{
    switch (quantity) {
    case ResultQuantity::Count:
        // A mean count is not whole.
        return value == std::floor(value) ? QString::number(qint64(value)) : QString::number(value, 'f', 1);
    case ResultQuantity::Force:
        return QString::number(shown(value, quantity), 'f', forceDecimals);
    case ResultQuantity::Distance:
        return QString::number(value, 'f', 2);
    case ResultQuantity::Percent:
        return QString::number(value, 'f', 1);
    case ResultQuantity::Work:
    case ResultQuantity::Slope:
    case ResultQuantity::Flag:
        break;
    }
    return QString::number(shown(value, quantity), 'f', 3);
}

QString ResultText::value(const QJsonValue &value, ResultQuantity quantity, bool withUnit) const
{
    if (value.isBool())
        return value.toBool() ? tr("yes") : tr("no");
    if (!value.isDouble())
        return QStringLiteral("—");
    const QString unitText = unit(quantity);
    const QString text = number(value.toDouble(), quantity);
    return unitText.isEmpty() || !withUnit ? text : text + QLatin1Char(' ') + unitText;
}

QString ResultText::limits(std::optional<double> lower, std::optional<double> upper, ResultQuantity quantity) const
{
    const QString unitText = unit(quantity).isEmpty() ? QString() : QLatin1Char(' ') + unit(quantity);
    if (lower && upper)
        return QStringLiteral("%1 … %2%3").arg(number(*lower, quantity), number(*upper, quantity), unitText);
    if (upper)
        return QStringLiteral("≤ %1%2").arg(number(*upper, quantity), unitText);
    if (lower)
        return QStringLiteral("≥ %1%2").arg(number(*lower, quantity), unitText);
    return QString();
}
