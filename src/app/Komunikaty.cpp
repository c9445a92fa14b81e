#include "app/Komunikaty.h"

#include "app/AppError.h"
#include "app/MainFrm.h"

#include <QApplication>

namespace katarix::app {

namespace {

QString &tytul()
{
    static QString title = QStringLiteral("Katarix");
    return title;
}

QWidget *wlascicielOkien()
{
    if (MainFrm)
        return MainFrm;
    return QApplication::activeWindow();
}

} // namespace

QString TytulAplikacji()
{
    return tytul();
}

void UstawTytulAplikacji(const QString &title)
{
    tytul() = title;
}

int Komunikat(const QString &tekst, const QString &tytulOkna, int flagi, bool sygnal)
{
    if (sygnal)
        interaction().beep();
    return interaction().messageBox(wlascicielOkien(), tekst, tytulOkna.isEmpty() ? TytulAplikacji() : tytulOkna,
                                    flagi);
}

void PokazWyjatek(const QString &message)
{
    interaction().messageBox(wlascicielOkien(), message, TytulAplikacji(), mb::IconError);
}

void PokazWyjatek(const std::exception &error)
{
    PokazWyjatek(komunikatWyjatku(error));
}

} // namespace katarix::app
