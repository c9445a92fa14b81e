#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TTWjrOsUstFrm;
}

namespace katarix::jet {
class Query;
}

namespace katarix::persons {

// "Ustawienia wyszukiwania": what the units of persons window searches (precinct, forms of
// holding, registers, historical holdings). Shown modally at the mouse pointer; any ending but
// OK brings back the precinct, forms and archive tick it was shown with, while the register
// ticks keep what the person set. Laid out in the Designer form TWjrOsUstFrm.ui (a private ui).
class TTWjrOsUstFrm : public QDialog {
    Q_OBJECT
public:
    // tempQry: the query the two lists are filled on (default: the main window's scratch query).
    explicit TTWjrOsUstFrm(QWidget *owner, jet::Query *tempQry = nullptr);
    ~TTWjrOsUstFrm() override;

    // -1 for every precinct ("* wszystkie obręby *" or none chosen), else the precinct's key.
    int IdObrebu() const;
    // Keys of the ticked forms of holding, comma-separated.
    QString ZaznaczoneFormy() const;
    // Whether every form of holding is ticked (also when the dictionary is empty).
    bool WszystkieFormy() const;
    // Whether at least one form is ticked or there are none to tick.
    bool JestFormaWladania() const;

    void FormShow();
    void FormClose(int wynik);
    void DomyslneSBClick();
    void RgrunChbClick();
    void OkBtnClick();

    // The ticks "Szukaj także w archiwum", "Rejestr gruntów" and "Rejestr lokali".
    bool Archiwum() const;
    bool RejestrGruntow() const;
    bool RejestrLokali() const;

    // What the window was shown with.
    QString ZapamietaneFormy; // one character per form: "1" ticked, "0" not
    int ZapamietanyObreb = 0;
    bool ZapamietaneArchiwum = false;

    void done(int wynik) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TTWjrOsUstFrm> ui;
};

// The warning shown instead of a search with no form of holding ticked.
void OstrzezBrakFormWladania();

} // namespace katarix::persons
