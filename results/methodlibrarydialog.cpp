#include "results/methodlibrarydialog.h"

#include <QMessageBox>

#include "analysis/methodlibrary.h"
#include "results/methodeditdialog.h"
#include "ui_methodlibrarydialog.h"

namespace {
constexpr int FileNameRole = Qt::UserRole;
constexpr int ErrorRole = Qt::UserRole + 1;
} // namespace

MethodLibraryDialog::MethodLibraryDialog(MethodLibrary &library, QWidget *parent)
    : QDialog(parent)
    , library(library)
    , ui(std::make_unique<Ui::MethodLibraryDialog>())
{
    ui->setupUi(this);
    list(library.inUse());
}

MethodLibraryDialog::~MethodLibraryDialog() = default;

void MethodLibraryDialog::list(const QString &fileName)
{
    ui->methodList->clear();
    const QString inUse = library.inUse();
    QString inUseName = tr("none");
    for (const MethodLibrary::Entry &entry : library.entries()) {
        const bool refused = !entry.error.isEmpty();
        auto *item = new QListWidgetItem(refused ? tr("%1 (cannot be read)").arg(entry.fileName)
                                                 : tr("%1, version %2").arg(entry.method.name).arg(entry.method.version),
                                         ui->methodList);
        item->setData(FileNameRole, entry.fileName);
        item->setData(ErrorRole, entry.error);
        if (refused)
            item->setForeground(QColor(0xc6, 0x28, 0x28));
        if (entry.fileName == inUse) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            inUseName = item->text();
        }
        if (entry.fileName == fileName)
            ui->methodList->setCurrentItem(item);
    }
    ui->inUseLabel->setText(tr("In use: %1").arg(inUseName));
    on_methodList_currentRowChanged(ui->methodList->currentRow());
}

QString MethodLibraryDialog::selectedFile() const
{
    const QListWidgetItem *item = ui->methodList->currentItem();
    return item ? item->data(FileNameRole).toString() : QString();
}

void MethodLibraryDialog::report(const QString &error)
{
    ui->messageLabel->setStyleSheet(QStringLiteral("color: #c62828;"));
    ui->messageLabel->setText(error);
}

void MethodLibraryDialog::on_methodList_currentRowChanged(int)
{
    const QListWidgetItem *item = ui->methodList->currentItem();
    const bool readable = item && item->data(ErrorRole).toString().isEmpty();
    ui->duplicateBtn->setEnabled(readable);
    ui->editBtn->setEnabled(readable);
    ui->useBtn->setEnabled(readable);
    ui->deleteBtn->setEnabled(item);
    ui->messageLabel->setStyleSheet(QString());
    ui->messageLabel->setText(item ? item->data(ErrorRole).toString() : QString());
    if (item && !readable)
        report(item->data(ErrorRole).toString());
}

void MethodLibraryDialog::on_newBtn_clicked()
{
    TestMethod method;
    method.name = tr("New method");
    MethodEditDialog editor(method, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    QString error;
    const QString fileName = library.add(editor.method(), &error);
    list(fileName);
    if (fileName.isEmpty())
        report(error);
}

void MethodLibraryDialog::on_duplicateBtn_clicked()
{
    TestMethod copy = library.entry(selectedFile()).method;
    copy.name = tr("%1 (copy)").arg(copy.name);
    copy.version = 1;
    QString error;
    const QString fileName = library.add(copy, &error);
    list(fileName.isEmpty() ? selectedFile() : fileName);
    if (fileName.isEmpty())
        report(error);
}

void MethodLibraryDialog::on_editBtn_clicked()
{
    const QString fileName = selectedFile();
    MethodEditDialog editor(library.entry(fileName).method, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    QString error;
    const bool saved = library.update(fileName, editor.method(), &error);
    list(fileName);
    if (!saved)
        report(error);
}

void MethodLibraryDialog::on_deleteBtn_clicked()
{
    const QString fileName = selectedFile();
    if (QMessageBox::question(this, tr("Delete"), tr("Delete %1?").arg(ui->methodList->currentItem()->text()))
        != QMessageBox::Yes)
        return;
    QString error;
    const bool removed = library.remove(fileName, &error);
    list(QString());
    if (!removed)
        report(error);
}

void MethodLibraryDialog::on_useBtn_clicked()
{
    library.setInUse(selectedFile());
    list(selectedFile());
    emit methodChosen();
}

void MethodLibraryDialog::on_useNoneBtn_clicked()
{
    const QString selected = selectedFile();
    library.setInUse(QString());
    list(selected);
    emit methodChosen();
}

void MethodLibraryDialog::on_closeBtn_clicked()
{
    accept();
}
