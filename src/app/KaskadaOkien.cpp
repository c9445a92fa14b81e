#include "app/KaskadaOkien.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace katarix::app {

void KaskadaOkien(QMdiArea &area)
{
    QMdiSubWindow *aktywne = area.activeSubWindow();
    const QSize miejsce = area.viewport()->size();
    int krok = 0;
    QPoint polozenie(0, 0);
    for (QMdiSubWindow *sub : area.subWindowList(QMdiArea::StackingOrder)) {
        if (!sub->isVisible() || sub->isMinimized())
            continue;
        if (sub->isMaximized())
            sub->showNormal();
        if (krok == 0)
            krok = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        if (polozenie != QPoint(0, 0)
            && (polozenie.x() + sub->width() > miejsce.width() || polozenie.y() + sub->height() > miejsce.height()))
            polozenie = QPoint(0, 0);
        sub->move(polozenie);
        sub->raise();
        polozenie += QPoint(krok, krok);
    }
    if (aktywne)
        area.setActiveSubWindow(aktywne);
}

} // namespace katarix::app
