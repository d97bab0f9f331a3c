#pragma once

// What the printed reports hold, built from stored records as the window shows them:
// the results, verdict and quality the record keeps are printed as they are, never
// computed again, so a printout can be checked against the database.

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include "report/reportdocument.h"
#include "store/testrecord.h"

struct ReportOptions
{
    QString labName;  // heads every report; empty for none
};

class TestReport
{
    Q_DECLARE_TR_FUNCTIONS(TestReport)

public:
    // One test: who and what, the method and its settings, the chart, the results
    // with their limits, the verdict, the acquisition quality, the record's uuid and
    // hash, and lines to sign.
    static ReportDocument single(const TestRecord &record, const ReportOptions &options);

    // Several tests: their curves overlaid, the statistics of each result, then one
    // row of main results and verdict per record.
    static ReportDocument batch(const QVector<TestRecord> &records, const ReportOptions &options);
};
