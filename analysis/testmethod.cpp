#include "analysis/testmethod.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>

#include "analysis/jsonlayout.h"
#include "analysis/resultrows.h"

namespace {

// The test start dialog's bounds.
constexpr int MinSpeed = 1;  // mm/min
constexpr int MaxSpeed = 300;
constexpr double MaxDistance = 700;  // mm, either way
constexpr qint64 MaxMethodFileSize = 1 << 20;

QString tr(const char *text)
{
    return QCoreApplication::translate("TestMethod", text);
}

bool hasAtMostTwoDecimals(double value)
{
    return std::round(value * 100) / 100 == value;
}

class MethodParser
{
public:
    MethodParser(const QString &fileName, const JsonLayout &layout)
        : fileName(fileName)
        , layout(layout)
    {
    }

    QString error;

    bool parse(const QJsonObject &top, TestMethod &method)
    {
        if (!onlyMembers(top, QString(), {"name", "version", "test", "results", "limits"}))
            return false;
        const QJsonValue name = top.value(QLatin1String("name"));
        if (name.isUndefined())
            return refuse(QStringLiteral("name"), tr("missing"));
        if (!name.isString())
            return refuse(QStringLiteral("name"), tr("must be a text"));
        method.name = name.toString().trimmed();
        if (method.name.isEmpty())
            return refuse(QStringLiteral("name"), tr("must not be empty"));
        if (top.contains(QLatin1String("version"))
            && !wholeNumber(top.value(QLatin1String("version")), QStringLiteral("version"), 1, INT_MAX, method.version))
            return false;
        std::optional<QJsonObject> test, results, limits;
        if (!part(top, QStringLiteral("test"), test) || !part(top, QStringLiteral("results"), results)
            || !part(top, QStringLiteral("limits"), limits))
            return false;
        return (!test || parseTest(*test, method.test)) && (!results || parseResults(*results, method.results))
            && (!limits || parseLimits(*limits, method));
    }

private:
    bool refuse(const QString &member, const QString &why)
    {
        error = QStringLiteral("%1: %2: %3").arg(fileName, member, why);
        return false;
    }

    bool onlyMembers(const QJsonObject &object, const QString &path, std::initializer_list<const char *> known)
    {
        for (const QString &name : object.keys()) {
            if (std::none_of(known.begin(), known.end(), [&](const char *k) { return name == QLatin1String(k); }))
                return refuse(path.isEmpty() ? name : path + QLatin1Char('.') + name, tr("unknown member"));
        }
        return true;
    }

    // The member `path` ends in, which must be an object when present. False when it is not.
    bool part(const QJsonObject &object, const QString &path, std::optional<QJsonObject> &out)
    {
        const QJsonValue value = object.value(path.section(QLatin1Char('.'), -1));
        if (value.isUndefined())
            return true;
        if (!value.isObject())
            return refuse(path, tr("must be an object"));
        out = value.toObject();
        return true;
    }

    bool number(const QJsonValue &value, const QString &path, double &out)
    {
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            return refuse(path, tr("must be a number"));
        out = value.toDouble();
        return true;
    }

    bool wholeNumber(const QJsonValue &value, const QString &path, int min, int max, int &out)
    {
        const double number = value.toDouble();
        if (!value.isDouble() || number != std::floor(number) || number < min || number > max)
            return refuse(path, max == INT_MAX ? tr("must be a whole number of at least %1").arg(min)
                                               : tr("must be a whole number from %1 to %2").arg(min).arg(max));
        out = int(number);
        return true;
    }

    bool numberList(const QJsonValue &value, const QString &path, QVector<double> &out)
    {
        if (!value.isArray())
            return refuse(path, tr("must be a list of numbers"));
        for (const QJsonValue &item : value.toArray()) {
            if (!item.isDouble())
                return refuse(path, tr("must be a list of numbers"));
            out.append(item.toDouble());
        }
        return true;
    }

    // A text that must be one of two words; `out` becomes the index of the one given.
    bool choice(const QJsonObject &object, const char *name, const char *first, const char *second,
                std::optional<int> &out)
    {
        const QJsonValue value = object.value(QLatin1String(name));
        if (value.isUndefined())
            return true;
        const QString text = value.toString();
        if (!value.isString() || (text != QLatin1String(first) && text != QLatin1String(second)))
            return refuse(QStringLiteral("test.") + QLatin1String(name),
                          tr("must be \"%1\" or \"%2\"").arg(QLatin1String(first), QLatin1String(second)));
        out = text == QLatin1String(first) ? 0 : 1;
        return true;
    }

