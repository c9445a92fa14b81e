#pragma once

// A virtual X screen (Xvfb) with the openbox window manager on it, for tests of what only a real
// window system shows (frames, repainting). Xvfb picks a free display itself; both end with the
// object. The setup script installs both programs.

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

namespace katarix::test {

class EkranZMenedzerem {
public:
    static bool dostepny()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
               && !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty();
    }

    // Starts both; returns the display (":N"), empty on failure.
    QString uruchom(const QString &rozmiar = QStringLiteral("1600x1000x24"))
    {
        m_xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                              QStringLiteral("0"), rozmiar, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_xvfb.waitForStarted(10000))
            return {};
        QByteArray numer;
        QElapsedTimer timer;
        timer.start();
        while (!numer.contains('\n') && timer.elapsed() < 20000 && m_xvfb.state() == QProcess::Running) {
            m_xvfb.waitForReadyRead(200);
            numer += m_xvfb.readAllStandardOutput();
        }
        if (!numer.contains('\n'))
            return {};
        m_ekran = QLatin1Char(':') + QString::fromLatin1(numer.trimmed());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_ekran);
        env.insert(QStringLiteral("HOME"), m_dom.path());
        m_openbox.setProcessEnvironment(env);
        m_openbox.setProcessChannelMode(QProcess::MergedChannels);
        m_openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!m_openbox.waitForStarted(10000))
            return {};
        QThread::msleep(1500); // openbox takes over the screen
        return m_openbox.state() == QProcess::Running ? m_ekran : QString();
    }

    // The environment of a program shown on this screen through Qt's X11 platform.
    QProcessEnvironment srodowisko() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_ekran);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), m_dom.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return env;
    }

    ~EkranZMenedzerem()
    {
        for (QProcess *process : {&m_openbox, &m_xvfb}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

private:
    QTemporaryDir m_dom;
    QProcess m_xvfb, m_openbox;
    QString m_ekran;
};

} // namespace katarix::test
