#include "recordformat.h"

#include <QJsonDocument>
#include <QtEndian>
#include <cstring>
#include <memory>

#include <openssl/evp.h>

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
    // OpenSSL's SHA-256 uses the processor's SHA instructions: for a 100 000-point
    // test it is several times faster than QCryptographicHash.
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    const QByteArray prev = prevHash.toUtf8();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    bool ok = context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) == 1;
    for (const QByteArray *part : {&prev, &record, &forward, &back})
        ok = ok && EVP_DigestUpdate(context.get(), part->constData(), size_t(part->size())) == 1;
    ok = ok && EVP_DigestFinal_ex(context.get(), digest, &length) == 1;
    if (!ok)
        return QString();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex());
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
