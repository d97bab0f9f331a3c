#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The child of `parent` with the object name `name`; a test that names a widget the
// form does not have stops at once instead of crashing later.
template<typename T>
T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}
