#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// Bounds on one result, both inclusive; a missing bound does not limit.
struct ResultLimit
{
    QString path;  // see resultpath.h
    std::optional<double> min;
    std::optional<double> max;
};

struct Verdict
{
    QString verdict;     // "none" without limits, else "pass" or "fail"
    QStringList failed;  // the paths of the limits not met, in the limits' order
};

// A limit is met when its result exists, is a number and lies within the bounds.
Verdict judge(const QJsonObject &results, const QVector<ResultLimit> &limits);

// The results object with "verdict" and "failed" added: what quelmar-cli analyse
// --json prints, the window shows and a record keeps.
QJsonObject resultsJson(const QJsonObject &results, const QVector<ResultLimit> &limits);
