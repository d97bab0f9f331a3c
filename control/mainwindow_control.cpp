// The main window's link and command slots, the live readout, and the port settings
// and test start dialogs. Commands are fire-and-forget: the controller's reaction
// shows in the next polled state or as curve points on the chart.

#include "app/mainwindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "chart/forceunit.h"
#include "control/chartstart.h"
#include "control/readout.h"
#include "control/teststatus.h"
#include "device/modbusthread.h"
#include "device/serialsettingdialog.h"
#include "ui_mainwindow.h"

namespace {
constexpr int MaxTypeNumber = 5000;
constexpr int MaxConnectDecimals = 4;
} // namespace

bool MainWindow::isConnected() const
{
    return !ui->actionConnect->isEnabled();
}

void MainWindow::on_actionConnect_triggered()
{
    if (!deviceThread->openDevice()) {
        statusBar()->showMessage(tr("COM open failed"));
        return;
    }
    const Serial_Setting_Type s = deviceThread->serialSetting();
    statusBar()->showMessage(tr("%1,%2,%3,%4,%5,success")
                                 .arg(s.portName)
                                 .arg(s.baudRate)
                                 .arg(s.dataBits)
                                 .arg(QChar::fromLatin1(s.parity))
                                 .arg(s.stopBits));
    ui->actionConnect->setEnabled(false);
    ui->actionDisconnect->setEnabled(true);
    linkAnswering = true;

    const uint16_t ratedForce = deviceThread->readMachineType();
    curvePlot->setForceRange(ratedForce);
    standType = ratedForce >= 1 && ratedForce <= MaxTypeNumber ? ratedForce : 0;
    if (standType != 0)
        ui->typeLabel->setText(tr("Type-%1").arg(ratedForce));

    // Nothing read (-1) keeps the decimals already in use.
    const int decimals = deviceThread->readDecimals();
    if (decimals >= 0 && decimals <= MaxConnectDecimals)
        forceDecimals = decimals;
    fitReadoutWidths();

    deviceThread->startPolling();
}

void MainWindow::on_actionDisconnect_triggered()
{
    if (!stopAcquisitionFirst(tr("A test is running. Stop it and disconnect?")))
        return;
    deviceThread->stopRunning();
    deviceThread->wait();
    deviceThread->closeDevice();
    statusBar()->showMessage(tr("%1 close").arg(deviceThread->serialSetting().portName));
    ui->actionConnect->setEnabled(true);
    ui->actionDisconnect->setEnabled(false);
    linkStateLabel->hide();
    updateReadoutsLook();
}

