#include "app/RejestrOkien.h"

#include "app/MainFrm.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QPointer>

#include <array>

namespace katarix::app {

namespace {

struct Wpis {
    FabrykaOkna fabryka;
    QPointer<QWidget> otwarte;
};

std::array<Wpis, LiczbaOkienProgramu> &rejestr()
{
    static std::array<Wpis, LiczbaOkienProgramu> entries;
    return entries;
}

Wpis &wpis(OknoProgramu okno)
{
    return rejestr()[size_t(okno)];
}

} // namespace

void zarejestrujOkno(OknoProgramu okno, FabrykaOkna fabryka)
{
    wpis(okno).fabryka = std::move(fabryka);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *mainWindow = qobject_cast<TMainFrm *>(window))
            mainWindow->OdswiezPolecenia();
}

bool oknoZarejestrowane(OknoProgramu okno)
{
    return bool(wpis(okno).fabryka);
}

QWidget *okno(OknoProgramu okno)
{
    return wpis(okno).otwarte.data();
}

QWidget *utworzOkno(OknoProgramu okno)
{
    Wpis &w = wpis(okno);
    if (!w.fabryka)
        return nullptr;
    QWidget *window = w.fabryka();
    w.otwarte = window;
    return window;
}

bool zamknijOkno(OknoProgramu okno)
{
    QPointer<QWidget> &window = wpis(okno).otwarte;
    if (!window)
        return true;
    auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    const bool closed = sub ? sub->close() : window->close();
    if (closed)
        window = nullptr;
    return closed;
}

} // namespace katarix::app
