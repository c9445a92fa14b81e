#pragma once

#include "app/LayoutStore.h"
#include "jet/StrHolder.h"
#include "widgets/DataGrid.h"

#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QToolButton;

namespace katarix::jet {
class Query;
}

namespace katarix::persons {

class TTWjrOsUstFrm;

// "Podsumowanie władania": the registration units of the land and premises registers in which
// one person holds, directly, through a marriage or through a group. A tool window owned by the
// person file, hidden until a person is shown (the first time beside the file, where
// app::umiescNarzedzie puts it, unless a position is stored); closing it only hides it. Enter or a double click
// opens the current unit in its register window.
class TTWjrOsobyFrm : public QWidget {
    Q_OBJECT
public:
    explicit TTWjrOsobyFrm(QWidget *owner);

    // pokaz false hides the window. A hidden window with pytaj true first shows the settings;
    // cancelling them leaves it hidden. Returns 1 when the units of the person were listed.
    int PokazDlaOsoby(bool pokaz, const QString &opisOsoby, bool pytaj, double osobaId);
    // Lists the units of IdOsoby with the current settings; false (with a warning) when no form
    // of holding is ticked. Throws on a database error.
    bool CzytajJr();
    // Opens the current row's unit in the land or premises register window.
    void PrzejdzDoJr();
    // The form-of-holding part of the condition: empty when every form is ticked.
    QString WarunekFormWlad() const;
    int IdObrebu() const;

    // What a cell of JrGrd looks like: the register's background, bold in the highlighted row,
    // red text for a historical holding.
    struct WygladKomorki {
        std::optional<QColor> tlo;
        widgets::DataGrid::CellFont czcionka;
    };
    WygladKomorki JrGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;

    void UstawieniaSBClick();

    // Components.
    QAbstractButton *CzytajSB; // the person file connects its click
    QToolButton *PrzejscieSB, *UstawieniaSB;
    QLabel *TopPnl;
    widgets::DataGrid *JrGrd;
    jet::Query *JrQry;
    jet::StrHolder SqlSh;
    TTWjrOsUstFrm *TWjrOsUstFrm;

    double IdOsoby = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *utworzPasek();
    void utworzSiatke();
    void rozmiescPanele(QWidget *pasek);
    void polaczPrzyciski();

    app::LayoutStore m_uklad;
    bool m_pokazane = false;
};

} // namespace katarix::persons
