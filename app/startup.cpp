#include "app/startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>

#include "app/langini.h"

bool startsInChinese(int storedChoice)
{
    if (storedChoice != LangIni::System)
        return storedChoice == LangIni::Chinese;
    return QLocale().language() == QLocale::Chinese;
}

void installStartupTranslator(QCoreApplication &app)
{
    int choice = LangIni::System;
    QFile file(LangIni::readPath());
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        choice = LangIni::startupChoice(file);
    if (!startsInChinese(choice))
        return;
    // A catalogue that fails to load leaves the interface in English.
    auto *translator = new QTranslator(&app);
    translator->load(QStringLiteral(":/language/cn.qm"));
    app.installTranslator(translator);
}

StartOptions parseCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quelmar"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELMAR_DISPLAY_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Front end of a motorised push/pull force test stand."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Connect opens PATH, a serial device the system may not list."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Connect opens a simulated stand run inside the program."));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("Keeps test records in URL for this run: sqlite:PATH or "
                                                     "postgresql://user@host:port/dbname (the password comes "
                                                     "from ~/.pgpass or PGPASSWORD)."),
                                      QStringLiteral("URL"));
    parser.addOption(port);
    parser.addOption(demo);
    parser.addOption(database);
    parser.process(app);
    return StartOptions{parser.value(port), parser.isSet(demo), parser.value(database)};
}
