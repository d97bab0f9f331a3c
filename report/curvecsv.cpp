#include "report/curvecsv.h"

#include <QJsonArray>
#include <QSaveFile>
#include <charconv>

#include "analysis/resultpath.h"
#include "report/csv.h"
#include "report/recordfields.h"
#include "report/resulttext.h"

namespace {

// Points come from the controller as single-precision numbers; written as the
// shortest text of the float (0.1, not 0.10000000149011612), which reads back to it.
double asWritten(float value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    double shortest = value;
    std::from_chars(text, written.ptr, shortest);
    return shortest;
}

void comment(CsvWriter &csv, const QString &key, const QString &value)
{
    csv.text(QStringLiteral("# %1: %2").arg(key, value)).endRow();
}

void points(CsvWriter &csv, const QString &stroke, const QVector<QPointF> &points, int unit)
{
    for (const QPointF &point : points) {
        csv.text(stroke).number(asWritten(float(point.x()))).number(asWritten(float(point.y())));
        if (unit != 0)
            csv.number(asWritten(float(forceInUnit(point.y(), unit))));
        csv.endRow();
    }
}

} // namespace

bool writeCurveCsv(QIODevice &device, const TestRecord &record, int unit)
{
    const RecordFields fields(record.record);
    const QJsonObject results = fields.results();
    const QJsonObject method = fields.method();
    CsvWriter csv(device);
    comment(csv, QStringLiteral("sample"), fields.sample());
    comment(csv, QStringLiteral("batch"), fields.batch());
    comment(csv, QStringLiteral("operator"), fields.operatorName());
    comment(csv, QStringLiteral("method"), method.value(QStringLiteral("name")).toString());
    if (!method.isEmpty())
        comment(csv, QStringLiteral("method_version"), QString::number(method.value(QStringLiteral("version")).toInt(1)));
    comment(csv, QStringLiteral("time"), record.record.value(QStringLiteral("recorded_at")).toString());
    comment(csv, QStringLiteral("stand_type"),
            QString::number(record.record.value(QStringLiteral("stand")).toObject().value(QStringLiteral("type")).toInt()));
    comment(csv, QStringLiteral("uuid"), record.uuid);
    comment(csv, QStringLiteral("verdict"), fields.verdictKey());
    QStringList failed;
    for (const QJsonValue &path : results.value(QStringLiteral("failed")).toArray())
        failed.append(path.toString());
    if (!failed.isEmpty())
        comment(csv, QStringLiteral("failed"), failed.join(QStringLiteral(" ")));
    const QMap<QString, double> numbers = numericResultPaths(results);
    for (const QString &path : fields.resultPaths())
        if (numbers.contains(path))
            comment(csv, path, csvNumberField(numbers[path]));

    const bool converted = unit == 1 || unit == 2;
    csv.text(QStringLiteral("stroke")).text(QStringLiteral("distance_mm")).text(QStringLiteral("force_N"));
    if (converted)
        csv.text(QStringLiteral("force_") + unitName(unit));
    csv.endRow();
    points(csv, QStringLiteral("forward"), record.forward, converted ? unit : 0);
    points(csv, QStringLiteral("return"), record.back, converted ? unit : 0);
    return csv.ok();
}

QString saveCurveCsv(const QString &path, const TestRecord &record, int unit)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!writeCurveCsv(file, record, unit)) {
        file.cancelWriting();
        return file.errorString();
    }
    return file.commit() ? QString() : file.errorString();
}
