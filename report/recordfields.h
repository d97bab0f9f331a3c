#pragma once

// A stored record as the reports show it: its members read from the record JSON and
// put into words in the interface language.

#include <QColor>
#include <QCoreApplication>
#include <QJsonObject>
#include <QStringList>
#include <QVector>

#include "report/reportdocument.h"
#include "store/testrecord.h"

class RecordFields
{
    Q_DECLARE_TR_FUNCTIONS(RecordFields)

public:
    static const QColor PassColor;
    static const QColor FailColor;

    struct VerdictText
    {
        QString text;    // "PASS", "FAIL", or that there are no limits
        QColor color;
        QString detail;  // the results that failed
    };

    explicit RecordFields(const QJsonObject &record);

    QString sample() const { return string(QStringLiteral("sample")); }
    QString batch() const { return string(QStringLiteral("batch")); }
    QString operatorName() const { return string(QStringLiteral("operator")); }
    QString source() const { return string(QStringLiteral("source")); }
    QString verdictKey() const { return results().value(QStringLiteral("verdict")).toString(); }
    // "Peel 25 mm, version 3"; empty without a method.
    QString methodTitle() const;
    // The unit the operator saw, and the stand's force decimals.
    int unit() const;
    int decimals() const;
    QJsonObject method() const { return record.value(QStringLiteral("method")).toObject(); }
    QJsonObject results() const { return record.value(QStringLiteral("results")).toObject(); }
    // The time of the record in the local time zone.
    QString localTime() const;

    QVector<ReportField> identification() const;
    QVector<ReportField> methodAndSettings() const;
    QVector<ReportField> quality(const TestRecord &stored) const;
    VerdictText verdict() const;
    // The verdict in one word for a table row, coloured.
    QString verdictWord() const;
    QColor verdictColor() const;

    // The results' paths in the order the window lists them: the forward stroke's,
    // the return stroke's, then those of the whole curve.
    QStringList resultPaths() const;

private:
    QString string(const QString &key) const { return record.value(key).toString(); }

    QJsonObject record;
};
