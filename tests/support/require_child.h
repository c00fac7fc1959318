#pragma once

#include <QObject>
#include <QWidget>

// The child of `parent` with the given object name and type; the test run
// stops with the name when there is none, rather than crash on a null.
template <typename T = QWidget>
T *RequireChild(const QObject &parent, const QString &name,
                Qt::FindChildOptions options = Qt::FindChildrenRecursively)
{
    T *child = parent.findChild<T *>(name, options);
    if (!child)
        qFatal("no %s named %s in %s", T::staticMetaObject.className(), qPrintable(name),
               qPrintable(parent.objectName()));
    return child;
}
