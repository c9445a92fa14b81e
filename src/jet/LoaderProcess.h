#pragma once

// One run of the katarix-loader helper. Internal to src/jet.

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>

namespace katarix::jet {

class LoaderProcess : public QObject {
    Q_OBJECT
public:
    enum class Priority {
        Normal,
        Background, // nice 19 and the idle I/O class, for a load nobody waits for yet
    };

    // Starts the helper on mdbPath writing target. The helper gets SIGTERM when the thread that
    // started it ends (so when this process ends). Throws JetError when it cannot start.
    LoaderProcess(const QString &program, const QString &mdbPath, const QString &target, Priority priority);
    ~LoaderProcess() override; // a helper still running is stopped

    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Waits at most ms for the helper's next report; false once the helper has ended.
    bool waitForReport(int ms);
    int percent() const { return m_percent; }
    qint64 msSinceReport() const { return m_sinceReport.elapsed(); }
    void stop();
    // Back to normal priority, as far as the system lets a user raise it again.
    void raisePriority();
    // After the end: the XXH3 of the copy the helper reported; JetError for every failure (the
    // helper's own message, a crash, an end from outside).
    QString checksum() const;

Q_SIGNALS:
    void progressed(int percent);
    void ended();

private:
    void readReports();

    QProcess m_process;
    QString m_mdbPath;
    QElapsedTimer m_sinceReport;
    int m_percent = 0;
    QString m_error;
    QString m_checksum;
    bool m_completed = false;
};

} // namespace katarix::jet
