#pragma once

// The charts of the reports: force against distance in the unit the report shows,
// both axes labelled with their units, drawn like the window's chart.

#include <QColor>
#include <QCoreApplication>
#include <QVector>
#include <memory>

#include "store/testrecord.h"

class QCustomPlot;

class ReportChart
{
    Q_DECLARE_TR_FUNCTIONS(ReportChart)

public:
    // One test: the forward stroke blue, the return stroke red.
    static std::unique_ptr<QCustomPlot> record(const TestRecord &record, int unit);
    // Several tests, each in the colour overlayColor gives it: the forward stroke
    // solid, the return stroke dashed. The legend names them by sample while it
    // stays small enough to leave the curves visible.
    static std::unique_ptr<QCustomPlot> overlay(const QVector<TestRecord> &records, int unit);
    static QColor overlayColor(int index, int count);
};
