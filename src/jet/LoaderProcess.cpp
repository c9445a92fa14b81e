#include "LoaderProcess.h"

#include "JetError.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace katarix::jet {

namespace {

// ioprio_set(2); glibc has no wrapper.
constexpr int kIoprioWhoProcess = 1;
constexpr int kIoprioClassShift = 13;
constexpr int kIoprioClassBestEffort = 2;
constexpr int kIoprioClassIdle = 3;

void setIoClass(pid_t task, int ioClass, int level)
{
    ::syscall(SYS_ioprio_set, kIoprioWhoProcess, task, (ioClass << kIoprioClassShift) | level);
}

// The signals with which someone ends a process; any other one is a crash.
bool endedFromOutside(int signal)
{
    return signal == SIGKILL || signal == SIGTERM || signal == SIGINT || signal == SIGHUP || signal == SIGQUIT;
}

constexpr int kExitStopped = 3; // the helper's own code for an end from outside

} // namespace

LoaderProcess::LoaderProcess(const QString &program, const QString &mdbPath, const QString &target, Priority priority)
    : m_mdbPath(mdbPath)
{
    if (!QFileInfo(program).isExecutable())
        throw JetError(QStringLiteral("Nie znaleziono programu wczytującego bazę danych: %1").arg(program));
    m_process.setProgram(program);
    m_process.setArguments({mdbPath, target});
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.setStandardInputFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    const bool background = priority == Priority::Background;
    m_process.setChildProcessModifier([parent, background] {
        // Runs in the new process before the helper starts.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(kExitStopped);
        if (background) {
            ::setpriority(PRIO_PROCESS, 0, 19);
            setIoClass(0, kIoprioClassIdle, 0);
        }
    });
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &LoaderProcess::readReports);
    connect(&m_process, &QProcess::finished, this, [this] {
        readReports();
        Q_EMIT ended();
    });
    m_sinceReport.start();
    m_process.start();
    if (!m_process.waitForStarted(30000))
        throw JetError(QStringLiteral("Nie można uruchomić programu wczytującego bazę danych: %1").arg(program));
}

LoaderProcess::~LoaderProcess()
{
    disconnect(&m_process, nullptr, this, nullptr);
    stop();
}

void LoaderProcess::readReports()
{
    while (m_process.canReadLine() || (m_process.state() == QProcess::NotRunning && m_process.bytesAvailable() > 0)) {
        const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
        m_sinceReport.restart();
        if (line.startsWith(QLatin1String("PROGRESS "))) {
            bool ok = false;
            const int percent = line.mid(9).toInt(&ok);
            if (ok) {
                m_percent = std::clamp(percent, 0, 100);
                Q_EMIT progressed(m_percent);
            }
        } else if (line.startsWith(QLatin1String("ERROR "))) {
            m_error = line.mid(6);
        } else if (line.startsWith(QLatin1String("OK "))) {
            m_checksum = line.mid(3);
            m_completed = true;
        }
    }
}

bool LoaderProcess::waitForReport(int ms)
{
    if (!running())
        return false;
    m_process.waitForReadyRead(ms);
    readReports();
    return running();
}

void LoaderProcess::stop()
{
    if (!running())
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

void LoaderProcess::raisePriority()
{
    const qint64 pid = m_process.processId();
    if (pid <= 0)
        return;
    const QStringList tasks = QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        const pid_t tid = pid_t(task.toLongLong());
        ::setpriority(PRIO_PROCESS, id_t(tid), 0); // refused to most users: nice can only grow
        setIoClass(tid, kIoprioClassBestEffort, 4);
    }
}

QString LoaderProcess::checksum() const
{
    if (!m_error.isEmpty())
        throw JetError(m_error);
    const bool crashed = m_process.exitStatus() == QProcess::CrashExit;
    // For a crash Qt gives the signal as the exit code.
    if ((crashed && endedFromOutside(m_process.exitCode())) || (!crashed && m_process.exitCode() == kExitStopped))
        throw JetError(QStringLiteral("Wczytywanie bazy danych zostało przerwane: %1").arg(m_mdbPath));
    if (crashed || m_process.exitCode() != 0 || !m_completed || m_checksum.isEmpty())
        throw JetError(QStringLiteral("Plik bazy danych jest uszkodzony: wczytywanie zostało przerwane: %1").arg(m_mdbPath));
    return m_checksum;
}

} // namespace katarix::jet
