#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace katarix::app {

// The hourglass while a long action runs; the previous cursor comes back however it ends.
// Without a GUI application (command-line tools) it does nothing.
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
