#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Installs the Chinese catalogue when "lang.ini" chooses it, or when it makes no
// choice and the system locale is Chinese. Runs once, before any window exists.
void installStartupTranslator(QCoreApplication &app);

// True when the stored choice, or the system locale, selects Chinese.
bool startsInChinese(int storedChoice);

struct StartOptions
{
    QString port;  // empty: the port of the serial settings
    bool demo;     // connect to a simulated stand run inside the program
    QString database;  // empty: the records database of the settings
};

// Answers --help and --version, which end the process, before the GUI application
// exists, so that they work without a display. Everything else is left for later:
// Qt's own options (-platform, -style, -reverse, ...) are taken out of the arguments
// by the application object.
void answerInformationOptions(int argc, char *argv[]);

// The program's own options from the arguments the application object left; an
// unknown option prints and ends the process.
StartOptions parseStartOptions(const QStringList &arguments);
