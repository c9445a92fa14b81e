#pragma once

#include "widgets/Zaznaczenie.h"

#include <QString>

class QComboBox;
class QListWidget;

namespace katarix::jet {
class Dataset;
}

namespace katarix::widgets {
class DataGrid;
}

namespace katarix::app {

using widgets::DataGrid;

// Shared list helpers. Combo-box and check-list items carry an integer identifier beside their
// caption (Qt::UserRole). Errors are reported in an error box of the Interaction seam with the
// caption of the failing job, and the caller goes on with the partial result.

// The identifier of a first entry that stands for no restriction ("wszystkie").
constexpr int IdWszystkie = -999;

// A combo box whose dynamic property "sorted" is true keeps its items in Polish alphabetical
// order (case-insensitive), as a sorted list does.
void UstawSortowanie(QComboBox *combo, bool sorted);

// Fills combo from the open dataset (first to last row; leaves it after its last row). With
// pierwszaPozycja not empty, that entry comes first with IdWszystkie. Returns the items added.
int WypelnijComboBox(QComboBox *combo, jet::Dataset &qry, const QString &poleTekstu, bool zaznaczPierwszy,
                     const QString &pierwszaPozycja, const QString &poleId);
// The identifier of the selected item; IdWszystkie for the first entry; -1 when nothing is selected.
int IdZComboBox(const QComboBox *combo);
// Index of the item with the identifier, -1 when none.
int IndeksIdWComboBox(const QComboBox *combo, int id);

// Fills a check list (checkable items) from the open dataset and closes the dataset.
int WypelnijCheckListBox(QListWidget *clb, jet::Dataset &qry, const QString &poleTekstu, bool zaznaczWszystkie,
                         const QString &poleId);
// Identifiers of the items whose check state is stan, comma-separated.
QString ListaIdZaznaczonych(const QListWidget *clb, bool stan);
// Appends the captions of the items whose check state is stan, each followed by ", ", then drops
// the last two characters of tekst; returns the number of items taken.
int TekstyZaznaczonych(const QListWidget *clb, QString &tekst, bool stan);
void ZaznaczCheckListBox(QListWidget *clb, widgets::Zaznaczenie zaznaczenie);
// The same for the number a button is bound to: 0 unchecks every item, 1 checks every item,
// 2 inverts; anything else does nothing.
void ZaznaczCheckListBox(QListWidget *clb, int tryb);

// The values of field pole over the selected rows of grid, comma-separated ("" when no row is
// selected); the dataset stays on the last selected row.
QString ListaZaznaczonychDBGrid(DataGrid *grid, const QString &pole, QString &tekst);

} // namespace katarix::app
