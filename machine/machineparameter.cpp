#include "machine/machineparameter.h"

#include "chart/forceunit.h"
#include "control/inputmark.h"
#include "ui_machineparameter.h"

using namespace ParameterFields;

machineParameter::machineParameter(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::machineParameter)
{
    ui->setupUi(this);
    ui->changeBtn->setEnabled(false);
    for (QLineEdit *edit : edits())
        connect(edit, SIGNAL(textChanged(QString)), this, SLOT(clearCorrectedMarks()));
}

machineParameter::~machineParameter() = default;

std::array<QLineEdit *, FieldCount> machineParameter::edits() const
{
    return {ui->sysTotalNumEdit, ui->sysStopValueEdit, ui->sysStepDistanceEdit, ui->sysPeakLowSetEdit,
            ui->sysSpeedEdit};
}

Texts machineParameter::texts() const
{
    Texts result;
    const auto fields = edits();
    for (int field = 0; field < FieldCount; ++field)
        result[field] = fields[field]->text();
    return result;
}

void machineParameter::receiveSystemSetting(QVector<float> pointSet, QVector<int> systemSet)
{
    const std::optional<Shown> answer = ParameterFields::shown(pointSet, systemSet, forceUnit, forceDecimals);
    if (!answer)
        return;
    shownParameters = answer;
    const auto fields = edits();
    for (int field = 0; field < FieldCount; ++field)
        fields[field]->setText(shownParameters->texts[field]);
    ui->sysStopValueUnitLabel->setText(ForceUnit::name(shownParameters->unit));
    ui->sysPeakLowSetUnitLabel->setText(ForceUnit::name(shownParameters->unit));
    ui->changeBtn->setEnabled(true);
}

void machineParameter::receiveSystemData(QVector<float>, QVector<int>) {}

void machineParameter::on_changeBtn_clicked()
{
    if (!shownParameters)
        return;
    const Edited change = edited(*shownParameters, texts());
    const auto fields = edits();
    for (int field = 0; field < FieldCount; ++field)
        setInputMarked(fields[field], change.invalid.contains(Field(field)));
    if (!change.invalid.isEmpty()) {
        fields[change.invalid.first()]->setFocus();
        return;
    }
    emit systemSetChangeRequest(change.pointSet, change.systemSet);
}

void machineParameter::clearCorrectedMarks()
{
    if (!shownParameters)
        return;
    const Edited change = edited(*shownParameters, texts());
    const auto fields = edits();
    for (int field = 0; field < FieldCount; ++field)
        if (!change.invalid.contains(Field(field)))
            setInputMarked(fields[field], false);
}
