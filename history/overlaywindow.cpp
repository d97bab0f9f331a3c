#include "history/overlaywindow.h"

#include <qcustomplot.h>

#include "chart/graphpoints.h"
#include "ui_overlaywindow.h"

namespace {
enum Stroke { Forward = 0, Return = 1 };
// Legend entries per column; more records spread the legend over more columns.
constexpr int LegendRows = 25;
} // namespace

QColor overlayColour(int index)
{
    // Steps of the golden angle never repeat a hue; saturation and value vary as
    // well, so that far-apart indexes with close hues still differ.
    const int hue = int(index * 137.508) % 360;
    return QColor::fromHsv(hue, index % 2 ? 150 : 255, index % 3 == 2 ? 150 : 210);
}

OverlayWindow::OverlayWindow(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::OverlayWindow)
{
    ui->setupUi(this);
    QCustomPlot *plot = ui->overlayPlot;
    plot->xAxis->setLabel(tr("Distance (mm)"));
    plot->yAxis->setLabel(tr("Force (N)"));
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    // The legend beside the chart, in as many columns as the records need.
    plot->legend->setVisible(true);
    plot->legend->setFillOrder(QCPLayoutGrid::foRowsFirst);
    plot->legend->setWrap(LegendRows);
    plot->axisRect()->insetLayout()->take(plot->legend);
    plot->plotLayout()->addElement(0, 1, plot->legend);
    plot->plotLayout()->setColumnStretchFactor(1, 0.001);
}

OverlayWindow::~OverlayWindow()
{
    delete ui;
}

void OverlayWindow::showRecords(const QVector<TestRecord> &records)
{
    QCustomPlot *plot = ui->overlayPlot;
    plot->clearGraphs();
    for (int i = 0; i < records.size(); ++i) {
        const TestRecord &record = records.at(i);
        const QString sample = record.record.value(QLatin1String("sample")).toString();
        const QColor colour = overlayColour(i);
        QCPGraph *forward = plot->addGraph();
        forward->setPen(QPen(colour));
        forward->setName(sample.isEmpty() ? tr("record %1").arg(record.seq) : sample);
        setGraphPoints(forward, record.forward);
        QCPGraph *back = plot->addGraph();
        back->setPen(QPen(colour, 1, Qt::DashLine));
        back->removeFromLegend();
        setGraphPoints(back, record.back);
    }
    showStroke(Forward, ui->forwardCheckBox->isChecked());
    showStroke(Return, ui->returnCheckBox->isChecked());
    plot->rescaleAxes();
    ui->countLabel->setText(tr("%n record(s)", nullptr, records.size()));
    plot->replot();
}

void OverlayWindow::showStroke(int stroke, bool shown)
{
    for (int i = stroke; i < ui->overlayPlot->graphCount(); i += 2)
        ui->overlayPlot->graph(i)->setVisible(shown);
}

void OverlayWindow::on_forwardCheckBox_toggled(bool shown)
{
    showStroke(Forward, shown);
    ui->overlayPlot->replot();
}

void OverlayWindow::on_returnCheckBox_toggled(bool shown)
{
    showStroke(Return, shown);
    ui->overlayPlot->replot();
}
