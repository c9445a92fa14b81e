#pragma once

#include "app/KatalogiProgramu.h"

#include <QColor>
#include <QString>

namespace katarix::app {

// The printing and colour settings: a plain value that the settings dialog (TUstawieniaFrm)
// edits and writes, and that every other window reads at the moment of use through
// ustawieniaProgramu(). A value made without the configuration file has the four default colours,
// the first range and empty paths.
struct Ustawienia {
    Ustawienia();

    QString edytor;           // "wydruk"/"przeglad": the RTF editor
    QString katalogSzablonow; // "wydruk"/"szablony": the report templates
    QString katalogWynikowy;  // "wydruk"/"wynik": where the reports are written
    QColor kolorWla;          // "Rgrun"/"WlaColor": holders of forms of group 1
    QColor kolorUw;           // "Rgrun"/"UwColor": perpetual usufructuaries (form 2)
    QColor kolorUk2;          // "Rgrun"/"Uk2Color": holders of forms of group 2
    QColor kolorUk3;          // "Rgrun"/"Uk3Color": holders of forms of group 3
    // "RaportJR"/"ZakresDlk": the item of "Raport dla jednostki:" (-1 none, 0 the selected
    // parcels, 1 all parcels of the unit).
    int zakresDlk = 0;

    // The extract of a unit takes all its parcels, not only the selected ones.
    bool wszystkieDzialki() const { return zakresDlk == 1; }

    // The settings kept in plikIni. A missing file or key, or a number that is no number, gives
    // the default; the folders default to the templates and documents folders of katalogi
    // (szablony, wyniki). A range past the items reads as the nearest item, as the dialog shows it.
    static Ustawienia wczytaj(const QString &plikIni, const KatalogiProgramu &katalogi);
    // Writes the eight keys into plikIni in the order above, each as one key, keeping the rest of
    // the file. Throws IniError when the file cannot be written.
    void zapisz(const QString &plikIni) const;

    // Defaults for a missing file or key.
    static QString domyslnyEdytor();
    static constexpr int DomyslnyWlaColor = 11795963; // RGB FB FD B3
    static constexpr int DomyslnyUwColor = 12315841;  // RGB C1 EC BB
    static constexpr int DomyslnyUk2Color = 12704496; // RGB F0 DA C1
    static constexpr int DomyslnyUk3Color = 16434658; // RGB E2 C5 FA
    // The items of the range: the selected parcels (0), all parcels (1).
    static constexpr int LiczbaZakresow = 2;
};

// The settings the program runs with: read from the configuration file when the settings dialog
// is created, changed by the dialog as described there.
Ustawienia &ustawieniaProgramu();

} // namespace katarix::app
