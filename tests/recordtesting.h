#pragma once

// Records made up for the store's tests.

#include "store/recordbuilder.h"

#include <QJsonObject>

inline PreparedRecord madeUpRecord(int i, const QString &batch = QStringLiteral("B1"),
                                   const QString &method = QStringLiteral("Peel"),
                                   const QDateTime &at = QDateTime(), int points = 100)
{
    RecordInput input;
    input.sample = QStringLiteral("S-%1").arg(i);
    input.batch = batch;
    input.operatorName = QStringLiteral("ann");
    input.recordedAt = at;
    input.method = {{QStringLiteral("name"), method}};
    input.results = {{QStringLiteral("forward"), QJsonObject{{QStringLiteral("peak_force_N"), 10.0 + i}}},
                     {QStringLiteral("verdict"), i % 3 == 0 ? QStringLiteral("fail") : QStringLiteral("pass")}};
    for (int p = 0; p < points; ++p) {
        input.forward.append(QPointF(p * 0.1, i + p * 0.5));
        input.back.append(QPointF((points - p) * 0.1, i - p * 0.25));
    }
    return buildRecord(input);
}
