#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

namespace katarix::test {

// The child of parent with the object name and type, as a window's test reaches its controls; a
// missing one throws, which fails the test that asked.
template <class T>
T *kontrolka(const QObject *parent, const QString &name)
{
    T *child = parent->findChild<T *>(name);
    if (!child)
        throw std::runtime_error("no control " + name.toStdString() + " in " + parent->objectName().toStdString());
    return child;
}

} // namespace katarix::test
