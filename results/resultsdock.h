#pragma once

#include <QDockWidget>
#include <QJsonObject>
#include <cstdint>
#include <memory>

class RunningPeak;

namespace Ui {
class ResultsDock;
}

// The results panel beside the chart: the method in use, each result of both
// strokes in the unit the operator sees, and the verdict. It only shows what it is
// handed; ResultsPanel decides what that is.
class ResultsDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit ResultsDock(QWidget *parent = nullptr);
    ~ResultsDock() override;

    // An empty name: no method in use.
    void showMethod(const QString &name, int version);
    // The results object (see analysis/verdict.h) of what `source` names.
    void showResults(const QString &source, const QJsonObject &results, uint8_t unit, int forceDecimals);
    // A test while it runs: each stroke's points and peak so far.
    void showRunning(const QString &source, const RunningPeak &forward, const RunningPeak &back, uint8_t unit,
                     int forceDecimals);

signals:
    void refreshRequested();
    void methodsRequested();

private slots:
    void on_refreshResultsBtn_clicked();
    void on_methodsBtn_clicked();

private:
    void setRowCount(int rows);
    void setCell(int row, int column, const QString &text, bool failed = false);
    void showVerdict(const QString &text, const QString &colour);

    std::unique_ptr<Ui::ResultsDock> ui;
};
