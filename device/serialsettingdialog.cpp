#include "device/serialsettingdialog.h"

#include "ui_serialsettingdialog.h"

namespace {
// Item data of the port list: the seven detail texts under Qt::UserRole, the device
// path under this role.
constexpr int DevicePathRole = Qt::UserRole + 1;
} // namespace

SerialSettingDialog::SerialSettingDialog(QWidget *parent)
    : SerialSettingDialog(listedPorts(), parent)
{
}

SerialSettingDialog::SerialSettingDialog(const QVector<SerialPortEntry> &ports, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::serialSettingDialog)
{
    ui->setupUi(this);
    // The catalogue gives these texts back unchanged, so they find the form's items
    // in either language.
    ui->dataBitsBox->setCurrentText(tr("8"));
    ui->baudRateBox->setCurrentText(tr("115200"));

    QComboBox *portBox = ui->serialPortInfoListBox;
    for (const SerialPortEntry &port : ports) {
        // The first item becomes current here and fills the detail labels.
        portBox->addItem(port.name, port.details);
        portBox->setItemData(portBox->count() - 1, port.devicePath, DevicePathRole);
    }
}

SerialSettingDialog::~SerialSettingDialog() = default;

void SerialSettingDialog::on_serialPortInfoListBox_currentIndexChanged(int index)
{
    const QStringList details = ui->serialPortInfoListBox->itemData(index).toStringList();
    ui->descriptionLabel->setText(tr("Description: %1").arg(details.value(1)));
    ui->manufacturerLabel->setText(tr("Manufacturer: %1").arg(details.value(2)));
    ui->serialNumberLabel->setText(tr("Serial number: %1").arg(details.value(3)));
    ui->locationLabel->setText(tr("Location: %1").arg(details.value(4)));
    ui->vidLabel->setText(tr("Vendor Identifier: %1").arg(details.value(5)));
    ui->pidLabel->setText(tr("Product Identifier: %1").arg(details.value(6)));
}

void SerialSettingDialog::on_applyButton_clicked()
{
    emit sendSerialSetting(serialSettingFrom(chosenPortName(), ui->baudRateBox->currentText(),
                                             ui->dataBitsBox->currentText(),
                                             parityFromIndex(ui->parityBox->currentIndex()),
                                             ui->stopBitsBox->currentText()));
    accept();
}

// A listed port is opened by its device path. Anything else the operator typed is a
// path the system does not list (an adapter under /dev/serial/by-id, say) and is
// taken as it stands.
QString SerialSettingDialog::chosenPortName() const
{
    const QComboBox *portBox = ui->serialPortInfoListBox;
    const QString text = portBox->currentText().trimmed();
    const int index = portBox->findText(text);
    return index < 0 ? text : portBox->itemData(index, DevicePathRole).toString();
}
