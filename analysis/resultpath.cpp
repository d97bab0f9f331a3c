#include "analysis/resultpath.h"

namespace {

void collectNumbers(const QJsonObject &object, const QString &prefix, QMap<QString, double> &numbers)
{
    for (auto member = object.constBegin(); member != object.constEnd(); ++member) {
        const QString path = prefix + member.key();
        if (member.value().isDouble())
            numbers.insert(path, member.value().toDouble());
        else if (member.value().isObject())
            collectNumbers(member.value().toObject(), path + QLatin1Char('.'), numbers);
    }
}

} // namespace

QJsonValue resultAt(const QJsonObject &results, const QString &path)
{
    const auto whole = results.constFind(path);
    if (whole != results.constEnd())
        return *whole;
    for (auto member = results.constBegin(); member != results.constEnd(); ++member) {
        const QString &name = member.key();
        if (member.value().isObject() && path.size() > name.size() + 1 && path.startsWith(name)
            && path.at(name.size()) == QLatin1Char('.')) {
            const QJsonValue inner = resultAt(member.value().toObject(), path.mid(name.size() + 1));
            if (!inner.isUndefined())
                return inner;
        }
    }
    return QJsonValue(QJsonValue::Undefined);
}

QMap<QString, double> numericResultPaths(const QJsonObject &results)
{
    QMap<QString, double> numbers;
    collectNumbers(results, QString(), numbers);
    return numbers;
}
