#pragma once

#include <QString>

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

// Parses the command line; --help, --version and unknown options print and end the
// process. Needs no display, so it runs before the GUI application exists.
StartOptions parseCommandLine(int argc, char *argv[]);
