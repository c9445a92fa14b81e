#include "app/MiejsceNarzedzia.h"

#include "app/MainFrm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <tuple>

namespace katarix::app {

namespace {

constexpr int Odstep = 2; // between a tool window and its neighbours

qint64 pokrycie(const QRect &okno, const QList<QRect> &przeszkody)
{
    qint64 suma = 0;
    for (const QRect &r : przeszkody) {
        const QRect czesc = okno.intersected(r);
        if (!czesc.isEmpty())
            suma += qint64(czesc.width()) * czesc.height();
    }
    return suma;
}

QRect prostokatNaEkranie(const QWidget &w)
{
    return QRect(w.mapToGlobal(QPoint(0, 0)), w.size());
}

// A window's frame; a window the window manager has not framed yet gets `ramka` around it.
QRect ramkaOkna(const QWidget &okno, const QMargins &ramka)
{
    if (!okno.isWindow())
        return prostokatNaEkranie(okno);
    const QRect frame = okno.frameGeometry();
    return frame != okno.geometry() ? frame : okno.geometry().marginsAdded(ramka);
}

// The frame a window manager puts around a window: the main window's, else the window's own.
QMargins gruboscRamki(const QWidget &narzedzie)
{
    for (const QWidget *w : {static_cast<const QWidget *>(&narzedzie), static_cast<const QWidget *>(MainFrm)}) {
        if (!w || !w->isVisible())
            continue;
        const QRect f = w->frameGeometry(), g = w->geometry();
        const QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
        if (!m.isNull())
            return m;
    }
    return {};
}

// The owner window: the MDI sub-window holding the widget, or its own window.
const QWidget &oknoWlasciciela(const QWidget &wlasciciel)
{
    for (const QWidget *w = &wlasciciel; w; w = w->parentWidget()) {
        if (qobject_cast<const QMdiSubWindow *>(w) || w->isWindow())
            return *w;
    }
    return wlasciciel;
}

} // namespace

QPoint miejsceNarzedzia(const OtoczenieNarzedzia &o, QSize ramka)
{
    const int w = ramka.width(), h = ramka.height();
    const QRect &wl = o.wlasciciel;
    QList<int> xs{wl.right() + 1 + Odstep, wl.left(), wl.left() - Odstep - w, o.ekran.left(), o.ekran.right() + 1 - w};
    QList<int> ys{wl.top(), wl.bottom() + 1 + Odstep, o.ekran.top(), o.ekran.bottom() + 1 - h};
    for (const QList<QRect> *lista : {&o.siatki, &o.zakazane, &o.zajete}) {
        for (const QRect &r : *lista) {
            xs << r.right() + 1 + Odstep << r.left() - Odstep - w;
            ys << r.bottom() + 1 + Odstep << r.top() - Odstep - h;
        }
    }
    // The menu and toolbars keep their distance too: a frame the window manager has not drawn
    // yet may come out a border thicker than the estimate (openbox draws no border round a
    // maximised main window, so its frame is thinner than a tool window's).
    QList<QRect> zakazane;
    for (const QRect &r : o.zakazane)
        zakazane << r.adjusted(-Odstep, -Odstep, Odstep, Odstep);
    const QPoint kotwica(wl.right() + 1 + Odstep, wl.top());
    // Nearer the place right of the owner's top is better; a place above it counts thrice.
    const auto odleglosc = [&](const QPoint &p) {
        const int dy = p.y() - kotwica.y();
        return std::abs(p.x() - kotwica.x()) + (dy >= 0 ? dy : -3 * dy);
    };
    using Koszt = std::tuple<qint64, qint64, qint64, qint64, int>;
    std::optional<Koszt> najlepszy;
    QPoint miejsce = o.ekran.topLeft();
    for (int x : xs) {
        x = std::clamp(x, o.ekran.left(), std::max(o.ekran.left(), o.ekran.right() + 1 - w));
        for (int y : ys) {
            y = std::clamp(y, o.ekran.top(), std::max(o.ekran.top(), o.ekran.bottom() + 1 - h));
            const QRect okno(QPoint(x, y), ramka);
            const Koszt koszt{pokrycie(okno, zakazane), pokrycie(okno, o.siatki), pokrycie(okno, o.zajete),
                              pokrycie(okno, {wl}), odleglosc(okno.topLeft())};
            if (!najlepszy || koszt < *najlepszy) {
                najlepszy = koszt;
                miejsce = okno.topLeft();
            }
        }
    }
    return miejsce;
}

OtoczenieNarzedzia otoczenieNarzedzia(const QWidget &narzedzie, const QWidget &wlasciciel)
{
    const QMargins ramka = gruboscRamki(narzedzie);
    const QWidget &okno = oknoWlasciciela(wlasciciel);
    OtoczenieNarzedzia o;
    const QScreen *screen = okno.screen() ? okno.screen() : QGuiApplication::primaryScreen();
    o.ekran = screen ? screen->availableGeometry() : QRect();
    o.wlasciciel = ramkaOkna(okno, ramka);

    for (const QAbstractItemView *view : wlasciciel.findChildren<QAbstractItemView *>()) {
        if (view->isVisible() && view->window() == wlasciciel.window())
            o.siatki << prostokatNaEkranie(*view);
    }

    if (MainFrm && MainFrm->isVisible()) {
        const QRect frame = ramkaOkna(*MainFrm, ramka);
        int dolPaska = MainFrm->geometry().top() - 1;
        if (const QWidget *menu = MainFrm->menuWidget(); menu && menu->isVisible())
            dolPaska = prostokatNaEkranie(*menu).bottom();
        o.zakazane << QRect(QPoint(frame.left(), frame.top()), QPoint(frame.right(), dolPaska));
        for (const QToolBar *pasek : MainFrm->findChildren<QToolBar *>()) {
            if (pasek->isVisible() && pasek->window() == MainFrm)
                o.zakazane << prostokatNaEkranie(*pasek);
        }
    }

    for (const QWidget *inne : QApplication::topLevelWidgets()) {
        if (inne == &narzedzie || inne->windowType() != Qt::Tool)
            continue;
        const bool umieszczonyObok = inne->parentWidget() == narzedzie.parentWidget() && inne->testAttribute(Qt::WA_Moved);
        if (inne->isVisible() || umieszczonyObok)
            o.zajete << ramkaOkna(*inne, ramka);
    }
    return o;
}

void umiescNarzedzie(QWidget &narzedzie, const QWidget &wlasciciel)
{
    const QMargins ramka = gruboscRamki(narzedzie);
    const QPoint miejsce = miejsceNarzedzia(otoczenieNarzedzia(narzedzie, wlasciciel), narzedzie.size().grownBy(ramka));
    narzedzie.setGeometry(QRect(miejsce + QPoint(ramka.left(), ramka.top()), narzedzie.size()));
}

} // namespace katarix::app
