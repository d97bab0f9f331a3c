#include "results/resultsdock.h"

#include <QJsonArray>

#include "analysis/resultpath.h"
#include "analysis/resultrows.h"
#include "analysis/runningpeak.h"
#include "report/resulttext.h"
#include "ui_resultsdock.h"

ResultsDock::ResultsDock(QWidget *parent)
    : QDockWidget(parent)
    , ui(std::make_unique<Ui::ResultsDock>())
{
    ui->setupUi(this);
    QHeaderView *header = ui->resultsTable->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    ui->resultsTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    showMethod(QString(), 0);
    showVerdict(QString(), QString());
}

ResultsDock::~ResultsDock() = default;

void ResultsDock::showMethod(const QString &name, int version)
{
    ui->methodLabel->setText(name.isEmpty() ? tr("none") : tr("%1, version %2").arg(name).arg(version));
    ui->methodLabel->setToolTip(ui->methodLabel->text());
}

void ResultsDock::showResults(const QString &source, const QJsonObject &results, uint8_t unit, int forceDecimals)
{
    ui->sourceLabel->setText(source);
    const ResultText text(unit, forceDecimals);
    const QJsonObject forward = results.value(QLatin1String("forward")).toObject();
    const QJsonObject back = results.value(QLatin1String("return")).toObject();
    QStringList failed;
    for (const QJsonValue &path : results.value(QLatin1String("failed")).toArray())
        failed.append(path.toString());

    const QVector<ResultRow> strokeRows = strokeResultRows(forward);
    const QVector<ResultRow> curveRows = curveResultRows();
    setRowCount(strokeRows.size() + curveRows.size());
    int row = 0;
    for (const ResultRow &result : strokeRows) {
        setCell(row, 0, text.labelWithUnit(result.path));
        setCell(row, 1, text.value(resultAt(forward, result.path), result.quantity, false),
                failed.contains(QStringLiteral("forward.") + result.path));
        setCell(row, 2, text.value(resultAt(back, result.path), result.quantity, false),
                failed.contains(QStringLiteral("return.") + result.path));
        ++row;
    }
    for (const ResultRow &result : curveRows) {
        setCell(row, 0, text.labelWithUnit(result.path));
        setCell(row, 1, text.value(resultAt(results, result.path), result.quantity, false),
                failed.contains(result.path));
        ui->resultsTable->setSpan(row, 1, 1, 2);
        ++row;
    }

    const QString verdict = results.value(QLatin1String("verdict")).toString();
    if (verdict == QLatin1String("pass"))
        showVerdict(tr("PASS"), QStringLiteral("#1e7b34"));
    else if (verdict == QLatin1String("fail"))
        showVerdict(tr("FAIL"), QStringLiteral("#c62828"));
    else
        showVerdict(tr("No limits to judge by"), QString());
    QStringList names;
    for (const QString &path : failed)
        names.append(ResultText::label(path));
    ui->failedLabel->setText(names.isEmpty() ? QString() : tr("Failed: %1").arg(names.join(QStringLiteral("; "))));
}

void ResultsDock::showRunning(const QString &source, const RunningPeak &forward, const RunningPeak &back,
                              uint8_t unit, int forceDecimals)
{
    ui->sourceLabel->setText(source);
    const ResultText text(unit, forceDecimals);
    setRowCount(3);
    const struct
    {
        const char *path;
        ResultQuantity quantity;
    } rows[] = {{"points", ResultQuantity::Count},
                {"peak_force_N", ResultQuantity::Force},
                {"peak_distance_mm", ResultQuantity::Distance}};
    for (int row = 0; row < 3; ++row) {
        setCell(row, 0, text.labelWithUnit(QLatin1String(rows[row].path)));
        int column = 1;
        for (const RunningPeak *stroke : {&forward, &back}) {
            QJsonValue value = row == 0 ? QJsonValue(stroke->points()) : QJsonValue(QJsonValue::Null);
            if (row > 0 && stroke->peak())
                value = row == 1 ? stroke->peak()->y() : stroke->peak()->x();
            setCell(row, column++, text.value(value, rows[row].quantity, false));
        }
    }
    showVerdict(tr("Test running"), QString());
    ui->failedLabel->clear();
}

void ResultsDock::on_refreshResultsBtn_clicked()
{
    emit refreshRequested();
}

void ResultsDock::on_methodsBtn_clicked()
{
    emit methodsRequested();
}

void ResultsDock::setRowCount(int rows)
{
    ui->resultsTable->clearSpans();
    ui->resultsTable->setRowCount(rows);
}

void ResultsDock::setCell(int row, int column, const QString &text, bool failed)
{
    auto *item = new QTableWidgetItem(text);
    item->setToolTip(text);
    if (column > 0)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (failed) {
        item->setForeground(QColor(Qt::white));
        item->setBackground(QColor(0xc6, 0x28, 0x28));
    }
    ui->resultsTable->setItem(row, column, item);
}

// A verdict large and in colour; without a colour, plain.
void ResultsDock::showVerdict(const QString &text, const QString &colour)
{
    ui->verdictLabel->setText(text);
    ui->verdictLabel->setStyleSheet(colour.isEmpty()
        ? QStringLiteral("QLabel { color: palette(mid); font-size: 12pt; }")
        : QStringLiteral("QLabel { color: white; background: %1; font-size: 22pt; font-weight: bold; "
                         "border-radius: 4px; }").arg(colour));
}
