#include "history/recordtablemodel.h"

#include <QBrush>
#include <QColor>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analysis/resultpath.h"
#include "store/recordstatistics.h"

RecordTableModel::RecordTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void RecordTableModel::setRecords(const QVector<RecordSummary> &records, const QStringList &resultPaths)
{
    beginResetModel();
    rows = records;
    parsedRows = QVector<Parsed>(rows.size());
    paths = resultPaths;
    if (sortColumn >= FirstResult + paths.size())
        sortColumn = Time;
    arrange();
    endResetModel();
}

void RecordTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    sortColumn = column;
    sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selections and the current row follow their records.
    const QModelIndexList before = persistentIndexList();
    QVector<int> records;
    for (const QModelIndex &index : before)
        records.append(this->order.at(index.row()));
    arrange();
    QVector<int> shownAt(rows.size());
    for (int row = 0; row < this->order.size(); ++row)
        shownAt[this->order.at(row)] = row;
    QModelIndexList after;
    for (int i = 0; i < before.size(); ++i)
        after.append(index(shownAt.at(records.at(i)), before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RecordTableModel::arrange()
{
    order.resize(rows.size());
    std::iota(order.begin(), order.end(), 0);
    const bool descending = sortOrder == Qt::DescendingOrder;
    if (sortColumn >= FirstResult) {
        QVector<double> keys(rows.size());
        for (int i = 0; i < rows.size(); ++i)
            keys[i] = result(i, sortColumn);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            if (std::isnan(keys.at(a)) || std::isnan(keys.at(b)))
                return !std::isnan(keys.at(a)) && std::isnan(keys.at(b));
            return descending ? keys.at(a) > keys.at(b) : keys.at(a) < keys.at(b);
        });
        return;
    }
    QVector<QString> keys(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        keys[i] = textKey(rows.at(i), sortColumn);
    // The time is ISO text of one form, so it compares as text; names compare as a
    // reader would.
    const Qt::CaseSensitivity sensitivity = sortColumn == Time ? Qt::CaseSensitive : Qt::CaseInsensitive;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int compared = QString::compare(keys.at(a), keys.at(b), sensitivity);
        return descending ? compared > 0 : compared < 0;
    });
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : order.size();
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FirstResult + paths.size();
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= order.size())
        return QVariant();
    const int row = order.at(index.row());
    const RecordSummary &shown = rows.at(row);
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case Qt::ForegroundRole:
        if (index.column() == Verdict && shown.verdict == QLatin1String("pass"))
            return QBrush(QColor(0x1b, 0x7f, 0x2a));
        if (index.column() == Verdict && shown.verdict == QLatin1String("fail"))
            return QBrush(QColor(0xb0, 0x00, 0x20));
        return QVariant();
    case Qt::TextAlignmentRole:
        return index.column() >= FirstResult ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ToolTipRole:
        return parsed(row).note.isEmpty() ? QVariant() : QVariant(parsed(row).note);
    default:
        return QVariant();
    }
}

QString RecordTableModel::text(int row, int column) const
{
    const RecordSummary &record = rows.at(row);
    switch (column) {
    case Time:
        // Shown in local time; only rows on screen are ever converted.
        return QDateTime::fromString(record.recordedAt, Qt::ISODateWithMs)
            .toLocalTime()
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Verdict:
        if (record.verdict == QLatin1String("pass"))
            return tr("pass");
        if (record.verdict == QLatin1String("fail"))
            return tr("fail");
        return tr("none");
    default:
        if (column >= FirstResult) {
            const double value = result(row, column);
            return std::isnan(value) ? QString() : QString::number(value, 'g', 6);
        }
        return textKey(record, column);
    }
}

QString RecordTableModel::textKey(const RecordSummary &record, int column) const
{
    switch (column) {
    case Time:
        return record.recordedAt;
    case Sample:
        return record.sample;
    case Batch:
        return record.batch;
    case Operator:
        return record.operatorName;
    case Method:
        return record.method;
    case Verdict:
        return record.verdict;
    default:
        return QString();
    }
}

double RecordTableModel::result(int row, int column) const
{
    const QJsonValue value = resultAt(parsed(row).results, paths.value(column - FirstResult));
    return value.isDouble() ? value.toDouble() : std::nan("");
}

const RecordTableModel::Parsed &RecordTableModel::parsed(int row) const
{
    Parsed &parsed = parsedRows[row];
    if (!parsed.done) {
        const QJsonObject record = rows.at(row).recordJson();
        parsed.results = record.value(QLatin1String("results")).toObject();
        parsed.note = record.value(QLatin1String("note")).toString();
        parsed.done = true;
    }
    return parsed;
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time:
        return tr("Time");
    case Sample:
        return tr("Sample");
    case Batch:
        return tr("Batch");
    case Operator:
        return tr("Operator");
    case Method:
        return tr("Method");
    case Verdict:
        return tr("Verdict");
    default:
        return paths.value(section - FirstResult);
    }
}
