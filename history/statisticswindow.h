#pragma once

#include <QMap>
#include <QWidget>

#include "store/recordstatistics.h"

namespace Ui {
class StatisticsWindow;
}

// The batch statistics of a set of records, one row per numeric result: n, mean,
// sample standard deviation, minimum, maximum, coefficient of variation and, where
// the methods set both limits, Cpk. A value that does not exist shows as a dash.
class StatisticsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit StatisticsWindow(QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    void showStatistics(int records, const QMap<QString, ResultStatistics> &statistics);

private:
    Ui::StatisticsWindow *ui;
};
