#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QVector>
#include <cstdint>
#include <memory>

#include "chart/axissetting.h"
#include "chart/curveplot.h"
#include "control/testrun.h"
#include "control/testtracker.h"
#include "device/acquisitionquality.h"
#include "device/curvesetting.h"
#include "records/testrecorder.h"

class ChartRecord;
class HistoryWindow;
class QCloseEvent;
class QLabel;
class RecordsStatusLabel;
struct TestRecord;
class QMouseEvent;
class QShortcut;
class QTimer;
class ResultsPanel;
class modbusThread;

namespace Ui {
class MainWindow;
}

// The program's one long-lived window: live readouts, the operator's commands and the
// force/distance chart. It owns the acquisition thread object for the whole run.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Makes `path` the port the next Connect opens, for ports the system does not list.
    void usePort(const QString &path);
    // The same for a simulated stand, which the window title then names.
    void useSimulatedStand(const QString &path);
    // Every finished test is kept in `url` from now on; until then records are off.
    void useRecords(const DatabaseUrl &url);

signals:
    void sendCurveSetting(Curve_Setting setting);
    // After the thread reported the end of a test started with Start (not of a
    // recording jog), with the test's own points and how they came across.
    void testFinished(const TestRun &run);
    // While such a test runs, a few times a second: the test so far.
    void testProgress(const TestRun &run);
    // A data file has been opened and the chart holds what it read.
    void dataFileOpened(const QString &path);

private slots:
    void on_actionConnect_triggered();
    void on_actionDisconnect_triggered();
    void on_actionSetting_triggered();
    void on_startBtn_clicked();
    void on_stopBtn_clicked();
    void on_refreshBtn_clicked();
    void on_axisSetBtn_clicked();
    void on_actionChart_triggered();
    void on_actionabout_triggered();
    void myWidgetDoubleClicked(QMouseEvent *event);
    void myMouseMoveEvent(QMouseEvent *event);
    void on_actionOpen_triggered();
    void on_actionSave_triggered();
    void on_forwardCheckBox_clicked();
    void on_returnCheckBox_clicked();
    void on_actionLanguage_triggered();
    void on_actionExport_triggered();
    void receiveAxisSet(AxisSetting setting);
    void receiveCurveSetting(Curve_Setting setting);
    void receiveCurveData(int index, double x, double y);
    void receiveCurrentPointValue(float distance, float force);
    void receiveCurrentState(QVector<float> fState, QVector<int> iState);
    void on_actionmachine_parameter_triggered();
    void on_autoCheckBox_clicked();
    void on_testModeBtn_clicked();
    void on_zeroBtn_clicked();
    void on_distanceZeroBtn_clicked();
    void on_upBtn_clicked();
    void on_downBtn_clicked();
    void on_unitBtn_clicked();
    // Slots beyond the documented ones come after them, so the documented method
    // indexes stay as they are.
    void receiveLinkHealth(bool answering);
    void receiveCurveEnded(AcquisitionQuality quality);
    void refreshLiveState();
    void on_actionHistory_triggered();
    void on_actionStoreRecord_triggered();
    void on_actionRecordsDatabase_triggered();
    void on_resetZoomBtn_clicked();
    void on_actionReport_triggered();
    void on_actionPrint_triggered();
    void on_actionExportCurve_triggered();
    void on_actionReportSettings_triggered();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void initPlot();
    bool isConnected() const;
    void updateStartEnabled();
    void initRecords();
    void initReports();
    StandState standState() const;
    // Shows a record's curve without touching the controller.
    void showRecord(const TestRecord &record);
    void showReadouts(float newtons, float millimetres);
    void updateReadoutsLook();
    void fitReadoutWidths();
    bool stopAcquisitionFirst(const QString &question);

    Ui::MainWindow *ui;
    Curve_Setting curveSetting;
    modbusThread *deviceThread;
    QLabel *linkStateLabel;  // beside the status messages, shown while the controller is silent
    QLabel *testStateLabel;  // the running or last test, beside the link state
    uint8_t plotUnit = 0;
    std::unique_ptr<CurvePlot> curvePlot;
    TestTracker tracker;
    QTimer *clockTimer;        // paces the reports of a running test and the readouts' look
    bool startArmed = false;   // test settings confirmed while connected
    bool linkAnswering = true; // the acquisition thread's last verdict
    QElapsedTimer readoutAge;  // since the readouts last got a value
    QShortcut *plotStopShortcut; // Stop from the chart while it fills the screen
    int standType = 0;         // type number read at Connect; 0 when none was
    TestRecorder *recorder;
    RecordsStatusLabel *recordsLabel;
    QPointer<HistoryWindow> history;
    ChartRecord *chartRecord;  // the stored test the chart shows, for reports
    ResultsPanel *results;   // the results dock beside the chart, and the chart's markers
};
