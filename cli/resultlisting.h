#pragma once

#include <QByteArray>
#include <QJsonObject>

#include "analysis/testmethod.h"

// The results as quelmar-cli prints them without --json: the method, one row per
// result with its forward and return values aligned in columns, then the verdict
// and the results that failed.
QByteArray resultListing(const QJsonObject &results, const TestMethod &method);
