#pragma once

#include <QDialog>
#include <memory>

class MethodLibrary;

namespace Ui {
class MethodLibraryDialog;
}

// The operator's test methods: create, duplicate, edit, delete, and choose the one
// in use. Works on the library directly and says when a method is chosen.
class MethodLibraryDialog : public QDialog
{
    Q_OBJECT

public:
    MethodLibraryDialog(MethodLibrary &library, QWidget *parent = nullptr);
    ~MethodLibraryDialog() override;

signals:
    // The operator chose the method in use, or none; also the one already in use.
    void methodChosen();

private slots:
    void on_newBtn_clicked();
    void on_duplicateBtn_clicked();
    void on_editBtn_clicked();
    void on_deleteBtn_clicked();
    void on_useBtn_clicked();
    void on_useNoneBtn_clicked();
    void on_closeBtn_clicked();
    void on_methodList_currentRowChanged(int row);

private:
    // Lists the methods again, with `fileName` selected.
    void list(const QString &fileName);
    QString selectedFile() const;
    void report(const QString &error);

    MethodLibrary &library;
    std::unique_ptr<Ui::MethodLibraryDialog> ui;
};
