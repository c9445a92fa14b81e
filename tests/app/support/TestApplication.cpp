#include "TestApplication.h"

#include <QApplication>

namespace katarix::test {

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "katarix-tests";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace katarix::test
