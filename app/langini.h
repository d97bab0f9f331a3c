#pragma once

// "lang.ini" holds the interface language for the next start, as the line
// "Language:N" with N = 0 (follow the system), 1 (English) or 2 (Chinese).
// It lives beside the program, or in the user's configuration directory where
// the program's directory cannot be written (a system-wide install).

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

namespace LangIni {

enum Choice { System = 0, English = 1, Chinese = 2 };

// A line counts when it contains "Language:"; its value is the text after the first
// colon read as a base-10 integer (blanks ignored, anything else gives 0).
std::optional<int> lineValue(const QString &line);

// Both readers take no more than this from the file: a hand-edited one needs far
// less, and a huge one must not slow down or swell the start. A line that the limit
// cuts off does not count.
constexpr int MaxFileBytes = 4096;

// At start the first counting line whose value is 1 or 2 decides; System otherwise.
int startupChoice(QIODevice &file);

// The language dialog starts from the first counting line only (0 without one).
int dialogChoice(QIODevice &file);

// What `reader` takes from the file at `path`; System when it is no regular file
// that can be read (a named pipe would block the start for good).
int readChoice(const QString &path, int (*reader)(QIODevice &));

// What the dialog writes: "Language:" and the index, no line end.
QByteArray content(int index);

// Beside the program.
QString filePath();

// The two places the choice may be kept.
struct Location
{
    QString configFile;   // in the user's configuration directory; empty when there is none
    QString programFile;  // beside the program; empty for an installed program
};

// The user's configuration directory of this application and filePath().
Location defaultLocation();

// The file both readers use: the one in the configuration directory when it
// exists, else the one beside the program.
QString readPath(const Location &location = defaultLocation());

// Writes content(index) where readPath() will find it: into an existing file in
// the configuration directory, else beside the program, else into a new file in
// the configuration directory. False when nothing could be stored.
bool store(int index, const Location &location = defaultLocation());

} // namespace LangIni