    bool parseTest(const QJsonObject &test, MethodTestSettings &settings)
    {
        if (!onlyMembers(test, QStringLiteral("test"), {"mode", "distance_mode", "speed_mm_min", "distance_mm"})
            || !choice(test, "mode", "push", "pull", settings.mode)
            || !choice(test, "distance_mode", "relative", "absolute", settings.distanceMode))
            return false;
        if (test.contains(QLatin1String("speed_mm_min"))) {
            int speed = 0;
            if (!wholeNumber(test.value(QLatin1String("speed_mm_min")), QStringLiteral("test.speed_mm_min"),
                             MinSpeed, MaxSpeed, speed))
                return false;
            settings.speed = speed;
        }
        if (test.contains(QLatin1String("distance_mm"))) {
            const QString path = QStringLiteral("test.distance_mm");
            double distance = 0;
            if (!number(test.value(QLatin1String("distance_mm")), path, distance))
                return false;
            if (std::fabs(distance) > MaxDistance || !hasAtMostTwoDecimals(distance))
                return refuse(path, tr("must lie from -700 to 700 with at most two decimals"));
            settings.distance = distance;
        }
        return true;
    }

    bool parseResults(const QJsonObject &results, ResultParameters &parameters)
    {
        if (!onlyMembers(results, QStringLiteral("results"), {"window_mm", "force_at_mm", "distance_at_N", "break"}))
            return false;
        if (results.contains(QLatin1String("window_mm"))) {
            const QString path = QStringLiteral("results.window_mm");
            QVector<double> bounds;
            if (!numberList(results.value(QLatin1String("window_mm")), path, bounds))
                return false;
            if (bounds.size() != 2 || bounds[0] > bounds[1])
                return refuse(path, tr("must be [from, to] with from not above to"));
            parameters.window = ResultParameters::Window{bounds[0], bounds[1]};
        }
        if ((results.contains(QLatin1String("force_at_mm"))
             && !numberList(results.value(QLatin1String("force_at_mm")), QStringLiteral("results.force_at_mm"),
                            parameters.forceAtDistances))
            || (results.contains(QLatin1String("distance_at_N"))
                && !numberList(results.value(QLatin1String("distance_at_N")), QStringLiteral("results.distance_at_N"),
                               parameters.distanceAtForces)))
            return false;
        std::optional<QJsonObject> detection;
        return part(results, QStringLiteral("results.break"), detection)
            && (!detection || parseBreak(*detection, parameters));
    }

    bool parseBreak(const QJsonObject &detection, ResultParameters &parameters)
    {
        const QString path = QStringLiteral("results.break");
        if (!onlyMembers(detection, path, {"drop_percent", "min_force_N"}))
            return false;
        BreakDetection defined;
        const QJsonValue drop = detection.value(QLatin1String("drop_percent"));
        if (drop.isUndefined())
            return refuse(path + QLatin1String(".drop_percent"), tr("missing"));
        if (!number(drop, path + QLatin1String(".drop_percent"), defined.dropPercent))
            return false;
        if (defined.dropPercent <= 0 || defined.dropPercent > 100)
            return refuse(path + QLatin1String(".drop_percent"), tr("must lie above 0 and at most at 100"));
        if (detection.contains(QLatin1String("min_force_N"))) {
            if (!number(detection.value(QLatin1String("min_force_N")), path + QLatin1String(".min_force_N"),
                        defined.minForce))
                return false;
            if (defined.minForce < 0)
                return refuse(path + QLatin1String(".min_force_N"), tr("must not be negative"));
        }
        parameters.breakDetection = defined;
        return true;
    }

    bool parseLimits(const QJsonObject &limits, TestMethod &method)
    {
        const QStringList limitable =
            limitablePaths(method.results.forceAtDistances, method.results.distanceAtForces);
        for (const QString &resultPath : layout.memberOrder.value(QStringLiteral("limits"))) {
            const QString path = QStringLiteral("limits.") + resultPath;
            if (!limitable.contains(resultPath))
                return refuse(path, resultQuantity(resultPath) == ResultQuantity::Flag ? tr("not a numeric result")
                                                                                      : tr("no such result"));
            const QJsonValue bounds = limits.value(resultPath);
            const QJsonArray pair = bounds.toArray();
            const auto isBound = [](const QJsonValue &b) { return b.isNull() || (b.isDouble() && std::isfinite(b.toDouble())); };
            if (!bounds.isArray() || pair.size() != 2 || !isBound(pair[0]) || !isBound(pair[1]))
                return refuse(path, tr("must be [min, max], each a number or null"));
            ResultLimit limit{resultPath, {}, {}};
            if (pair[0].isDouble())
                limit.min = pair[0].toDouble();
            if (pair[1].isDouble())
                limit.max = pair[1].toDouble();
            if (limit.min && limit.max && *limit.min > *limit.max)
                return refuse(path, tr("the minimum lies above the maximum"));
            method.limits.append(limit);
        }
        return true;
    }

