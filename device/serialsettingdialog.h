#pragma once

#include <QDialog>
#include <QVector>
#include <memory>

#include "device/serialchoice.h"
#include "device/serialsetting.h"

namespace Ui {
class serialSettingDialog;
}

// Lets the operator pick the serial port and its line parameters; Apply hands the
// choice over whole. It always opens on the first port and the default parameters,
// not on the setting currently in use.
class SerialSettingDialog : public QDialog
{
    Q_OBJECT

public:
    // Offers the ports the system lists.
    explicit SerialSettingDialog(QWidget *parent = nullptr);
    SerialSettingDialog(const QVector<SerialPortEntry> &ports, QWidget *parent = nullptr);
    ~SerialSettingDialog() override;

signals:
    void sendSerialSetting(Serial_Setting_Type setting);

private slots:
    void on_applyButton_clicked();
    void on_serialPortInfoListBox_currentIndexChanged(int index);

private:
    QString chosenPortName() const;

    std::unique_ptr<Ui::serialSettingDialog> ui;
};
