#pragma once

#include <QString>

class QFile;

// Opens `path` read-only into `file` only when it names a regular file (through any
// symbolic link). Reading a named pipe, a device or a socket may block for good or
// never come to an end, so those are refused unread. Returns why the file could not
// be opened; empty when `file` is open.
QString openRegularFile(QFile &file, const QString &path);
