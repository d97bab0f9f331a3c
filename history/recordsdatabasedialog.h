#pragma once

#include <QDialog>

#include "store/databaseurl.h"

class QAbstractButton;

namespace Ui {
class RecordsDatabaseDialog;
}

// Chooses where records go: a SQLite file on this computer or a lab's PostgreSQL
// server. A password typed into the server's URL is taken out before anything keeps
// or shows it; the dialog closes only on a usable choice.
class RecordsDatabaseDialog : public QDialog
{
    Q_OBJECT

public:
    RecordsDatabaseDialog(const DatabaseUrl &current, QWidget *parent = nullptr);
    ~RecordsDatabaseDialog() override;

    // The choice, once accepted.
    DatabaseUrl url() const { return chosen; }

private slots:
    void on_browseBtn_clicked();
    void on_buttonBox_clicked(QAbstractButton *button);

private:
    void fill(const DatabaseUrl &url);
    bool choose();

    Ui::RecordsDatabaseDialog *ui;
    DatabaseUrl chosen;
};