    const QString fileName;
    const JsonLayout &layout;
};

// A value as the compact text Qt writes, the same as inside a whole document.
QByteArray compact(const QJsonValue &value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

QJsonValue bound(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject testJson(const MethodTestSettings &test)
{
    QJsonObject object;
    if (test.mode)
        object.insert(QStringLiteral("mode"), *test.mode == 0 ? QStringLiteral("push") : QStringLiteral("pull"));
    if (test.distanceMode)
        object.insert(QStringLiteral("distance_mode"),
                      *test.distanceMode == 0 ? QStringLiteral("relative") : QStringLiteral("absolute"));
    if (test.speed)
        object.insert(QStringLiteral("speed_mm_min"), *test.speed);
    if (test.distance)
        object.insert(QStringLiteral("distance_mm"), *test.distance);
    return object;
}

QJsonObject resultParametersJson(const ResultParameters &results)
{
    const auto list = [](const QVector<double> &values) {
        QJsonArray array;
        for (double value : values)
            array.append(value);
        return array;
    };
    QJsonObject object;
    if (results.window)
        object.insert(QStringLiteral("window_mm"), QJsonArray{results.window->from, results.window->to});
    if (!results.forceAtDistances.isEmpty())
        object.insert(QStringLiteral("force_at_mm"), list(results.forceAtDistances));
    if (!results.distanceAtForces.isEmpty())
        object.insert(QStringLiteral("distance_at_N"), list(results.distanceAtForces));
    if (results.breakDetection)
        object.insert(QStringLiteral("break"),
                      QJsonObject{{QStringLiteral("drop_percent"), results.breakDetection->dropPercent},
                                  {QStringLiteral("min_force_N"), results.breakDetection->minForce}});
    return object;
}

} // namespace

std::optional<Curve_Setting> MethodTestSettings::setting() const
{
    if (isEmpty())
        return std::nullopt;
    Curve_Setting setting = DefaultCurveSetting;
    setting.mode = mode.value_or(setting.mode);
    setting.distanceMode = distanceMode.value_or(setting.distanceMode);
    setting.speed = speed.value_or(setting.speed);
    if (distance)
        setting.distance = float(*distance);
    return setting;
}

TestMethodReading parseTestMethod(const QByteArray &json, const QString &fileName)
{
    TestMethodReading reading;
    // Refused before Qt reads it: Qt's parser leaks the array or object that a member
    // named twice replaces.
    const JsonLayout layout = scanJsonLayout(json);
    if (!layout.duplicate.isEmpty()) {
        reading.error = QStringLiteral("%1: %2: %3").arg(fileName, layout.duplicate, tr("member named twice"));
        return reading;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        reading.error = tr("%1: not valid JSON: %2 at byte %3")
                            .arg(fileName, parseError.errorString()).arg(parseError.offset);
        return reading;
    }
    if (!document.isObject()) {
        reading.error = tr("%1: not a JSON object").arg(fileName);
        return reading;
    }
    MethodParser parser(fileName, layout);
    if (!parser.parse(document.object(), reading.method)) {
        reading.error = parser.error;
        reading.method = TestMethod();
    }
    return reading;
}

TestMethodReading readTestMethodFile(const QString &path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile file(path);
    TestMethodReading reading;
    if (!file.open(QIODevice::ReadOnly))
        reading.error = QStringLiteral("%1: %2").arg(shownPath, file.errorString());
    else if (!QFileInfo(path).isFile() || file.size() > MaxMethodFileSize)
        reading.error = tr("%1: not a method file (a method is a file of at most 1 MB)").arg(shownPath);
    else
        reading = parseTestMethod(file.readAll(), shownPath);
    return reading;
}

QByteArray testMethodJson(const TestMethod &method)
{
    QByteArray text = "{\n    \"name\": " + compact(method.name) + ",\n    \"version\": " + compact(method.version);
    if (!method.test.isEmpty())
        text += ",\n    \"test\": " + compact(testJson(method.test));
    const QJsonObject results = resultParametersJson(method.results);
    if (!results.isEmpty())
        text += ",\n    \"results\": " + compact(results);
    if (!method.limits.isEmpty()) {
        // Written member by member: the order is the order failures are named in.
        text += ",\n    \"limits\": {";
        for (int i = 0; i < method.limits.size(); ++i) {
            const ResultLimit &limit = method.limits[i];
            text += (i == 0 ? "\n        " : ",\n        ") + compact(limit.path) + ": "
                + compact(QJsonArray{bound(limit.min), bound(limit.max)});
        }
        text += "\n    }";
    }
    return text + "\n}\n";
}

QString saveTestMethodFile(const QString &path, const TestMethod &method)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(testMethodJson(method)) < 0 || !file.commit())
        return file.errorString();
    return QString();
}
