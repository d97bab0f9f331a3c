#include "recordformat.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QtEndian>
#include <cstring>

QByteArray canonicalJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray encodePoints(const QVector<QPointF> &points)
{
    QByteArray blob(points.size() * 8, Qt::Uninitialized);
    char *out = blob.data();
    for (const QPointF &p : points) {
        qToLittleEndian(float(p.x()), out);
        qToLittleEndian(float(p.y()), out + 4);
        out += 8;
    }
    return blob;
}

bool decodePoints(const QByteArray &blob, QVector<QPointF> &points)
{
    points.clear();
    if (blob.size() % 8 != 0)
        return false;
    points.reserve(blob.size() / 8);
    for (const char *in = blob.constData(), *end = in + blob.size(); in != end; in += 8)
        points.append(QPointF(qFromLittleEndian<float>(in), qFromLittleEndian<float>(in + 4)));
    return true;
}

QString recordHash(const QString &prevHash, const QByteArray &record,
                   const QByteArray &forward, const QByteArray &back)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(prevHash.toUtf8());
    hash.addData(record);
    hash.addData(forward);
    hash.addData(back);
    return QString::fromLatin1(hash.result().toHex());
}

namespace {

void fillColumns(const QJsonObject &record, PreparedRecord &prepared)
{
    prepared.uuid = record.value(QLatin1String("uuid")).toString();
    prepared.recordedAt = record.value(QLatin1String("recorded_at")).toString();
    prepared.sample = record.value(QLatin1String("sample")).toString();
    prepared.batch = record.value(QLatin1String("batch")).toString();
    prepared.operatorName = record.value(QLatin1String("operator")).toString();
    prepared.method = record.value(QLatin1String("method")).toObject().value(QLatin1String("name")).toString();
    const QString verdict = record.value(QLatin1String("results")).toObject().value(QLatin1String("verdict")).toString();
    prepared.verdict = verdict == QLatin1String("pass") || verdict == QLatin1String("fail")
                           ? verdict : QStringLiteral("none");
}

} // namespace

PreparedRecord prepareRecord(const QJsonObject &record, const QVector<QPointF> &forward,
                             const QVector<QPointF> &back)
{
    PreparedRecord prepared;
    fillColumns(record, prepared);
    prepared.record = canonicalJson(record);
    prepared.forward = encodePoints(forward);
    prepared.back = encodePoints(back);
    return prepared;
}

bool prepareStoredRecord(const QByteArray &record, const QByteArray &forward,
                         const QByteArray &back, PreparedRecord &prepared)
{
    const QJsonDocument doc = QJsonDocument::fromJson(record);
    if (!doc.isObject())
        return false;
    fillColumns(doc.object(), prepared);
    prepared.record = record;
    prepared.forward = forward;
    prepared.back = back;
    return !prepared.uuid.isEmpty();
}
