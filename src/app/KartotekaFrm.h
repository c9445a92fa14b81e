#pragma once

#include "app/LayoutStore.h"
#include "widgets/ListaRobocza.h"

#include <QMainWindow>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QToolBar;

namespace katarix::app {

// What the parcel file and the person file share, around their working list (object name "Lv"):
// an MDI child with the system menu and the minimise box only; toolbars docked at the top, not
// floatable; a status bar "StatusBar" whose panel "StatusPanel0" shows "Ilość: " with the
// selected and all rows; the keys seen before the list (FormKeyDown); the selection menu bound to
// ZaznaczWszystkoMiClick by its tags; sorting by header clicks; removal of rows under the
// hourglass; the layout kept in the window's section as "Pos" and "Size". A window states its
// columns, toolbars and actions, and what follows a change of the selection.
class TKartotekaFrm : public QMainWindow {
    Q_OBJECT
public:
    ~TKartotekaFrm() override;

    // Event handlers.
    void ZaznaczWszystkoMiClick(int tag);
    void LvSelectItem();
    void LvColumnClick(int kolumna);

    void PokazIlosc(const QString &tekst);
    int iloscWierszy() const { return Lv->iloscWierszy(); }

protected:
    // nazwa: the object name; sekcja: the section of the layout.
    TKartotekaFrm(QWidget *parent, const QString &nazwa, const QString &tytul, const QString &ikona,
                  const QString &sekcja);

    // Construction.
    QToolBar *utworzPasek(const char *nazwa, const QString &tytul, int rozmiarIkon);
    // A toolbar button with its hint "short text|status-bar text", running obsluga as a user action.
    QAction *przycisk(QToolBar *pasek, const char *nazwa, const QIcon &ikona, const QString &podpowiedz,
                      std::function<void()> obsluga);
    // The two status panels: the first of a fixed width, the second at least that wide (designed
    // widths, at the program's scale).
    void utworzPanele(int szerokosc0, int szerokosc1);
    // Reads the layout; the last step of a window's construction (the toolbars exist then).
    void wczytajUklad();

    // Removes the selected rows or all of them under the hourglass, then shows the counts.
    void usunWiersze(bool wszystkie);

    // Called with each key pressed in the list before the list sees it; true when handled.
    virtual bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    virtual void LvKeyUp(int key);
    // After a mouse button was released over the rows and the selection is final.
    virtual void LvMouseUp();
    // The pointer moved over the rows (pos), or left them (-1,-1).
    virtual void LvMouseMove(const QPoint &pos);
    // After the counts of a changed selection are shown.
    virtual void poZmianieZaznaczenia();
    // After a choice of the selection menu and the counts.
    virtual void poZaznaczeniuZMenu();
    // The window is closing.
    virtual void FormClose();

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    widgets::ListaRobocza *Lv;
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    LayoutStore m_uklad;

private:
    void pokazLiczby();
};

} // namespace katarix::app
