#pragma once

// For programs that run on a real X server (the probes): lets the window system and the program
// work for a while.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace katarix::test {

inline void czekaj(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

} // namespace katarix::test
