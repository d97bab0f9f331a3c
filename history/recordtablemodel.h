#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include "store/recordquery.h"

// The records of the history window, one row each: time, sample, batch, operator,
// method, verdict, then one column per main result. The model sorts itself on keys
// taken once per row (the UTC time text, numbers as numbers; a missing result last
// either way), so that ten thousand rows sort at once.
class RecordTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Sample, Batch, Operator, Method, Verdict, FirstResult };

    explicit RecordTableModel(QObject *parent = nullptr);

    // Shown in the order last asked for with sort().
    void setRecords(const QVector<RecordSummary> &records, const QStringList &resultPaths);
    const QVector<RecordSummary> &records() const { return rows; }
    // The record shown in `row`.
    const RecordSummary &record(int row) const { return rows.at(order.at(row)); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString text(int row, int column) const;
    QString textKey(const RecordSummary &record, int column) const;
    // NaN when the record has no such number.
    double result(int row, int column) const;
    void arrange();

    // What the rows' record JSON holds for the table, parsed when first needed: a
    // long list is shown without reading every record through.
    struct Parsed
    {
        bool done = false;
        QJsonObject results;
        QString note;
    };
    const Parsed &parsed(int row) const;

    QVector<RecordSummary> rows;  // as listed, in seq order
    mutable QVector<Parsed> parsedRows;
    QVector<int> order;           // rows shown: indexes into `rows`
    QStringList paths;
    int sortColumn = Time;
    Qt::SortOrder sortOrder = Qt::DescendingOrder;
};
