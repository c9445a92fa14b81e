#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

namespace katarix::reports {

// The hourglass while a report reads its data; the previous cursor comes back however it ends
// (or earlier, through przywroc, before an error box).
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

} // namespace katarix::reports
