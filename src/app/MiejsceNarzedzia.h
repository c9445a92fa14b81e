#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace katarix::app {

// What the first place of a tool window has to respect, in global coordinates; every window is
// given by its frame.
struct OtoczenieNarzedzia {
    QRect ekran;           // the screen's available area
    QRect wlasciciel;      // the owner window
    QList<QRect> siatki;   // the owner's grids and lists
    QList<QRect> zakazane; // the main window's title, menu bar and toolbars
    QList<QRect> zajete;   // the other tool windows
};

// Where a tool window of frame size `ramka` first appears: inside the screen's available area,
// beside the owner window (right of it first, then below or left of it), clear of the main
// window's menu and toolbars (by two pixels at least), of the owner's grids and of the other
// tool windows, so that windows opened one after another stack down a column beside the owner
// and then start the next one. Where no place is clear, the one that covers least wins, in that order of importance
// (menu and toolbars, grids, tool windows, the rest of the owner). Returns the frame's top left.
QPoint miejsceNarzedzia(const OtoczenieNarzedzia &otoczenie, QSize ramka);

// The surroundings of `narzedzie` as the screen shows them now: the owner is `wlasciciel`'s
// window (its MDI sub-window when it sits in one), the grids are its visible item views, the
// main window is app::MainFrm, the tool windows are the visible ones and the hidden ones of the
// same owner that have a place already.
OtoczenieNarzedzia otoczenieNarzedzia(const QWidget &narzedzie, const QWidget &wlasciciel);

// Puts a tool window that keeps no position of its own at miejsceNarzedzia of its surroundings
// (before or while it is first shown). The window's frame is taken to be as thick as the main
// window's until the window manager has framed it.
void umiescNarzedzie(QWidget &narzedzie, const QWidget &wlasciciel);

} // namespace katarix::app
