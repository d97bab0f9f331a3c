// The main window's File menu slots for test data and chart export. The files are
// read and written by plain functions; these slots only ask for names and report.

#include "app/mainwindow.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "chart/forceunit.h"
#include "records/chartexport.h"
#include "records/datadir.h"
#include "records/filetowrite.h"
#include "records/testdatafile.h"
#include "report/chartrecord.h"
#include "ui_mainwindow.h"

namespace {
// Saving and export refuse an empty chart; hidden strokes count.
bool chartHasData(QWidget *window, const CurvePlot &plot)
{
    if (plot.hasPoints())
        return true;
    QMessageBox::information(window, MainWindow::tr("Info"), MainWindow::tr("The graph has no data!"),
                             QMessageBox::Ok);
    return false;
}

} // namespace

void MainWindow::on_actionOpen_triggered()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"), dataDir(), QStringLiteral("*.txt"));
    qDebug() << path;
    if (path.isEmpty())
        return;
    // The chart changes only once the whole file has been read and found to be test data.
    const TestDataReading reading = openTestDataFile(path, forceUnit);
    if (!reading.error.isEmpty()) {
        QMessageBox::warning(this, tr("Open"),
                             tr("Could not open %1:\n%2").arg(QDir::toNativeSeparators(path), reading.error));
        return;
    }
    // Headers alone would only empty the chart.
    const int points = reading.data.forwardStroke.size() + reading.data.returnStroke.size();
    if (points == 0) {
        QMessageBox::warning(this, tr("Open"), tr("%1 holds no test data.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    curvePlot->showLoaded(reading.data.forwardStroke, reading.data.returnStroke);
    chartRecord->forget();
    emit dataFileOpened(path);
    statusBar()->showMessage(reading.skippedLines == 0
        ? tr("Points loaded: %1.").arg(points)
        : tr("Points loaded: %1. Lines skipped: %2, the first is line %3.")
              .arg(points).arg(reading.skippedLines).arg(reading.firstSkippedLine));
}

void MainWindow::on_actionSave_triggered()
{
    if (!chartHasData(this, *curvePlot))
        return;
    const QString path = chooseFileToWrite(this, tr("Save"), QStringLiteral("*.txt"));
    qDebug() << path;
    if (path.isEmpty())
        return;
    const TestData data{curvePlot->points(CurvePlot::Forward), curvePlot->points(CurvePlot::Return)};
    const QString error = saveTestDataFile(path, data, forceUnit, forceDecimals);
    if (!error.isEmpty()) {
        QMessageBox::warning(this, tr("Save"),
                             tr("Could not save %1:\n%2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    statusBar()->showMessage(tr("Saved %L1 points to %2")
                                 .arg(data.forwardStroke.size() + data.returnStroke.size())
                                 .arg(QDir::toNativeSeparators(path)));
}

void MainWindow::on_actionExport_triggered()
{
    if (!chartHasData(this, *curvePlot))
        return;
    QString filter;
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Export"), dataDir() + QLatin1Char('/') + fileStamp(),
                                                        QStringLiteral("*.jpg;; *.bmp;; *.pdf"), &filter);
    qDebug() << chosen;
    if (chosen.isEmpty())
        return;
    const ExportTarget target = exportTarget(chosen, filter);
    const QString shownPath = QDir::toNativeSeparators(target.path);
    if (target.format != ChartFormat::Unsupported && !mayReplace(this, tr("Export"), chosen, target.path))
        return;
    if (target.format == ChartFormat::Unsupported)
        QMessageBox::warning(this, tr("Export"),
                             tr("%1 cannot be exported: the chart is exported as .jpg, .bmp or .pdf only.")
                                 .arg(shownPath));
    else if (!exportChart(*ui->userPlot, target))
        QMessageBox::warning(this, tr("Export"), tr("Could not export the chart to %1.").arg(shownPath));
    else
        statusBar()->showMessage(tr("Chart exported to %1").arg(shownPath));
}
