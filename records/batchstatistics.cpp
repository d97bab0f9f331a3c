#include "records/batchstatistics.h"

#include "analysis/resultpath.h"

QMap<QString, ResultStatistics> batchStatistics(const QVector<RecordSummary> &records, QVector<QJsonObject> methods)
{
    QVector<QMap<QString, double>> values;
    values.reserve(records.size());
    bool withoutMethod = false;
    for (const RecordSummary &record : records) {
        values.append(numericResultPaths(record.results()));
        withoutMethod |= record.method.isEmpty();
    }
    if (withoutMethod)
        methods.append(QJsonObject());
    return resultStatistics(values, commonLimits(methods));
}

QMap<QString, ResultStatistics> batchStatistics(const QVector<TestRecord> &records)
{
    QVector<QMap<QString, double>> values;
    QVector<QJsonObject> methods;
    for (const TestRecord &record : records) {
        values.append(numericResultPaths(record.record.value(QLatin1String("results")).toObject()));
        methods.append(record.record.value(QLatin1String("method")).toObject());
    }
    return resultStatistics(values, commonLimits(methods));
}

QStringList mainResultPaths(const QVector<QJsonObject> &methods)
{
    QStringList paths{QStringLiteral("forward.peak_force_N"), QStringLiteral("forward.work_mJ")};
    for (const QJsonObject &method : methods)
        for (const QString &path : methodLimits(method).keys())
            if (!paths.contains(path))
                paths.append(path);
    return paths;
}
