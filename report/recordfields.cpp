#include "report/recordfields.h"

#include <QDateTime>
#include <QJsonArray>

#include "report/resulttext.h"

const QColor RecordFields::PassColor(0, 128, 0);
const QColor RecordFields::FailColor(200, 0, 0);

namespace {

const QColor NoVerdictColor(110, 110, 110);

QString orDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("—") : text;
}

} // namespace

RecordFields::RecordFields(const QJsonObject &record)
    : record(record)
{
}

int RecordFields::unit() const
{
    return record.value(QStringLiteral("stand")).toObject().value(QStringLiteral("unit")).toInt();
}

int RecordFields::decimals() const
{
    return record.value(QStringLiteral("stand")).toObject().value(QStringLiteral("decimals")).toInt(3);
}

QString RecordFields::methodTitle() const
{
    const QJsonObject method = this->method();
    if (method.isEmpty())
        return QString();
    return tr("%1, version %2")
        .arg(method.value(QStringLiteral("name")).toString())
        .arg(method.value(QStringLiteral("version")).toInt(1));
}

QString RecordFields::localTime() const
{
    const QDateTime time = QDateTime::fromString(string(QStringLiteral("recorded_at")), Qt::ISODateWithMs);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QVector<ReportField> RecordFields::identification() const
{
    const int type = record.value(QStringLiteral("stand")).toObject().value(QStringLiteral("type")).toInt();
    QVector<ReportField> fields{
        {tr("Sample"), orDash(sample())},
        {tr("Batch"), orDash(batch())},
        {tr("Operator"), orDash(operatorName())},
        {tr("Date and time"), orDash(localTime())},
        {tr("Station"), orDash(string(QStringLiteral("station")))},
        {tr("Stand type"), type > 0 ? tr("Type-%1").arg(type) : QStringLiteral("—")},
    };
    if (source() == QLatin1String("file"))
        fields.append({tr("Source"), tr("test data file")});
    if (!string(QStringLiteral("note")).isEmpty())
        fields.append({tr("Note"), string(QStringLiteral("note"))});
    return fields;
}

QVector<ReportField> RecordFields::methodAndSettings() const
{
    const QJsonObject method = this->method();
    QVector<ReportField> fields;
    if (method.isEmpty()) {
        fields.append({tr("Method"), tr("none")});
    } else {
        fields.append({tr("Method"), method.value(QStringLiteral("name")).toString()});
        fields.append({tr("Version"), QString::number(method.value(QStringLiteral("version")).toInt(1))});
    }
    const QJsonObject settings = record.value(QStringLiteral("settings")).toObject();
    if (settings.contains(QStringLiteral("mode")))
        fields.append({tr("Mode"), settings.value(QStringLiteral("mode")).toString() == QLatin1String("pull")
                                       ? tr("pull")
                                       : tr("push")});
    if (settings.contains(QStringLiteral("distance_mm"))) {
        const QString distance = QString::number(settings.value(QStringLiteral("distance_mm")).toDouble());
        fields.append({tr("Distance"), settings.value(QStringLiteral("distance_mode")).toString() == QLatin1String("absolute")
                                           ? tr("to %1 mm (absolute)").arg(distance)
                                           : tr("%1 mm (relative)").arg(distance)});
    }
    if (settings.contains(QStringLiteral("speed_mm_min")))
        fields.append({tr("Speed"), tr("%1 mm/min").arg(settings.value(QStringLiteral("speed_mm_min")).toInt())});
    return fields;
}

QVector<ReportField> RecordFields::quality(const TestRecord &stored) const
{
    const QJsonObject quality = record.value(QStringLiteral("quality")).toObject();
    const auto count = [&](const char *key) { return QString::number(quality.value(QLatin1String(key)).toInt()); };
    return {
        {tr("Curve reads"), count("curve_reads")},
        {tr("Failed reads"), count("failed_reads")},
        {tr("Dropped points"), count("dropped_points")},
        {tr("Points kept"), tr("%1 forward, %2 return").arg(stored.forward.size()).arg(stored.back.size())},
    };
}

RecordFields::VerdictText RecordFields::verdict() const
{
    const QJsonObject results = this->results();
    if (verdictKey() == QLatin1String("pass"))
        return {tr("PASS"), PassColor, QString()};
    if (verdictKey() == QLatin1String("fail")) {
        QStringList labels;
        for (const QJsonValue &path : results.value(QStringLiteral("failed")).toArray())
            labels.append(ResultText::label(path.toString()));
        return {tr("FAIL"), FailColor, tr("Failed: %1").arg(labels.join(QStringLiteral("; ")))};
    }
    return {tr("NO VERDICT"), NoVerdictColor, tr("The method sets no limits.")};
}

QString RecordFields::verdictWord() const
{
    if (verdictKey() == QLatin1String("pass"))
        return tr("pass");
    if (verdictKey() == QLatin1String("fail"))
        return tr("fail");
    return tr("none");
}

QColor RecordFields::verdictColor() const
{
    return verdict().color;
}

QStringList RecordFields::resultPaths() const
{
    const QJsonObject results = this->results();
    QStringList paths;
    for (const QString &stroke : {QStringLiteral("forward"), QStringLiteral("return")})
        for (const ResultRow &row : strokeResultRows(results.value(stroke).toObject()))
            paths.append(stroke + QLatin1Char('.') + row.path);
    for (const ResultRow &row : curveResultRows())
        paths.append(row.path);
    return paths;
}
