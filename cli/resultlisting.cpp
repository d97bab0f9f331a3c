#include "cli/resultlisting.h"

#include <QJsonArray>

#include <algorithm>

#include "analysis/resultpath.h"
#include "analysis/resultrows.h"

namespace {

QString shown(const QJsonValue &value, ResultQuantity quantity)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    if (!value.isDouble())
        return QStringLiteral("-");
    return quantity == ResultQuantity::Count ? QString::number(qint64(value.toDouble()))
                                             : QString::number(value.toDouble(), 'g', 7);
}

} // namespace

QByteArray resultListing(const QJsonObject &results, const TestMethod &method)
{
    QVector<QStringList> rows = {{QString(), QStringLiteral("forward"), QStringLiteral("return")}};
    const QJsonObject forward = results.value(QLatin1String("forward")).toObject();
    const QJsonObject back = results.value(QLatin1String("return")).toObject();
    for (const ResultRow &row : strokeResultRows(forward))
        rows.append({row.path, shown(resultAt(forward, row.path), row.quantity),
                     shown(resultAt(back, row.path), row.quantity)});
    for (const ResultRow &row : curveResultRows())
        rows.append({row.path, shown(resultAt(results, row.path), row.quantity)});

    int nameWidth = 0;
    for (const QStringList &row : rows)
        nameWidth = std::max(nameWidth, int(row[0].size()));
    QString text = method.name.isEmpty() ? QStringLiteral("Method: none\n")
                                         : QStringLiteral("Method: %1, version %2\n").arg(method.name).arg(method.version);
    for (const QStringList &row : rows) {
        QString line = row[0].leftJustified(nameWidth);
        for (int column = 1; column < row.size(); ++column)
            line += row[column].rightJustified(16);
        text += line + QLatin1Char('\n');
    }
    const QString verdict = results.value(QLatin1String("verdict")).toString();
    text += QStringLiteral("Verdict: ") + verdict.toUpper();
    const QJsonArray failed = results.value(QLatin1String("failed")).toArray();
    if (!failed.isEmpty()) {
        QStringList paths;
        for (const QJsonValue &path : failed)
            paths.append(path.toString());
        text += QStringLiteral(" (%1)").arg(paths.join(QStringLiteral(", ")));
    }
    return (text + QLatin1Char('\n')).toUtf8();
}
