#pragma once

#include <QJsonObject>
#include <QObject>
#include <optional>

#include "analysis/methodlibrary.h"
#include "analysis/runningpeak.h"
#include "analysis/testcurve.h"
#include "device/curvesetting.h"

class CurvePlot;
class QMainWindow;
class QMenu;
class ResultsDock;
class TestRun;

// Computes the results the dock shows and the chart marks: of a test when it ends
// (its own points only), its peak while it runs, of a data file when it is opened
// and of what the chart holds when the operator asks; all judged by the method in
// use, which the method library chooses and which is kept between starts.
class ResultsPanel : public QObject
{
    Q_OBJECT

public:
    // Docks the panel beside the window's chart and puts its switches in `viewMenu`.
    ResultsPanel(QMainWindow *window, QMenu *viewMenu, CurvePlot &chart, const QString &methodFolder);

    ResultsDock *dock() const { return resultsDock; }
    const std::optional<TestMethod> &method() const { return inUse; }

signals:
    // The test settings of a method chosen for use, handed over as the test start
    // dialog hands them; none for a method that sets no test.
    void sendCurveSetting(Curve_Setting setting);
    // The method in use changed; a method without a name is none.
    void methodInUseChanged(const TestMethod &method);

public slots:
    void showTest(const TestRun &run);
    void followTest(const TestRun &run);
    void showFile(const QString &path);
    void showChart();
    // Shows the results again when the unit or the decimals the operator sees changed.
    void showInUnit();

private slots:
    void openLibrary();
    // Takes up the method in use, and its test settings.
    void takeUpMethod();

private:
    void show(const QString &source, const TestCurve &curve);
    void render();

    QMainWindow *window;
    CurvePlot &chart;
    ResultsDock *resultsDock;
    MethodLibrary library;
    std::optional<TestMethod> inUse;
    QString inUseFile;
    // What the dock shows, kept to show it again in another unit or judge it by
    // another method. A running test's points are not kept: holding them would make
    // the window copy them at the next point.
    QString source;
    TestCurve curve;
    QJsonObject results;
    bool running = false;
    RunningPeak peaks[2];
    uint8_t shownUnit = 0;
    int shownDecimals = 0;
};
