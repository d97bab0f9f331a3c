#pragma once

// The main window set up to connect to a simulated stand of its own, shown on
// screen: the start of every test that runs the program as the operator does.

#include <QSize>
#include <QTest>

#include <memory>

#include "app/mainwindow.h"
#include "sim/standsimulator.h"

// Empty when both are up, else what failed.
inline QString openOnSimulatedStand(std::unique_ptr<StandSimulator> &simulator, std::unique_ptr<MainWindow> &window,
                                    int sampleRateHz, QSize size = QSize())
{
    StandSimulator::Settings settings;
    settings.sampleRateHz = sampleRateHz;
    simulator = std::make_unique<StandSimulator>(settings);
    if (!simulator->start())
        return simulator->errorString();
    window = std::make_unique<MainWindow>();
    window->useSimulatedStand(simulator->portPath());
    if (size.isValid())
        window->resize(size);
    window->show();
    return QTest::qWaitForWindowExposed(window.get()) ? QString() : QStringLiteral("the window was never shown");
}
