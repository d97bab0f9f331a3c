#pragma once

#include <QWidget>
#include <memory>

#include "device/curvesetting.h"

namespace Ui {
class chartStart;
}

// Edits the settings of the next test (push or pull, relative or absolute distance,
// distance, speed). Shown as a window-modal dialog; OK hands the setting over whole.
class chartStart : public QWidget
{
    Q_OBJECT

public:
    explicit chartStart(QWidget *parent = nullptr);
    ~chartStart() override;

signals:
    void sendCurveSetting(Curve_Setting setting);

public slots:
    void receiveCurveSetting(Curve_Setting setting);

private slots:
    void on_okBtn_clicked();
    void on_cancelBtn_clicked();
    // A field marked by OK loses its mark as soon as it holds a complete value.
    void on_speedEdit_textChanged();
    void on_distanceEdit_textChanged();

private:
    std::unique_ptr<Ui::chartStart> ui;
};
