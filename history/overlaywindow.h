#pragma once

#include <QVector>
#include <QWidget>

#include "store/testrecord.h"

namespace Ui {
class OverlayWindow;
}

// The curves of several records in one chart, each record in its own colour and
// named by its sample in the legend; the return strokes dashed. Forward and return
// strokes are shown or hidden together.
class OverlayWindow : public QWidget
{
    Q_OBJECT

public:
    explicit OverlayWindow(QWidget *parent = nullptr);
    ~OverlayWindow() override;

    void showRecords(const QVector<TestRecord> &records);

private slots:
    void on_forwardCheckBox_toggled(bool shown);
    void on_returnCheckBox_toggled(bool shown);

private:
    void showStroke(int stroke, bool shown);

    Ui::OverlayWindow *ui;
};

// The colour of the curve at `index`; neighbours lie far apart in hue.
QColor overlayColour(int index);
