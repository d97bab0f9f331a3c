#include "history/recordsdatabasedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "ui_recordsdatabasedialog.h"

RecordsDatabaseDialog::RecordsDatabaseDialog(const DatabaseUrl &current, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::RecordsDatabaseDialog)
{
    ui->setupUi(this);
    fill(current);
}

RecordsDatabaseDialog::~RecordsDatabaseDialog()
{
    delete ui;
}

void RecordsDatabaseDialog::fill(const DatabaseUrl &url)
{
    const bool server = url.engine == DatabaseUrl::Postgres;
    (server ? ui->serverRadio : ui->fileRadio)->setChecked(true);
    ui->fileEdit->setText(QDir::toNativeSeparators(server || !url.isValid() ? defaultRecordsDatabase().path : url.path));
    if (server)
        ui->serverEdit->setText(url.toDisplayString());
    ui->messageLabel->clear();
}

void RecordsDatabaseDialog::on_browseBtn_clicked()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Records file"), ui->fileEdit->text(),
                                                      tr("Records (*.sqlite);;All files (*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        ui->fileEdit->setText(QDir::toNativeSeparators(path));
}

void RecordsDatabaseDialog::on_buttonBox_clicked(QAbstractButton *button)
{
    switch (ui->buttonBox->standardButton(button)) {
    case QDialogButtonBox::RestoreDefaults:
        fill(DatabaseUrl());
        break;
    case QDialogButtonBox::Ok:
        if (choose())
            accept();
        break;
    default:
        break;
    }
}

bool RecordsDatabaseDialog::choose()
{
    if (ui->fileRadio->isChecked()) {
        const QString path = QDir::fromNativeSeparators(ui->fileEdit->text().trimmed());
        if (path.isEmpty()) {
            ui->messageLabel->setText(tr("Name the records file."));
            return false;
        }
        chosen = DatabaseUrl();
        chosen.engine = DatabaseUrl::Sqlite;
        chosen.path = QFileInfo(path).absoluteFilePath();
        return true;
    }
    const DatabaseUrlParse parse = parseDatabaseUrl(ui->serverEdit->text().trimmed());
    if (!parse.error.isEmpty() || parse.url.engine != DatabaseUrl::Postgres) {
        const QString form = tr("A lab server is given as postgresql://user@host:port/dbname.");
        ui->messageLabel->setText(parse.error.isEmpty() ? form : form + QLatin1Char(' ') + parse.error);
        return false;
    }
    if (!parse.warning.isEmpty()) {
        // The password leaves the field at once; the operator sees what will be used.
        ui->serverEdit->setText(parse.url.toDisplayString());
        ui->messageLabel->setText(tr("The password was taken out of the URL: the server's password is read from "
                                     "~/.pgpass or PGPASSWORD. Press OK to use this server."));
        return false;
    }
    chosen = parse.url;
    return true;
}
