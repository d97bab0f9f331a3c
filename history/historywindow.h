#pragma once

#include <QWidget>

#include "records/recordloader.h"

class QTimer;
class RecordTableModel;

namespace Ui {
class HistoryWindow;
}

// The records kept so far, newest first, filtered by date, method, batch, verdict and
// a search over sample and note; every filter is applied by the database. From here
// a record is shown on the main chart, several are overlaid, and the chosen (or else
// all listed) records are summed up in batch statistics. Records are read in the
// loader's thread; the window never waits for them.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryWindow(QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // Shows the records of `url`.
    void setDatabase(const DatabaseUrl &url);
    RecordFilter filter() const;

    // More curves than this are not overlaid: their points would all be read at once.
    static constexpr int OverlayLimit = 100;
    // A batch report reads every point of its records at once and overlays them all.
    static constexpr int ReportLimit = 500;

public slots:
    // Lists the records again, as the filters say.
    void refresh();
    // Reads the methods and lists again soon: a record has been stored, and more may
    // follow.
    void recordAdded();

signals:
    void recordOpened(const TestRecord &record);
    // The list in view has been filled from the database.
    void listed(int count);

private slots:
    void on_sinceCheck_toggled();
    void on_sinceEdit_dateChanged();
    void on_untilCheck_toggled();
    void on_untilEdit_dateChanged();
    void on_methodCombo_activated(int);
    void on_batchEdit_textChanged();
    void on_verdictCombo_activated(int);
    void on_searchEdit_textChanged();
    void on_recordsView_doubleClicked();
    void on_showBtn_clicked();
    void on_overlayBtn_clicked();
    void on_statisticsBtn_clicked();
    void on_reportBtn_clicked();

private:
    void reload();
    void receiveList(int request, const QVector<RecordSummary> &rows, const QString &error);
    void receiveMethods(int request, const QVector<QJsonObject> &methods, const QString &error);
    void receiveRecords(int request, const QVector<TestRecord> &records, const QString &error);
    void writeBatchReport(const QVector<TestRecord> &records);
    void showMethodNames();
    // The main results of the methods in the database, or of the one filtered by.
    QStringList resultColumns() const;
    void showError(const QString &error);
    // The records chosen in the table, in the order shown.
    QVector<RecordSummary> chosen() const;
    static RecordFilter only(const QVector<RecordSummary> &records);

    Ui::HistoryWindow *ui;
    RecordLoader loader;
    RecordTableModel *model;
    QTimer *filterTimer;
    QTimer *reloadTimer;
    QVector<QJsonObject> methods;  // of every record in the database
    RecordFilter listFilter;       // of the list asked for last
    RecordFilter shownFilter;      // of the list in view
    QVector<RecordSummary> statisticsRows;
    int methodsRequest = 0, listRequest = 0, statisticsRequest = 0, showRequest = 0, overlayRequest = 0;
    int reportRequest = 0;
    QString reportPath;  // where the batch report asked for goes
};
