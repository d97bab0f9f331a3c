#pragma once

// What QJsonDocument does not keep of a JSON text: the order of each object's
// members, and whether one object names a member twice.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

struct JsonLayout
{
    // Member names in the text's order, by the object's path: "" for the outermost,
    // "results.break" for a nested one, "list[2]" for one in an array.
    QHash<QString, QStringList> memberOrder;
    QString duplicate;  // the path of the first member named twice; empty when none is
};

// Any text is scanned safely; only for JSON that QJsonDocument::fromJson accepts is
// the layout meaningful.
JsonLayout scanJsonLayout(const QByteArray &json);
