// The main window's reports of the test on the chart: File > Report..., Print... and
// Export curve as CSV..., and the lab's name that heads the reports. Which record the
// chart shows is the ChartRecord's to know; the pages are TestReport's.

#include "app/mainwindow.h"

#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <functional>

#include "chart/forceunit.h"
#include "records/filetowrite.h"
#include "report/chartrecord.h"
#include "report/curvecsv.h"
#include "report/reportsettings.h"
#include "report/testreport.h"
#include "ui_mainwindow.h"

namespace {

// Writes the chart's record to `path`; returns why not, empty when done.
using RecordFileWriter = std::function<QString(const TestRecord &record, const QString &path)>;

// Once the record is at hand, asks for a file, writes it and tells the operator where it went or why it did not.
void saveChartRecord(QMainWindow *window, ChartRecord &chartRecord, const QString &title, const QString &filter,
                     const QString &written, const RecordFileWriter &write)
{
    chartRecord.withRecord(
        [=](const TestRecord &record) {
            const QString path = chooseFileToWrite(window, title, filter);
            if (path.isEmpty())
                return;
            const QString shownPath = QDir::toNativeSeparators(path);
            const QString error = write(record, path);
            if (error.isEmpty())
                window->statusBar()->showMessage(written.arg(shownPath));
            else
                QMessageBox::warning(window, title, MainWindow::tr("Could not write %1:\n%2").arg(shownPath, error));
        },
        [=](const QString &why) { QMessageBox::information(window, title, why); });
}

} // namespace

void MainWindow::initReports()
{
    chartRecord = new ChartRecord(this);
}

void MainWindow::on_actionReport_triggered()
{
    saveChartRecord(this, *chartRecord, tr("Report"), QStringLiteral("*.pdf"), tr("Report written to %1."),
                    [](const TestRecord &record, const QString &path) {
                        QString error;
                        writeReportPdf(TestReport::single(record, {reportLabName()}), path, record.uuid, error);
                        return error;
                    });
}

void MainWindow::on_actionPrint_triggered()
{
    chartRecord->withRecord(
        [this](const TestRecord &record) {
            QPrinter printer(QPrinter::HighResolution);
            setReportPage(printer);
            printer.setDocName(record.uuid);
            QPrintDialog dialog(&printer, this);
            if (dialog.exec() != QDialog::Accepted)
                return;
            if (TestReport::single(record, {reportLabName()}).print(printer) == 0)
                QMessageBox::warning(this, tr("Print"), tr("The report could not be printed."));
        },
        [this](const QString &why) { QMessageBox::information(this, tr("Print"), why); });
}

void MainWindow::on_actionExportCurve_triggered()
{
    saveChartRecord(this, *chartRecord, tr("Export curve"), QStringLiteral("*.csv"), tr("Curve written to %1."),
                    [](const TestRecord &record, const QString &path) { return saveCurveCsv(path, record, forceUnit); });
}

void MainWindow::on_actionReportSettings_triggered()
{
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Report settings"), tr("Lab's name, heading every report:"),
                                               QLineEdit::Normal, reportLabName(), &ok);
    if (ok)
        setReportLabName(name.trimmed());
}
