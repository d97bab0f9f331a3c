#include "control/chartstart.h"

#include <QIntValidator>
#include <QRegExpValidator>

#include "control/inputmark.h"
#include "ui_chartstart.h"

namespace {
constexpr int MinSpeed = 1;    // mm/min
constexpr int MaxSpeed = 300;
// -700 to 700 mm, with at most two decimals below 700.
const char DistancePattern[] = R"(^-?(700|[0-6]?[0-9]?\d(\.\d{1,2})?)$)";
} // namespace

chartStart::chartStart(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::chartStart)
{
    ui->setupUi(this);
    ui->speedEdit->setValidator(new QIntValidator(MinSpeed, MaxSpeed, this));
    ui->distanceEdit->setValidator(
        new QRegExpValidator(QRegExp(QString::fromLatin1(DistancePattern)), this));
}

chartStart::~chartStart() = default;

void chartStart::receiveCurveSetting(Curve_Setting setting)
{
    ui->speedEdit->setText(QString::number(setting.speed));
    ui->distanceEdit->setText(QString::number(double(setting.distance), 'f', 1));
    if (setting.mode == 0 || setting.mode == 1)
        ui->comboBox->setCurrentIndex(setting.mode);
    if (setting.distanceMode != 0)
        ui->absouteRBtn->setChecked(true);
    else
        ui->relativeRBtn->setChecked(true);
}

// Only values the validators accept as complete leave the dialog: an empty or
// half-typed field would otherwise reach the controller as 0.
void chartStart::on_okBtn_clicked()
{
    const bool distanceComplete = ui->distanceEdit->hasAcceptableInput();
    const bool speedComplete = ui->speedEdit->hasAcceptableInput();
    setInputMarked(ui->distanceEdit, !distanceComplete);
    setInputMarked(ui->speedEdit, !speedComplete);
    if (!distanceComplete) {
        ui->distanceEdit->setFocus();
        return;
    }
    if (!speedComplete) {
        ui->speedEdit->setFocus();
        return;
    }

    Curve_Setting setting;
    setting.mode = ui->comboBox->currentText() == tr("PUSH") ? 0 : 1;
    setting.distanceMode = ui->relativeRBtn->isChecked() ? 0 : 1;
    setting.speed = ui->speedEdit->text().toInt(nullptr, 10);
    setting.distance = ui->distanceEdit->text().toFloat();
    emit sendCurveSetting(setting);
    close();
}

void chartStart::on_cancelBtn_clicked()
{
    close();
}

void chartStart::on_speedEdit_textChanged()
{
    if (ui->speedEdit->hasAcceptableInput())
        setInputMarked(ui->speedEdit, false);
}

void chartStart::on_distanceEdit_textChanged()
{
    if (ui->distanceEdit->hasAcceptableInput())
        setInputMarked(ui->distanceEdit, false);
}
