#pragma once

#include <QDialog>
#include <QVector>
#include <array>
#include <memory>
#include <optional>

#include "machine/parameterfields.h"

class QLineEdit;

namespace Ui {
class machineParameter;
}

// Shows the controller's stored machine parameters in the operator's force unit and
// writes edited values back on Change. It knows nothing of the device: the parameters
// arrive through receiveSystemSetting and leave through systemSetChangeRequest.
class machineParameter : public QDialog
{
    Q_OBJECT

public:
    explicit machineParameter(QWidget *parent = nullptr);
    ~machineParameter() override;

signals:
    void systemSetRequest(int index);
    void systemDataRequest(int index, int scanIndex);
    void systemSetChangeRequest(QVector<float> pointSet, QVector<int> systemSet);

public slots:
    // Runs while the acquisition thread holds its lock: it must not call back into it.
    void receiveSystemSetting(QVector<float> pointSet, QVector<int> systemSet);
    // The answer to the data request; the dialog shows none of it.
    void receiveSystemData(QVector<float> pointData, QVector<int> systemData);

private slots:
    void on_changeBtn_clicked();
    // A field marked by Change loses its mark as soon as it holds a valid value.
    void clearCorrectedMarks();

private:
    std::array<QLineEdit *, ParameterFields::FieldCount> edits() const;
    ParameterFields::Texts texts() const;

    std::unique_ptr<Ui::machineParameter> ui;
    // Set by the first valid answer; Change is enabled from then on, so it never
    // writes parameters that were not read.
    std::optional<ParameterFields::Shown> shownParameters;
};
