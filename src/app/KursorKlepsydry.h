#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace katarix::app {

// The hourglass for a long action; the previous cursor comes back however the action ends, or
// earlier through przywroc (before a message box). Does nothing without a GUI application.
class KursorKlepsydry {
public:
    KursorKlepsydry()
    {
        m_active = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
        if (m_active)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~KursorKlepsydry() { przywroc(); }
    KursorKlepsydry(const KursorKlepsydry &) = delete;
    KursorKlepsydry &operator=(const KursorKlepsydry &) = delete;

    void przywroc()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = false;
};

} // namespace katarix::app
