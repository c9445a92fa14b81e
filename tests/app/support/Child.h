#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

namespace katarix::test {

// The descendant of `parent` of type T with the object name `name` (a window's controls are its
// own; tests reach them by the component names). Throws, failing the test, when there is none.
template <typename T> T *child(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no child named ") + name + " in " +
                                 parent->objectName().toStdString());
    return found;
}

} // namespace katarix::test
