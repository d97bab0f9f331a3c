#include <QApplication>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "app/startup.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quelmar"));
    QApplication::setApplicationVersion(QStringLiteral(QUELMAR_DISPLAY_VERSION));
    quelmarInitResources();
    const StartOptions options = parseCommandLine(app);
    installStartupTranslator(app);

    MainWindow window;
    if (!options.port.isEmpty())
        window.usePort(options.port);
    window.show();
    return app.exec();
}
