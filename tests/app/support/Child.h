#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

namespace katarix::test {

// The descendant of `parent` of type T with the object name `name` (a window's controls are its
// own; tests reach them by the component names). Throws, failing the test, when there is none.
template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        throw std::runtime_error("no child named " + name.toStdString() + " in " +
                                 parent->objectName().toStdString());
    return found;
}

} // namespace katarix::test
