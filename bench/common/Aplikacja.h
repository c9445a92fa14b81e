#pragma once

// The start every benchmark program shares: the offscreen platform unless another one is chosen,
// one QApplication and the command line.

#include <QApplication>
#include <QStringList>

namespace katarix::bench {

// The value after `name` on the command line, or the fallback.
inline QString argument(const QStringList &args, const QString &name, const QString &fallback = QString())
{
    const int i = int(args.indexOf(name));
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

// Chooses the offscreen platform when QT_QPA_PLATFORM is not set; returns `argc` for QApplication.
inline int &offscreen(int &argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

class Aplikacja : public QApplication {
public:
    Aplikacja(int &argc, char **argv) : QApplication(offscreen(argc), argv), args(arguments()) {}

    const QStringList args;
};

} // namespace katarix::bench
