#pragma once

// The operator's test methods: one JSON file each in a folder of the user's
// configuration (".../quelmar/methods"), and which one is in use, kept between
// starts in that folder's "library.ini".

#include <QString>
#include <QVector>

#include "analysis/testmethod.h"

class MethodLibrary
{
public:
    struct Entry
    {
        QString fileName;  // within the folder
        TestMethod method;
        QString error;     // why the file is refused; empty when it was read
    };

    explicit MethodLibrary(const QString &folder = defaultFolder());
    static QString defaultFolder();

    QString folder() const { return directory; }

    // Every method file, by name; refused files too, so the operator sees them.
    QVector<Entry> entries() const;
    Entry entry(const QString &fileName) const;

    // A new file for `method`, named after it; returns its file name, or nothing
    // with `error` set.
    QString add(const TestMethod &method, QString *error);
    // Replaces a method with its edited form, one version on from the one stored.
    bool update(const QString &fileName, TestMethod edited, QString *error);
    bool remove(const QString &fileName, QString *error);

    // The file of the method in use; empty when none is chosen. Choosing a file that
    // is not there any more chooses none.
    QString inUse() const;
    void setInUse(const QString &fileName);
    // The method in use when its file reads; nothing otherwise.
    std::optional<TestMethod> methodInUse() const;

private:
    QString path(const QString &fileName) const;
    QString directory;
};
