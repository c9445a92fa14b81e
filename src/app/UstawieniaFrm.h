#pragma once

#include "app/KatalogiProgramu.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>

namespace Ui {
class TUstawieniaFrm;
}

namespace katarix::widgets {
class ColorPanel;
}

namespace katarix::app {

struct Ustawienia;

// Settings dialog ("Ustawienia"): edits the printing and colour settings (app/Ustawienia.h) — the
// RTF editor, the templates and output folders, the four holder colours and the parcel range of
// the unit extract. It reads the configuration file into the settings while it is constructed and
// lives for the whole run. Every edit of a control goes into the settings at once; OK writes them
// to the file and closes; "Anuluj" (and Esc) reads them back from the file and closes; the
// title-bar close neither writes nor reads, so the edits stay in effect for this run. Showing it
// again shows the settings as they are. The layout is the Designer form UstawieniaFrm.ui.
class TUstawieniaFrm : public QDialog {
    Q_OBJECT
public:
    // ustawienia: the settings it edits (the program's, ustawieniaProgramu()); plikIni: the
    // configuration file; katalogi: the program's folders, whose templates and documents folders
    // are the defaults of "szablony" and "wynik".
    TUstawieniaFrm(Ustawienia &ustawienia, const QString &plikIni, const KatalogiProgramu &katalogi,
                   QWidget *parent = nullptr);
    ~TUstawieniaFrm() override;

    // The file into the settings and the settings into the controls.
    void WczytajUstawienia();
    // The settings into the file; throws IniError.
    void ZapiszUstawienia();

    // Handlers.
    void OkBtnClick();
    void AnulujBtnClick();
    void WlaPnlClick(widgets::ColorPanel *sender); // shared by the four colour panels

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pokazUstawienia();
    void polacz();
    std::optional<QString> wybierzEdytor(const QString &current);
    std::optional<QString> wybierzKatalog(const QString &title, const QString &current);

    std::unique_ptr<Ui::TUstawieniaFrm> ui;
    Ustawienia &m_ustawienia;
    QString m_plikIni;
    KatalogiProgramu m_katalogi;
};

// The one settings dialog of the run; created at start-up after the main window.
extern TUstawieniaFrm *UstawieniaFrm;

} // namespace katarix::app
