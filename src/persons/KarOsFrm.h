#pragma once

#include "app/KartotekaFrm.h"

#include <QCollator>
#include <QList>
#include <QString>

class QAction;
class QToolBar;

namespace katarix::jet {
class Database;
class Dataset;
} // namespace katarix::jet

namespace katarix::persons {

class TDodFizFrm;
class TDodPrawFrm;
class TTWjrOsobyFrm;

// Identity of a person row: the person key (OSFIZ_ID or OSPRAW_ID) and its address key.
struct TIdentOs {
    double mslink = 0;
    double adres_id = 0;
};

// The kind of person a search looks for.
enum class RodzajOsoby { Fizyczna, Prawna };

// One row of the person list; owns its identity record.
class WierszOsoby : public widgets::WierszListy {
public:
    explicit WierszOsoby(const TIdentOs &ident) : Ident(ident) {}
    double klucz() const override { return Ident.mslink; }
    TIdentOs Ident;
};

// A selected person handed to the land summary.
struct OsobaZestawienia {
    QString osoba;
    QString adres;
    double mslink = 0;
    bool operator==(const OsobaZestawienia &) const = default;
};

// The person file: a working list of natural and legal persons assembled by the two searches,
// the selection for the registration units of one person and the land summary.
class TKarOsFrm : public app::TKartotekaFrm {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TKarOsFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TKarOsFrm() override;

    // Adds or refreshes one row per record of the open dataset (fields mslink, adres_id, pesreg,
    // adres, osoba) through DodajWierszOsoby in one batch and selects exactly those rows.
    void DodajOsobyZZapytania(jet::Dataset &qry);
    // Rows 0..n-1 are searched for mslink; the row found or appended is selected.
    void DodajWierszOsoby(const QString &osoba, const QString &adres, int n, const QString &pesreg, double adresId,
                          double mslink);
    // mslink of the selected rows in list order, "12,305000001"; captions joined by ",".
    QString ListaIdOsob() const;
    QString ListaNazwOsob() const;

    // Event handlers.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void DodajFizTBtnClick(RodzajOsoby rodzaj);
    void UsunTBtnClick();
    void WyczyscTBtnClick();
    void JrTBClick();
    void ZestGrOsTBtnClick();
    // Rows compared on a column as texts, in the user's locale and case-sensitive, ascending.
    int LvCompare(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna) const;
    void LvMouseMove(const QPoint &pos) override;

    WierszOsoby *wiersz(int index) const { return static_cast<WierszOsoby *>(Lv->wiersz(index)); }

    // The row whose caption the list's hint shows.
    QTreeWidgetItem *WierszPodKursorem = nullptr;
    TDodFizFrm *DodFizFrm;
    TDodPrawFrm *DodPrawFrm;
    TTWjrOsobyFrm *TWjrOsobyFrm; // hidden until asked for

    // Configuration file sections: the window, and the prefix of the toolbar sections.
    static QString sekcjaOkna();
    static QString prefiksPaskow();

protected:
    void FormClose() override;

private:
    void utworzPaski();
    void utworzListe();
    // The units of one person in the registration units window.
    virtual void pokazJednostkiOsoby(const QString &opisOsoby, double osobaId);
    // The land summary of the persons given, in this order.
    virtual void drukujZestawienie(const QList<OsobaZestawienia> &osoby);

    QToolBar *MainTlb, *ToolsTlb;
    QAction *DodajFizTBtn, *DodajPrawTBtn, *UsunTBtn, *WyczyscTBtn, *ZestGrOsTBtn, *JrTB;
    jet::Database *m_baza;
    bool m_zamkniety = false;
    QCollator m_porzadek; // the user's locale, case-sensitive
};

} // namespace katarix::persons
