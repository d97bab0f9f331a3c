#pragma once

// Default places and names of the files the operator saves and exports.

#include <QDateTime>
#include <QString>

// True when the program runs from a folder of its own, where the operator's files
// may live beside it. An installed program (in the system's program folder, which
// root could write) keeps them in the user's folders instead.
bool keepsFilesBesideProgram();

// "Data" beside the program; where the program's folder cannot be written or the
// program is installed, "Data" in the user's application data folder instead.
// Created when missing; if that fails, the file dialogs start elsewhere.
QString dataDir();

// The same choice for the given folders; an empty `programDir` is never used.
QString dataDirFor(const QString &programDir, const QString &userDataDir);

// "2024_03_07_14_05_09": the suggested name, without a suffix, for a file written at
// `at`, local time.
QString fileStamp(const QDateTime &at = QDateTime::currentDateTime());

// `path` with the suffix of a file dialog filter ("*.txt") added when its file name
// has none; unchanged when it has one or the filter names no suffix.
QString withFilterSuffix(const QString &path, const QString &filter);
