#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace katarix::app {

// The program's own failures: a Polish message for the person.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The Polish text of an exception (jet::errorText: the program's own messages, running out of
// memory, else the library's text).
QString komunikatWyjatku(const std::exception &error);

} // namespace katarix::app
