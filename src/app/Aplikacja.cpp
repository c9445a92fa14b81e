#include "app/Aplikacja.h"

#include "app/Komunikaty.h"
#include "jet/ErrorText.h"

namespace katarix::app {

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    } catch (...) {
        PokazWyjatek(jet::unknownErrorText());
    }
    return false;
}

} // namespace katarix::app
