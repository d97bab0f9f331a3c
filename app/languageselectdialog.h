#pragma once

#include <QDialog>
#include <memory>

#include "app/langini.h"

namespace Ui {
class languageSelectDialog;
}

// Lets the operator choose the interface language for the next start: follow the
// system, English or Chinese. The running program keeps its language.
class languageSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit languageSelectDialog(QWidget *parent = nullptr);
    // Reads and stores the choice in `location` instead of the program's own places.
    languageSelectDialog(const LangIni::Location &location, QWidget *parent = nullptr);
    ~languageSelectDialog() override;

private slots:
    void on_okBtn_clicked();
    void on_cancelBtn_clicked();

private:
    std::unique_ptr<Ui::languageSelectDialog> ui;
    LangIni::Location location;
    int storedLanguage = LangIni::System;  // as read when the dialog was built
};
