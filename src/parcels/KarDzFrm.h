#pragma once

#include "app/KartotekaFrm.h"

#include <QString>

#include <optional>

class QAction;
class QToolBar;

namespace katarix::jet {
class Database;
}

namespace katarix::browsers {
class TTWbudFrm;
}

namespace katarix::parcels {

class TDodDlkFrm;

// Identity of a parcel row of the file, owned by the row.
struct TIdentDlk {
    double mslink = 0;
    double dzialka_id = 0;
    double arkusz_id = 0;
    double id_jr = 0;
    qint32 obreb_id = 0;
    double zmiana_id = 0;
    double zmiana_kas_id = 0; // 0 when current
};

// One parcel as a search hands it over: the texts of its columns and its identity.
struct WierszDzialki {
    QString numer;    // "Nr działki"
    QString arkusz;   // "Ark"
    QString jr;       // "JR"
    QString obreb;    // "Obręb"
    QString pow_opis; // "Pow.ewid.": hectares as the engine formats them
    TIdentDlk ident;
};

// A row of the parcel list: its caption and sub-items are the columns' texts. Powierzchnia is
// the number its "Pow.ewid." text stood for when the row was filled; nullopt when it was none.
class TDlkItem : public widgets::WierszListy {
public:
    double klucz() const override { return Ident.mslink; }
    TIdentDlk Ident;
    std::optional<double> Powierzchnia;
};

// Comparison of two rows of the list for column kolumna: numbers where both texts are numbers,
// parcel numbers (numerator, then denominator) for column 0, else the locale's text order.
// Negative, zero or positive; inverted when descending.
int PorownajWiersze(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna, bool rosnaco);

// The parcel file: a working list of parcels gathered by the parcel search, with the areas of
// the selected and of all rows, sorting, the jump to the land register, three reports and the
// buildings on the selected parcel.
class TKarDzFrm : public app::TKartotekaFrm {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TKarDzFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TKarDzFrm() override;

    // Adds a row, or refreshes the first of the first n rows with the same mslink; selects it.
    void DodajDzialke(const WierszDzialki &wiersz, int n);
    // A batch of DodajDzialke calls: the selection is cleared first, painting suspended, the rows
    // found selected and the counts and sums shown once at the end (PokazSumy(true)).
    void RozpocznijWsad();
    void ZakonczWsad();

    void PokazSumy(bool wszystkie);
    QString ListaMslink() const;
    QString ListaIdJr() const;
    void OdswiezBudynki(bool widoczne);
    void BudynkiZamkniete();

    // Event handlers.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void DodajSBClick();
    void ClearSBClick();
    void UsunSBClick();
    void PrzejscieRGTBtnClick();
    void JrRaportTBtnClick();
    void WypisSkrTBtnClick();
    void WkzDlkWladBtnClick();
    void BudTBtnClick();
    void LvKeyUp(int key) override;
    void LvMouseUp() override;

    jet::Database *baza() const { return m_baza; }
    // The buildings tool window, hidden until asked for.
    browsers::TTWbudFrm *BudTW = nullptr;

    // Sums of the "Pow.ewid." values of the selected and of all rows.
    double PowZaznaczonych = 0;
    double PowWszystkich = 0;

protected:
    void FormClose() override;
    void poZmianieZaznaczenia() override;
    void poZaznaczeniuZMenu() override;

private:
    void utworzPaski();
    void utworzListe();

    QToolBar *MainTlb, *RaportTlb, *SzczegTlb;
    QAction *DodajTBtn, *UsunTBtn, *WyczyscTBtn, *PrzejscieRGTBtn;
    QAction *JrRaportTBtn, *WypisSkrTBtn, *WkzDlkWladBtn;
    QAction *BudTBtn;
    jet::Database *m_baza;
    bool m_zamkniete = false;
};

// The open parcel file and its search dialog, null while there are none.
extern TKarDzFrm *KarDzFrm;
extern TDodDlkFrm *DodDlkFrm;

} // namespace katarix::parcels
