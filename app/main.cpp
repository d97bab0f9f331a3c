#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "app/startup.h"
#include "records/recordslocation.h"
#include "sim/standsimulator.h"

int main(int argc, char *argv[])
{
    answerInformationOptions(argc, argv);
    QApplication app(argc, argv);
    const StartOptions options = parseStartOptions(QApplication::arguments());
    // Lets a desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quelmar.Quelmar"));
    quelmarInitResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/Ostrivel.png")));
    installStartupTranslator(app);

    // Declared before the window, so the stand outlives the link to it.
    std::unique_ptr<StandSimulator> demoStand;
    if (options.demo) {
        demoStand = std::make_unique<StandSimulator>(StandSimulator::Settings());
        if (!demoStand->start()) {
            std::fprintf(stderr, "quelmar: no simulated stand: %s\n", qPrintable(demoStand->errorString()));
            return 1;
        }
    }

    const DatabaseUrlParse records = recordsDatabaseAtStart(options.database, keptRecordsDatabase());
    if (!records.error.isEmpty()) {
        std::fprintf(stderr, "quelmar: %s\n", qPrintable(records.error));
        return 1;
    }
    if (!records.warning.isEmpty())
        std::fprintf(stderr, "quelmar: %s\n", qPrintable(records.warning));

    MainWindow window;
    window.useRecords(records.url);
    if (demoStand)
        window.useSimulatedStand(demoStand->portPath());
    else if (!options.port.isEmpty())
        window.usePort(options.port);
    window.show();
    return app.exec();
}
