#include "history/samplestrip.h"

#include <QSettings>

#include "records/recordslocation.h"
#include "ui_samplestrip.h"

namespace {
const QString BatchKey = QStringLiteral("records/batch");
const QString OperatorKey = QStringLiteral("records/operator");

void keep(const QString &key, const QString &value)
{
    QSettings(settingsFilePath(), QSettings::IniFormat).setValue(key, value);
}
} // namespace

SampleStrip::SampleStrip(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::SampleStrip)
{
    ui->setupUi(this);
    const QSettings settings(settingsFilePath(), QSettings::IniFormat);
    // Filled before the connect-by-name slots could keep them again.
    const QSignalBlocker batchBlocker(ui->batchEdit);
    const QSignalBlocker operatorBlocker(ui->operatorEdit);
    ui->batchEdit->setText(settings.value(BatchKey).toString());
    ui->operatorEdit->setText(settings.value(OperatorKey).toString());
}

SampleStrip::~SampleStrip()
{
    delete ui;
}

SampleEntry SampleStrip::entry() const
{
    return {ui->sampleEdit->text().trimmed(), ui->batchEdit->text().trimmed(), ui->operatorEdit->text().trimmed(),
            ui->noteEdit->text().trimmed()};
}

void SampleStrip::advance()
{
    const QString sample = ui->sampleEdit->text().trimmed();
    const QString next = nextSampleId(sample);
    if (next != sample)
        ui->sampleEdit->setText(next);
}

void SampleStrip::on_sampleEdit_textChanged()
{
    emit entryChanged(entry());
}

void SampleStrip::on_batchEdit_textChanged(const QString &text)
{
    keep(BatchKey, text.trimmed());
    emit entryChanged(entry());
}

void SampleStrip::on_operatorEdit_textChanged(const QString &text)
{
    keep(OperatorKey, text.trimmed());
    emit entryChanged(entry());
}

void SampleStrip::on_noteEdit_textChanged()
{
    emit entryChanged(entry());
}
