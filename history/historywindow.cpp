#include "history/historywindow.h"

#include <QDir>
#include <QHeaderView>
#include <QMessageBox>
#include <QTimer>

#include "history/overlaywindow.h"
#include "history/recordtablemodel.h"
#include "history/statisticswindow.h"
#include "records/batchstatistics.h"
#include "records/filetowrite.h"
#include "report/reportsettings.h"
#include "report/testreport.h"
#include "ui_historywindow.h"

namespace {
// Typing in a filter lists again once the typing pauses.
constexpr int FilterPauseMs = 250;
// Columns are sized to what the first rows hold, not to every row of a long list.
constexpr int SizedRows = 50;

// A window of its own that goes when closed.
template<typename Window>
Window *openWindow(QWidget *parent)
{
    auto *window = new Window(parent);
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}
} // namespace

HistoryWindow::HistoryWindow(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::HistoryWindow)
    , model(new RecordTableModel(this))
    , filterTimer(new QTimer(this))
    , reloadTimer(new QTimer(this))
{
    ui->setupUi(this);
    const QDate today = QDate::currentDate();
    ui->sinceEdit->setDate(today.addMonths(-1));
    ui->untilEdit->setDate(today);
    ui->methodCombo->addItem(tr("Any method"));
    ui->verdictCombo->addItem(tr("Any verdict"));
    ui->verdictCombo->addItem(tr("pass"), QStringLiteral("pass"));
    ui->verdictCombo->addItem(tr("fail"), QStringLiteral("fail"));
    ui->verdictCombo->addItem(tr("none"), QStringLiteral("none"));

    ui->recordsView->setModel(model);
    ui->recordsView->sortByColumn(RecordTableModel::Time, Qt::DescendingOrder);
    ui->recordsView->horizontalHeader()->setResizeContentsPrecision(SizedRows);
    ui->recordsView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    filterTimer->setSingleShot(true);
    filterTimer->setInterval(FilterPauseMs);
    connect(filterTimer, &QTimer::timeout, this, &HistoryWindow::refresh);
    reloadTimer->setSingleShot(true);
    reloadTimer->setInterval(FilterPauseMs);
    connect(reloadTimer, &QTimer::timeout, this, &HistoryWindow::reload);
    connect(&loader, &RecordLoader::listed, this, &HistoryWindow::receiveList);
    connect(&loader, &RecordLoader::methodsListed, this, &HistoryWindow::receiveMethods);
    connect(&loader, &RecordLoader::recordsRead, this, &HistoryWindow::receiveRecords);
}

HistoryWindow::~HistoryWindow()
{
    delete ui;
}

void HistoryWindow::setDatabase(const DatabaseUrl &url)
{
    loader.setDatabase(url);
    setWindowTitle(tr("Test records: %1").arg(url.toDisplayString()));
    reload();
}

void HistoryWindow::recordAdded()
{
    reloadTimer->start();
}

void HistoryWindow::reload()
{
    // Answers come in the order asked: the methods are in by the time the list is.
    methodsRequest = loader.methods(RecordFilter());
    refresh();
}

void HistoryWindow::refresh()
{
    filterTimer->stop();
    listFilter = filter();
    listRequest = loader.list(listFilter);
}

RecordFilter HistoryWindow::filter() const
{
    RecordFilter filter;
    if (ui->sinceCheck->isChecked())
        filter.since = ui->sinceEdit->date();
    if (ui->untilCheck->isChecked())
        filter.until = ui->untilEdit->date();
    filter.method = ui->methodCombo->currentData().toString();
    filter.batch = ui->batchEdit->text().trimmed();
    filter.verdict = ui->verdictCombo->currentData().toString();
    filter.search = ui->searchEdit->text().trimmed();
    return filter;
}

void HistoryWindow::on_sinceCheck_toggled() { filterTimer->start(); }
void HistoryWindow::on_sinceEdit_dateChanged() { filterTimer->start(); }
void HistoryWindow::on_untilCheck_toggled() { filterTimer->start(); }
void HistoryWindow::on_untilEdit_dateChanged() { filterTimer->start(); }
void HistoryWindow::on_methodCombo_activated(int) { filterTimer->start(); }
void HistoryWindow::on_batchEdit_textChanged() { filterTimer->start(); }
void HistoryWindow::on_verdictCombo_activated(int) { filterTimer->start(); }
void HistoryWindow::on_searchEdit_textChanged() { filterTimer->start(); }

void HistoryWindow::receiveList(int request, const QVector<RecordSummary> &rows, const QString &error)
{
    if (request != listRequest)
        return;
    model->setRecords(rows, resultColumns());
    shownFilter = listFilter;
    ui->recordsView->resizeColumnsToContents();
    if (error.isEmpty())
        ui->countLabel->setText(tr("%n record(s)", nullptr, model->rowCount()));
    else
        showError(error);
    emit listed(model->rowCount());
}

