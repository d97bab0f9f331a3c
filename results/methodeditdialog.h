#pragma once

#include <QDialog>
#include <memory>

#include "analysis/testmethod.h"

namespace Ui {
class MethodEditDialog;
}

// Edits one test method: its name, test settings, what the results compute and the
// limits they are judged by, all in N and mm as the method file holds them. OK
// takes only a method the method file reader would take, and says why otherwise.
class MethodEditDialog : public QDialog
{
    Q_OBJECT

public:
    MethodEditDialog(const TestMethod &method, QWidget *parent = nullptr);
    ~MethodEditDialog() override;

    // The edited method, once accepted.
    TestMethod method() const { return edited; }

public slots:
    void accept() override;

private slots:
    void on_addLimitBtn_clicked();
    void on_removeLimitBtn_clicked();
    // The results a limit may bound follow the listed distances and forces.
    void listLimitablePaths();

private:
    void show(const TestMethod &method);
    void addLimit(const QString &path, const std::optional<double> &min, const std::optional<double> &max);
    // The method the form describes; an empty message, or why a field is not a number.
    TestMethod described(QString &message) const;

    std::unique_ptr<Ui::MethodEditDialog> ui;
    TestMethod edited;
};
