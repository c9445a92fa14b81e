#pragma once

#include <QString>
#include <stdexcept>

namespace katarix::jet {

// The database engine's error class: loading a register, translating Jet SQL and running it.
// Messages are Polish and name what failed; the user sees them verbatim.
class JetError : public std::runtime_error {
public:
    explicit JetError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace katarix::jet
