#include "history/statisticswindow.h"

#include "ui_statisticswindow.h"

namespace {
QString number(double value)
{
    return QString::number(value, 'g', 6);
}

QString number(const std::optional<double> &value)
{
    return value ? number(*value) : QStringLiteral("–");
}
} // namespace

StatisticsWindow::StatisticsWindow(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::StatisticsWindow)
{
    ui->setupUi(this);
}

StatisticsWindow::~StatisticsWindow()
{
    delete ui;
}

void StatisticsWindow::showStatistics(int records, const QMap<QString, ResultStatistics> &statistics)
{
    ui->summaryLabel->setText(tr("Statistics of %n record(s)", nullptr, records));
    QTableWidget *table = ui->statisticsTable;
    table->setRowCount(statistics.size());
    int row = 0;
    for (auto it = statistics.cbegin(); it != statistics.cend(); ++it, ++row) {
        const ResultStatistics &s = it.value();
        const QStringList cells{it.key(),      QString::number(s.n), number(s.mean),      number(s.sd),
                                number(s.min), number(s.max),        number(s.cvPercent), number(s.cpk)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
}
