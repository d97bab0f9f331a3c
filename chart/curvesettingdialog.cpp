#include "chart/curvesettingdialog.h"

#include "chart/forceunit.h"
#include "control/readout.h"
#include "ui_curvesettingdialog.h"

curveSettingDialog::curveSettingDialog(QWidget *parent, AxisSetting setting)
    : QDialog(parent)
    , ui(new Ui::curveSettingDialog)
{
    ui->setupUi(this);
    const int forceDigits = Readout::boundedDecimals(forceDecimals);
    ui->xAxisMinEdit->setText(QString::number(setting.xMin, 'f', 1));
    ui->xAxisMaxEdit->setText(QString::number(setting.xMax, 'f', 1));
    ui->xAxisReversed->setChecked(setting.xReversed);
    ui->yAxisMinEdit->setText(QString::number(setting.yMin, 'f', forceDigits));
    ui->yAxisMaxEdit->setText(QString::number(setting.yMax, 'f', forceDigits));
    ui->yAxisReversed->setChecked(setting.yReversed);
}

curveSettingDialog::~curveSettingDialog() = default;

void curveSettingDialog::on_okBtn_clicked()
{
    // Text that is no number reads as 0; the chart ignores a range without width.
    emit sendAxisSet({ui->xAxisMinEdit->text().toDouble(), ui->xAxisMaxEdit->text().toDouble(),
                      ui->yAxisMinEdit->text().toDouble(), ui->yAxisMaxEdit->text().toDouble(),
                      ui->xAxisReversed->isChecked(), ui->yAxisReversed->isChecked()});
    accept();
}

void curveSettingDialog::on_cancelBtn_clicked()
{
    reject();
}
