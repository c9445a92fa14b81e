#include "app/MainFrm.h"

int main(int argc, char *argv[])
{
    using namespace katarix::app;
    try {
        TApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Katarix"));
        UstawCzcionkeProgramu();
        UtworzFormularze();
        MainFrm->showMaximized();
        const int result = application.exec();
        ZwolnijFormularze();
        return result;
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    } catch (...) {
        PokazWyjatek(QString());
    }
    return 1;
}
