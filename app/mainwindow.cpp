#include "app/mainwindow.h"

#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QShortcut>
#include <QTimer>

#include "app/languageselectdialog.h"
#include "chart/curvesettingdialog.h"
#include "chart/forceunit.h"
#include "device/modbusthread.h"
#include "report/chartrecord.h"
#include "results/resultspanel.h"
#include "ui_mainwindow.h"

namespace {
constexpr int ClockIntervalMs = 250;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , curveSetting(DefaultCurveSetting)
    , deviceThread(new modbusThread)
{
    ui->setupUi(this);
    ui->actionConnect->setEnabled(true);
    ui->actionDisconnect->setEnabled(false);
    connect(ui->actionExit, SIGNAL(triggered(bool)), this, SLOT(close()));

    initPlot();
    connect(ui->userPlot, SIGNAL(mouseMove(QMouseEvent*)), this, SLOT(myMouseMoveEvent(QMouseEvent*)));
    connect(ui->userPlot, SIGNAL(mouseDoubleClick(QMouseEvent*)), this, SLOT(myWidgetDoubleClicked(QMouseEvent*)));

    ui->startBtn->setEnabled(false);
    ui->forceLabel->clear();
    ui->distanceLabel->clear();
    ui->forwardCheckBox->setChecked(true);
    ui->returnCheckBox->setChecked(true);

    connect(deviceThread, SIGNAL(sendCurrentPointValue(float,float)), this,
            SLOT(receiveCurrentPointValue(float,float)));
    connect(deviceThread, SIGNAL(sendCurveData(int,double,double)), this,
            SLOT(receiveCurveData(int,double,double)));
    // States are queued across threads, so their vector types must be known by name.
    qRegisterMetaType<QVector<float>>();
    qRegisterMetaType<QVector<int>>();
    qRegisterMetaType<QVector<float>>("vector float");
    qRegisterMetaType<QVector<int>>("vector int");
    connect(deviceThread, SIGNAL(sendCurrentState(QVector<float>,QVector<int>)), this,
            SLOT(receiveCurrentState(QVector<float>,QVector<int>)));

    // Permanent widgets, so the status messages stay the operator's.
    testStateLabel = new QLabel;
    testStateLabel->setObjectName(QStringLiteral("testStateLabel"));
    statusBar()->addPermanentWidget(testStateLabel);
    linkStateLabel = new QLabel(tr("Controller not answering"));
    linkStateLabel->setObjectName(QStringLiteral("linkStateLabel"));
    statusBar()->addPermanentWidget(linkStateLabel);
    linkStateLabel->hide();
    connect(deviceThread, SIGNAL(sendLinkHealth(bool)), this, SLOT(receiveLinkHealth(bool)));
    connect(deviceThread, SIGNAL(sendCurveEnded(AcquisitionQuality)), this,
            SLOT(receiveCurveEnded(AcquisitionQuality)));
    qRegisterMetaType<TestRun>();  // receivers may take it in another thread
    clockTimer = new QTimer(this);
    connect(clockTimer, SIGNAL(timeout()), this, SLOT(refreshLiveState()));
    clockTimer->start(ClockIntervalMs);

    // Stop from anywhere in the window; the chart alone when it fills the screen.
    auto *stopShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stopShortcut, SIGNAL(activated()), ui->stopBtn, SLOT(click()));
    plotStopShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), ui->userPlot);
    plotStopShortcut->setEnabled(false);
    connect(plotStopShortcut, SIGNAL(activated()), ui->stopBtn, SLOT(click()));
    updateReadoutsLook();

    ForceUnit::resetDisplayState();
    plotUnit = forceUnit;
    initReports();
    initRecords();

    results = new ResultsPanel(this, ui->menuView, *curvePlot, MethodLibrary::defaultFolder());
    connect(this, &MainWindow::testFinished, results, &ResultsPanel::showTest);
    connect(this, &MainWindow::testProgress, results, &ResultsPanel::followTest);
    connect(this, &MainWindow::dataFileOpened, results, &ResultsPanel::showFile);
    // Queued after the window's own slot, which takes up the new unit first.
    connect(deviceThread, SIGNAL(sendCurrentState(QVector<float>,QVector<int>)), results, SLOT(showInUnit()));
    connect(results, &ResultsPanel::sendCurveSetting, this, &MainWindow::receiveCurveSetting);
    connect(results, &ResultsPanel::methodInUseChanged, recorder, &TestRecorder::setMethod);

    // Long texts beside the dead-link indicator must not widen the window.
    testStateLabel->setMinimumWidth(1);
    // The form's size unless its texts need more, in the language and font at hand;
    // it cannot be made smaller than they need.
    fitReadoutWidths();
    resize(size().expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow()
{
    deviceThread->stopRunning();
    deviceThread->wait();
    delete ui;
    deviceThread->closeDevice();
    delete deviceThread;
}

void MainWindow::usePort(const QString &path)
{
    Serial_Setting_Type setting = deviceThread->serialSetting();
    setting.portName = path;
    deviceThread->receiveSerailSetting(setting);
}

void MainWindow::useSimulatedStand(const QString &path)
{
    usePort(path);
    setWindowTitle(tr("Quelmar - simulated stand"));
}

void MainWindow::on_actionabout_triggered()
{
    QMessageBox::about(this, tr("about"), tr("Quelmar Ver %1").arg(QStringLiteral(QUELMAR_DISPLAY_VERSION)));
}

// Chart.

void MainWindow::initPlot()
{
    curvePlot = std::make_unique<CurvePlot>(ui->userPlot);
    curvePlot->init();
}

void MainWindow::receiveCurveData(int index, double x, double y)
{
    tracker.addPoint(index, x, y);
    curvePlot->addPoint(index, x, ForceUnit::fromNewtons(float(y), forceUnit));
}

void MainWindow::myMouseMoveEvent(QMouseEvent *event)
{
    statusBar()->showMessage(curvePlot->cursorText(event->pos(), forceDecimals));
}

void MainWindow::myWidgetDoubleClicked(QMouseEvent *)
{
    curvePlot->toggleFullScreen();
    // Alone on the screen the chart is a window of its own, out of the window's shortcuts.
    plotStopShortcut->setEnabled(curvePlot->isFullScreen());
}

void MainWindow::on_resetZoomBtn_clicked()
{
    curvePlot->resetZoom();
}

void MainWindow::on_forwardCheckBox_clicked()
{
    curvePlot->setStrokeVisible(CurvePlot::Forward, ui->forwardCheckBox->isChecked());
}

void MainWindow::on_returnCheckBox_clicked()
{
    curvePlot->setStrokeVisible(CurvePlot::Return, ui->returnCheckBox->isChecked());
}

void MainWindow::on_refreshBtn_clicked()
{
    curvePlot->clear();
    chartRecord->forget();
}

// Axis settings.

void MainWindow::on_axisSetBtn_clicked()
{
    curveSettingDialog dialog(this, curvePlot->axisSetting());
    connect(&dialog, SIGNAL(sendAxisSet(AxisSetting)), this, SLOT(receiveAxisSet(AxisSetting)));
    dialog.exec();
}

void MainWindow::receiveAxisSet(AxisSetting setting)
{
    curvePlot->applyAxisSetting(setting);
}

// The choice takes effect at the next start.
void MainWindow::on_actionLanguage_triggered()
{
    auto *dialog = new languageSelectDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}
