#pragma once

#include <QDialog>
#include <memory>

#include "chart/axissetting.h"

namespace Ui {
class curveSettingDialog;
}

// Edits the chart's axis ranges and directions. Opens on the setting it is given; OK
// hands the edited setting over whole, Cancel drops it.
class curveSettingDialog : public QDialog
{
    Q_OBJECT

public:
    curveSettingDialog(QWidget *parent, AxisSetting setting);
    ~curveSettingDialog() override;

signals:
    void sendAxisSet(AxisSetting setting);

private slots:
    void on_okBtn_clicked();
    void on_cancelBtn_clicked();

private:
    std::unique_ptr<Ui::curveSettingDialog> ui;
};
