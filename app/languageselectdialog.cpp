#include "app/languageselectdialog.h"

#include <QMessageBox>

#include "ui_languageselectdialog.h"

languageSelectDialog::languageSelectDialog(QWidget *parent)
    : languageSelectDialog(LangIni::defaultLocation(), parent)
{
}

languageSelectDialog::languageSelectDialog(const LangIni::Location &where, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::languageSelectDialog)
    , location(where)
{
    ui->setupUi(this);
    storedLanguage = LangIni::readChoice(LangIni::readPath(location), LangIni::dialogChoice);
    // A hand-edited value without an entry leaves the box with no selection.
    ui->comboBox->setCurrentIndex(storedLanguage);
}

languageSelectDialog::~languageSelectDialog() = default;

void languageSelectDialog::on_okBtn_clicked()
{
    const int chosen = ui->comboBox->currentIndex();
    if (chosen < 0 || chosen == storedLanguage) {
        accept();
        return;
    }
    if (QMessageBox::question(this, tr("Confirm"), tr("Confirm change the language?"),
                              QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes) {
        if (LangIni::store(chosen, location))
            QMessageBox::information(this, tr("Info"), tr("Language will be changed after application restart!"),
                                     QMessageBox::Ok);
        else
            QMessageBox::warning(this, tr("Info"), tr("The language choice could not be saved!"), QMessageBox::Ok);
    }
    accept();
}

void languageSelectDialog::on_cancelBtn_clicked()
{
    reject();
}
