#pragma once

#include <QString>
#include <stdexcept>

namespace katarix::rtf {

// Errors of the report component (malformed template, unknown dataset or field, writing the
// document). Messages are Polish and shown to the user verbatim; what() is UTF-8.
class RtfError : public std::runtime_error {
public:
    explicit RtfError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace katarix::rtf
