#pragma once

// Asking the operator for a file to write: the dialog starts in the data folder with
// a time-stamped name, and the filter's suffix is added when the name has none.

#include <QString>

class QWidget;

// The file dialog asked about the name as typed; a suffix added after it closed must
// not let an existing file be replaced unasked. True when `path` may be written.
bool mayReplace(QWidget *parent, const QString &title, const QString &chosen, const QString &path);

// The path to write, with the suffix of `filter` ("*.pdf"); empty when the operator
// cancelled or would not replace the file there.
QString chooseFileToWrite(QWidget *parent, const QString &title, const QString &filter);
