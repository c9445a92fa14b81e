#pragma once

#include "app/KatalogiProgramu.h"

#include <QColor>
#include <QDialog>
#include <QString>

#include <optional>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace katarix::widgets {
class ColorPanel;
class DirectoryEdit;
class FileNameEdit;
class RadioGroup;
} // namespace katarix::widgets

namespace katarix::app {

// Settings dialog ("Ustawienia"): the RTF editor, the templates and output folders, the four
// holder colours and the parcel range of the unit extract. It reads the configuration file
// while it is constructed and lives for the whole run; the rest of the program reads the
// settings from its controls at the moment of use, e.g.
//   UstawieniaFrm->EdytorFE->fileName(), ->SzablonyDE->text(), ->OutputDE->text(),
//   ->WlaPnl->color(), ->ZakresDlkGB->itemIndex()
// or through the named accessors below, which read the same controls.
// OK writes every setting and closes; "Anuluj" (and Esc) reloads the file and closes; the
// title-bar close neither writes nor reloads, so edits stay in the controls for this run.
class TUstawieniaFrm : public QDialog {
    Q_OBJECT
public:
    // plikIni: the configuration file; katalogi: the program's folders, whose templates and
    // documents folders are the defaults of "szablony" and "wynik".
    TUstawieniaFrm(const QString &plikIni, const KatalogiProgramu &katalogi, QWidget *parent = nullptr);

    // Components, in declaration order.
    QFrame *MainPnl;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    widgets::DirectoryEdit *OutputDE;
    QGroupBox *KolorGbx;
    widgets::ColorPanel *WlaPnl;
    widgets::ColorPanel *UwPnl;
    widgets::ColorPanel *Uk2Pnl;
    widgets::ColorPanel *Uk3Pnl;
    widgets::FileNameEdit *EdytorFE;
    widgets::DirectoryEdit *SzablonyDE;
    widgets::RadioGroup *ZakresDlkGB;
    QFrame *BottomPnl;
    QPushButton *OkBtn;
    QPushButton *AnulujBtn;
    // ColorDialog1: the colour dialog of the Interaction seam.

    void WczytajUstawienia();
    void ZapiszUstawienia(); // throws IniError

    // Handlers.
    void OkBtnClick();
    void AnulujBtnClick();
    void WlaPnlClick(widgets::ColorPanel *sender); // shared by the four colour panels
    // The picker buttons of the three edits (file and folder dialogs of the Interaction seam).
    void EdytorFEButtonClick();
    void SzablonyDEButtonClick();
    void OutputDEButtonClick();

    // The current settings, read from the controls.
    QString edytor() const;          // "wydruk"/"przeglad"
    QString katalogSzablonow() const; // "wydruk"/"szablony"
    QString katalogWynikowy() const;  // "wydruk"/"wynik"
    QColor kolorWla() const;          // "Rgrun"/"WlaColor", holders of forms of group 1
    QColor kolorUw() const;           // "Rgrun"/"UwColor", perpetual usufructuaries (form 2)
    QColor kolorUk2() const;          // "Rgrun"/"Uk2Color", forms of group 2
    QColor kolorUk3() const;          // "Rgrun"/"Uk3Color", forms of group 3
    int zakresDlk() const;            // "RaportJR"/"ZakresDlk": 1 = all parcels, else the selected ones

    const QString &plikIni() const { return m_plikIni; }
    const KatalogiProgramu &katalogi() const { return m_katalogi; }

    // Defaults for a missing file or key.
    static QString domyslnyEdytor();
    static constexpr int DomyslnyWlaColor = 11795963; // RGB FB FD B3
    static constexpr int DomyslnyUwColor = 12315841;  // RGB C1 EC BB
    static constexpr int DomyslnyUk2Color = 12704496; // RGB F0 DA C1
    static constexpr int DomyslnyUk3Color = 16434658; // RGB E2 C5 FA

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<QString> wybierzEdytor(const QString &current);
    std::optional<QString> wybierzKatalog(const QString &title, const QString &current);

    QString m_plikIni;
    KatalogiProgramu m_katalogi;
};

// The one settings dialog of the run; created at start-up after the main window.
extern TUstawieniaFrm *UstawieniaFrm;

} // namespace katarix::app
