// The main window's part in keeping records: the sample strip, the recorder that
// keeps each finished test, the records status, and the windows that look back. The
// work itself is done by those objects; these slots only tie them to the window.

#include "app/mainwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "chart/forceunit.h"
#include "history/historywindow.h"
#include "history/recordsdatabasedialog.h"
#include "history/recordsstatuslabel.h"
#include "records/datadir.h"
#include "records/recordslocation.h"
#include "records/testrecorder.h"
#include "report/chartrecord.h"
#include "ui_mainwindow.h"

namespace {
QVector<QPointF> inShownUnit(QVector<QPointF> newtons)
{
    for (QPointF &point : newtons)
        point.setY(double(ForceUnit::fromNewtons(float(point.y()), forceUnit)));
    return newtons;
}
} // namespace

void MainWindow::initRecords()
{
    recorder = new TestRecorder(this);
    recordsLabel = new RecordsStatusLabel;
    statusBar()->addPermanentWidget(recordsLabel);
    connect(recorder, &TestRecorder::stateChanged, recordsLabel, &RecordsStatusLabel::showState);
    connect(recorder, &TestRecorder::waitingChanged, recordsLabel, &RecordsStatusLabel::showWaiting);
    recorder->setSample(ui->sampleStrip->entry());
    connect(ui->sampleStrip, &SampleStrip::entryChanged, recorder, &TestRecorder::setSample);
    // The record takes the sample id before the strip counts on.
    connect(this, &MainWindow::testFinished, recorder, [this](const TestRun &run) {
        recorder->setStand(standState());
        chartRecord->testRecorded(recorder->recordTest(run));
    });
    connect(this, &MainWindow::testFinished, ui->sampleStrip, &SampleStrip::advance);
    recorder->setDatabase(DatabaseUrl(), QString());
}

void MainWindow::useRecords(const DatabaseUrl &url)
{
    recorder->setDatabase(url, defaultRecordsDatabase().path);
    chartRecord->setDatabase(url);
    if (history)
        history->setDatabase(url);
}

StandState MainWindow::standState() const
{
    return {standType, forceDecimals, forceUnit};
}

void MainWindow::on_actionHistory_triggered()
{
    if (!history) {
        history = new HistoryWindow(this);
        history->setWindowFlag(Qt::Window);
        connect(history, &HistoryWindow::recordOpened, this, &MainWindow::showRecord);
        connect(recorder, &TestRecorder::stored, history, &HistoryWindow::recordAdded);
        history->setDatabase(recorder->database());
    }
    history->show();
    history->raise();
    history->activateWindow();
}

// Shown like a file opened: the chart holds the forces in the unit on display.
void MainWindow::showRecord(const TestRecord &record)
{
    curvePlot->showLoaded(inShownUnit(record.forward), inShownUnit(record.back));
    chartRecord->show(record);
    statusBar()->showMessage(tr("Record %1: sample %2, %3 points.")
                                 .arg(record.seq)
                                 .arg(record.record.value(QLatin1String("sample")).toString())
                                 .arg(record.forward.size() + record.back.size()));
}

void MainWindow::on_actionStoreRecord_triggered()
{
    if (!recorder->isOn()) {
        QMessageBox::warning(this, tr("Store as record"), tr("Records are off: choose a records database first."));
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, tr("Store as record"), dataDir(), QStringLiteral("*.txt"));
    if (path.isEmpty())
        return;
    const QString shownPath = QDir::toNativeSeparators(path);
    const TestDataReading reading = openTestDataFile(path, ForceUnit::Newton);
    if (!reading.error.isEmpty()) {
        QMessageBox::warning(this, tr("Store as record"), tr("Could not open %1:\n%2").arg(shownPath, reading.error));
        return;
    }
    if (reading.data.forwardStroke.isEmpty() && reading.data.returnStroke.isEmpty()) {
        QMessageBox::warning(this, tr("Store as record"), tr("%1 holds no test data.").arg(shownPath));
        return;
    }
    recorder->setStand(standState());
    recorder->recordFile(reading.data);
    statusBar()->showMessage(tr("%1 is stored as a record.").arg(shownPath));
}

void MainWindow::on_actionRecordsDatabase_triggered()
{
    RecordsDatabaseDialog dialog(recorder->database(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    keepRecordsDatabase(dialog.url());
    useRecords(dialog.url());
}
