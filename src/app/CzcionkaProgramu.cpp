#include "app/CzcionkaProgramu.h"

#include <QApplication>
#include <QFontDatabase>

namespace katarix::app {

void UstawCzcionkeProgramu()
{
    QFont font = QApplication::font();
    const QStringList families = QFontDatabase::families();
    QStringList chosen;
    for (const char *name : {"Tahoma", "DejaVu Sans", "Liberation Sans", "Noto Sans"})
        if (families.contains(QString::fromLatin1(name), Qt::CaseInsensitive))
            chosen << QString::fromLatin1(name);
    if (!chosen.isEmpty())
        font.setFamilies(chosen);
    font.setPixelSize(11);
    QApplication::setFont(font);
}

} // namespace katarix::app