void HistoryWindow::receiveMethods(int request, const QVector<QJsonObject> &methods, const QString &error)
{
    if (!error.isEmpty()) {
        showError(error);
    } else if (request == methodsRequest) {
        this->methods = methods;
        showMethodNames();
    } else if (request == statisticsRequest) {
        auto *window = openWindow<StatisticsWindow>(this);
        window->showStatistics(statisticsRows.size(), batchStatistics(statisticsRows, methods));
        window->show();
    }
}

QStringList HistoryWindow::resultColumns() const
{
    if (listFilter.method.isEmpty())
        return mainResultPaths(methods);
    QVector<QJsonObject> filtered;
    for (const QJsonObject &method : methods)
        if (method.value(QLatin1String("name")).toString() == listFilter.method)
            filtered.append(method);
    return mainResultPaths(filtered);
}

void HistoryWindow::receiveRecords(int request, const QVector<TestRecord> &records, const QString &error)
{
    if (request != showRequest && request != overlayRequest && request != reportRequest)
        return;
    if (!error.isEmpty()) {
        showError(error);
        return;
    }
    if (request == showRequest && !records.isEmpty()) {
        emit recordOpened(records.first());
    } else if (request == overlayRequest) {
        auto *window = openWindow<OverlayWindow>(this);
        window->showRecords(records);
        window->show();
    } else if (request == reportRequest) {
        writeBatchReport(records);
    }
}

void HistoryWindow::writeBatchReport(const QVector<TestRecord> &records)
{
    QString error;
    if (writeReportPdf(TestReport::batch(records, {reportLabName()}), reportPath, tr("Batch report"), error) == 0)
        QMessageBox::warning(this, tr("Batch report"),
                             tr("Could not write %1:\n%2").arg(QDir::toNativeSeparators(reportPath), error));
}

void HistoryWindow::showMethodNames()
{
    QStringList names;
    for (const QJsonObject &method : methods) {
        const QString name = method.value(QLatin1String("name")).toString();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    names.sort(Qt::CaseInsensitive);
    const QString current = ui->methodCombo->currentData().toString();
    while (ui->methodCombo->count() > 1)
        ui->methodCombo->removeItem(1);
    for (const QString &name : names)
        ui->methodCombo->addItem(name, name);
    ui->methodCombo->setCurrentIndex(qMax(0, ui->methodCombo->findData(current)));
}

void HistoryWindow::showError(const QString &error)
{
    ui->countLabel->setText(tr("Records cannot be read: %1").arg(error));
}

QVector<RecordSummary> HistoryWindow::chosen() const
{
    QVector<RecordSummary> records;
    const QModelIndexList rows = ui->recordsView->selectionModel()->selectedRows();
    for (const QModelIndex &row : rows)
        records.append(model->record(row.row()));
    return records;
}

RecordFilter HistoryWindow::only(const QVector<RecordSummary> &records)
{
    RecordFilter filter;
    for (const RecordSummary &record : records)
        filter.uuids.append(record.uuid);
    return filter;
}

void HistoryWindow::on_recordsView_doubleClicked()
{
    on_showBtn_clicked();
}

void HistoryWindow::on_showBtn_clicked()
{
    const QModelIndex current = ui->recordsView->currentIndex();
    if (!current.isValid())
        return;
    showRequest = loader.read(only({model->record(current.row())}));
}

void HistoryWindow::on_overlayBtn_clicked()
{
    const QVector<RecordSummary> records = chosen();
    if (records.isEmpty()) {
        QMessageBox::information(this, tr("Overlay"), tr("Choose the records to overlay in the list."));
        return;
    }
    if (records.size() > OverlayLimit) {
        QMessageBox::information(this, tr("Overlay"),
                                 tr("At most %1 records can be overlaid; %2 are chosen.")
                                     .arg(OverlayLimit).arg(records.size()));
        return;
    }
    overlayRequest = loader.read(only(records));
}

void HistoryWindow::on_statisticsBtn_clicked()
{
    const QVector<RecordSummary> records = chosen();
    // Without a choice, every record listed.
    statisticsRows = records.isEmpty() ? model->records() : records;
    if (statisticsRows.isEmpty())
        return;
    statisticsRequest = loader.methods(records.isEmpty() ? shownFilter : only(records));
}

void HistoryWindow::on_reportBtn_clicked()
{
    const QVector<RecordSummary> chosenRecords = chosen();
    // Without a choice, every record listed.
    const QVector<RecordSummary> records = chosenRecords.isEmpty() ? model->records() : chosenRecords;
    if (records.isEmpty())
        return;
    if (records.size() > ReportLimit) {
        QMessageBox::information(this, tr("Batch report"),
                                 tr("At most %1 records go into one batch report; %2 are chosen.")
                                     .arg(ReportLimit).arg(records.size()));
        return;
    }
    const QString path = chooseFileToWrite(this, tr("Batch report"), QStringLiteral("*.pdf"));
    if (path.isEmpty())
        return;
    reportPath = path;
    reportRequest = loader.read(only(records));
}
