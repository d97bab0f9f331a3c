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
