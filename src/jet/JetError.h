#pragma once

#include <QString>
#include <stdexcept>

namespace katarix::jet {

// The database engine's error class: loading a register, translating Jet SQL and running it.
// Messages are Polish and name what failed; the user sees them verbatim. The cause tells callers
// the failures they act on apart from the others.
class JetError : public std::runtime_error {
public:
    enum class Cause {
        Other,
        DamagedCopy, // SQLite found the engine database damaged
        DiskFull,
        OutOfMemory,
    };

    explicit JetError(const QString &message, Cause cause = Cause::Other)
        : std::runtime_error(message.toStdString()), m_message(message), m_cause(cause) {}
    const QString &message() const { return m_message; }
    Cause cause() const { return m_cause; }

private:
    QString m_message;
    Cause m_cause;
};

} // namespace katarix::jet
