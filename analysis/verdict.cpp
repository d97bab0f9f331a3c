#include "analysis/verdict.h"

#include <QJsonArray>

#include "analysis/resultpath.h"

Verdict judge(const QJsonObject &results, const QVector<ResultLimit> &limits)
{
    if (limits.isEmpty())
        return {QStringLiteral("none"), {}};
    Verdict verdict{QStringLiteral("pass"), {}};
    for (const ResultLimit &limit : limits) {
        const QJsonValue result = resultAt(results, limit.path);
        const double value = result.toDouble();
        if (!result.isDouble() || (limit.min && value < *limit.min) || (limit.max && value > *limit.max))
            verdict.failed.append(limit.path);
    }
    if (!verdict.failed.isEmpty())
        verdict.verdict = QStringLiteral("fail");
    return verdict;
}

QJsonObject resultsJson(const QJsonObject &results, const QVector<ResultLimit> &limits)
{
    const Verdict verdict = judge(results, limits);
    QJsonObject judged = results;
    judged.insert(QStringLiteral("verdict"), verdict.verdict);
    judged.insert(QStringLiteral("failed"), QJsonArray::fromStringList(verdict.failed));
    return judged;
}