// The stand moves on its own: leaving it running unseen is never done unasked. True
// when nothing is being acquired, or when the operator chose to stop it (and Stop
// has been sent).
bool MainWindow::stopAcquisitionFirst(const QString &question)
{
    if (!isConnected() || !deviceThread->isCurveMode())
        return true;
    if (QMessageBox::question(this, tr("Confirm"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    on_stopBtn_clicked();
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (stopAcquisitionFirst(tr("A test is running. Stop it and close Quelmar?")))
        event->accept();
    else
        event->ignore();
}

// Curve acquisition is followed only on an open link: with the port closed the
// thread writes nothing and no end will be reported.
void MainWindow::on_startBtn_clicked()
{
    deviceThread->startTest(curveSetting);
    if (!isConnected())
        return;
    tracker.startTest(curveSetting, QDateTime::currentDateTimeUtc());
    testStateLabel->setText(TestStatus::running(std::nullopt, 0));
    updateStartEnabled();
}

void MainWindow::on_stopBtn_clicked()
{
    tracker.stopPressed();
    deviceThread->stopTest();
}

void MainWindow::on_upBtn_clicked()
{
    if (ui->curveCheckBox->checkState() == Qt::Unchecked) {
        deviceThread->moveUp();
        return;
    }
    deviceThread->moveUpRecord();
    if (isConnected())
        tracker.startJog();
    updateStartEnabled();
}

void MainWindow::on_downBtn_clicked()
{
    if (ui->curveCheckBox->checkState() == Qt::Unchecked) {
        deviceThread->moveDown();
        return;
    }
    deviceThread->moveDownRecord();
    if (isConnected())
        tracker.startJog();
    updateStartEnabled();
}

void MainWindow::receiveCurveEnded(AcquisitionQuality quality)
{
    const std::optional<TestRun> finished = tracker.end(quality);
    updateStartEnabled();
    if (!finished)
        return;
    const QString missing = TestStatus::quality(finished->quality);
    testStateLabel->setText(TestStatus::ended(finished->stopped, finished->durationMs)
                            + (missing.isEmpty() ? QString() : QStringLiteral(". ") + missing));
    emit testFinished(*finished);
}

void MainWindow::refreshLiveState()
{
    updateReadoutsLook();
    if (!tracker.testRunning())
        return;
    testStateLabel->setText(TestStatus::running(tracker.lastDistance(), tracker.elapsedMs()));
    emit testProgress(tracker.progress());
}

// Start again in the middle of a stroke would restart the stand there.
void MainWindow::updateStartEnabled()
{
    ui->startBtn->setEnabled(startArmed && !tracker.acquiring());
}

void MainWindow::on_zeroBtn_clicked()
{
    deviceThread->zero();
}

void MainWindow::on_distanceZeroBtn_clicked()
{
    deviceThread->distanceZero();
}

void MainWindow::on_autoCheckBox_clicked()
{
    deviceThread->switchAuto();
}

void MainWindow::on_testModeBtn_clicked()
{
    deviceThread->switchTestMode();
}

void MainWindow::on_unitBtn_clicked()
{
    deviceThread->switchUnit();
}

void MainWindow::receiveCurrentPointValue(float distance, float force)
{
    showReadouts(force, distance);
}

void MainWindow::showReadouts(float newtons, float millimetres)
{
    ui->forceLabel->setText(Readout::forceText(newtons, forceUnit, forceDecimals));
    ui->distanceLabel->setText(Readout::distanceText(millimetres));
    readoutAge.start();
    updateReadoutsLook();
}

// Wide enough for the widest value they show, so that the buttons beside them stay
// put; the decimals come from the controller and may change.
void MainWindow::fitReadoutWidths()
{
    const QFontMetrics metrics(ui->forceLabel->font());
    const int decimals = Readout::boundedDecimals(forceDecimals);
    const QString widestNumber = QStringLiteral("-8888") + (decimals > 0 ? QStringLiteral(".") + QString(decimals, QLatin1Char('8')) : QString());
    int widest = 0;
    for (const QString &unit : unitNames)
        widest = qMax(widest, metrics.horizontalAdvance(tr("%1 %2").arg(widestNumber, unit)));
    ui->forceLabel->setMinimumWidth(widest);
    ui->distanceLabel->setMinimumWidth(metrics.horizontalAdvance(tr("%1 mm").arg(QStringLiteral("-8888.8"))));
    ui->typeLabel->setMinimumWidth(ui->typeLabel->fontMetrics().horizontalAdvance(tr("Type-%1").arg(8888)));
}

// Values that stopped coming keep their text but no longer look live.
void MainWindow::updateReadoutsLook()
{
    const bool live = isConnected() && linkAnswering && readoutAge.isValid()
                      && readoutAge.elapsed() <= Readout::LiveForMs;
    ui->forceLabel->setEnabled(live);
    ui->distanceLabel->setEnabled(live);
}

void MainWindow::receiveCurrentState(QVector<float> fState, QVector<int> iState)
{
    if (fState.size() < 2 || iState.size() < 4)
        return;
    forceUnit = uint8_t(iState[0]);
    if (forceUnit != plotUnit) {
        curvePlot->changeUnit(plotUnit, forceUnit);
        plotUnit = forceUnit;
    }
    if (forceDecimals != iState[1]) {
        forceDecimals = iState[1];
        fitReadoutWidths();
    }
    ui->autoCheckBox->setChecked(iState[2] != 0);
    if (iState[3] == 0)
        ui->testModeBtn->setText(tr("Real Time"));
    else if (iState[3] == 1)
        ui->testModeBtn->setText(tr("Peak"));
    showReadouts(fState[0], fState[1]);
}

// A verdict still queued from a loop that has ended is no news once disconnected.
void MainWindow::receiveLinkHealth(bool answering)
{
    linkAnswering = answering;
    linkStateLabel->setVisible(!answering && isConnected());
    updateReadoutsLook();
}

// Port settings may change only while the port is closed: the thread reads them
// when it opens the port.
void MainWindow::on_actionSetting_triggered()
{
    if (isConnected()) {
        QMessageBox::warning(this, tr("Warning"), tr("Please close the serial port!"), QMessageBox::Ok);
        return;
    }
    auto *dialog = new SerialSettingDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Both objects live in the GUI thread, so the setting is passed by a direct call
    // and needs no meta-type registration.
    connect(dialog, SIGNAL(sendSerialSetting(Serial_Setting_Type)), deviceThread,
            SLOT(receiveSerailSetting(Serial_Setting_Type)));
    dialog->exec();
}

void MainWindow::on_actionChart_triggered()
{
    auto *dialog = new chartStart(this);
    connect(dialog, SIGNAL(sendCurveSetting(Curve_Setting)), this,
            SLOT(receiveCurveSetting(Curve_Setting)));
    connect(this, SIGNAL(sendCurveSetting(Curve_Setting)), dialog,
            SLOT(receiveCurveSetting(Curve_Setting)));
    emit sendCurveSetting(curveSetting);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowFlags(Qt::Dialog);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void MainWindow::receiveCurveSetting(Curve_Setting setting)
{
    curveSetting = setting;
    if (isConnected()) {
        startArmed = true;
        updateStartEnabled();
    }
}
