#include "recordbuilder.h"

#include <QSysInfo>
#include <QUuid>

QJsonObject acquisitionQualityJson(int curveReads, int failedReads, int droppedPoints)
{
    return {{QStringLiteral("curve_reads"), curveReads},
            {QStringLiteral("failed_reads"), failedReads},
            {QStringLiteral("dropped_points"), droppedPoints}};
}

QString newRecordUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
}

QString recordTimestamp(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QJsonObject recordJson(const RecordInput &input)
{
    const QJsonObject stand{{QStringLiteral("type"), input.standType},
                            {QStringLiteral("decimals"), input.standDecimals},
                            {QStringLiteral("unit"), input.standUnit}};
    return {
        {QStringLiteral("uuid"), input.uuid.isEmpty() ? newRecordUuid() : input.uuid},
        {QStringLiteral("recorded_at"),
         recordTimestamp(input.recordedAt.isValid() ? input.recordedAt : QDateTime::currentDateTimeUtc())},
        {QStringLiteral("source"), input.source},
        {QStringLiteral("sample"), input.sample},
        {QStringLiteral("batch"), input.batch},
        {QStringLiteral("operator"), input.operatorName},
        {QStringLiteral("note"), input.note},
        {QStringLiteral("station"), input.station.isEmpty() ? QSysInfo::machineHostName() : input.station},
        {QStringLiteral("stand"), stand},
        {QStringLiteral("method"), input.method},
        {QStringLiteral("settings"), input.settings},
        {QStringLiteral("results"), input.results},
        {QStringLiteral("quality"), input.quality},
    };
}

PreparedRecord buildRecord(const RecordInput &input)
{
    return prepareRecord(recordJson(input), input.forward, input.back);
}
