#include "app/MainFrm.h"
#include "app/main/Start.h"
#include "jet/ErrorText.h"

#include <QScreen>
#include <cstdio>

namespace {

// The standard display of an exception that escapes start-up or the message loop; before the
// application object exists there is no window to show it in.
void pokazBladStartu(const QString &message)
{
    if (QApplication::instance())
        katarix::app::PokazWyjatek(message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace katarix::app;
    std::unique_ptr<TApplication> application;
    try {
        application = std::make_unique<TApplication>(argc, argv);
        PrzygotujProgram();
        // Without a window manager a maximised window keeps its own size: fill the screen.
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            MainFrm->setGeometry(screen->availableGeometry());
        MainFrm->showMaximized();
        const int result = application->exec();
        ZwolnijFormularze();
        return result;
    } catch (const std::exception &error) {
        pokazBladStartu(komunikatWyjatku(error));
    } catch (...) {
        pokazBladStartu(katarix::jet::unknownErrorText());
    }
    return 1;
}
