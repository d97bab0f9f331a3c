#include "app/startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
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
    const int choice = LangIni::readChoice(LangIni::readPath(), LangIni::startupChoice);
    if (!startsInChinese(choice))
        return;
    // A catalogue that fails to load leaves the interface in English.
    auto *translator = new QTranslator(&app);
    translator->load(QStringLiteral(":/language/cn.qm"));
    app.installTranslator(translator);
    // Qt's own texts (Yes, No, the file dialogs) from the system's Qt catalogue.
    const QString qtCatalogues = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    auto *qtTranslator = new QTranslator(&app);
    if (qtTranslator->load(QStringLiteral("qtbase_zh_CN"), qtCatalogues)
        || qtTranslator->load(QStringLiteral("qt_zh_CN"), qtCatalogues))
        app.installTranslator(qtTranslator);
    else
        delete qtTranslator;
}

namespace {
// The program's options. Single-dash words are read as long options, so that one of
// Qt's ("-reverse") is never taken for a cluster of short ones that holds -v.
struct OptionParser
{
    OptionParser()
    {
        parser.setApplicationDescription(QStringLiteral("Front end of a motorised push/pull force test stand."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(port);
        parser.addOption(demo);
        parser.addOption(database);
    }

    QCommandLineParser parser;
    const QCommandLineOption port{QStringLiteral("port"),
                                  QStringLiteral("Connect opens PATH, a serial device the system may not list."),
                                  QStringLiteral("PATH")};
    const QCommandLineOption demo{QStringLiteral("demo"),
                                  QStringLiteral("Connect opens a simulated stand run inside the program.")};
    const QCommandLineOption database{QStringLiteral("database"),
                                      QStringLiteral("Keeps test records in URL for this run: sqlite:PATH or "
                                                     "postgresql://user@host:port/dbname (the password comes "
                                                     "from ~/.pgpass or PGPASSWORD)."),
                                      QStringLiteral("URL")};
};

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("quelmar"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELMAR_DISPLAY_VERSION));
}
} // namespace

void answerInformationOptions(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameApplication();
    OptionParser options;
    // Unknown options here may be Qt's own; they are judged once the GUI application has taken those.
    options.parser.parse(QCoreApplication::arguments());
    if (options.parser.isSet(QStringLiteral("help")))
        options.parser.showHelp();
    if (options.parser.isSet(QStringLiteral("version")))
        options.parser.showVersion();
}

StartOptions parseStartOptions(const QStringList &arguments)
{
    nameApplication();
    OptionParser options;
    options.parser.process(arguments);
    return StartOptions{options.parser.value(options.port), options.parser.isSet(options.demo),
                        options.parser.value(options.database)};
}
