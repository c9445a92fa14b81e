#pragma once

#include "app/IniSave.h"

#include <QCollator>
#include <QItemSelectionModel>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QTreeWidget>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace katarix::jet {
class Database;
class Dataset;
} // namespace katarix::jet

namespace katarix::persons {

class TDodFizFrm;
class TDodPrawFrm;
class TKarOsFrm;
class TTWjrOsobyFrm;

// Identity of a person row: the person key (OSFIZ_ID or OSPRAW_ID) and its address key.
struct TIdentOs {
    double mslink = 0;
    double adres_id = 0;
};

// One row of the person list; owns its identity record.
class WierszOsoby : public QTreeWidgetItem {
public:
    WierszOsoby(TKarOsFrm *kartoteka, const TIdentOs &ident);
    TIdentOs Ident;
    bool operator<(const QTreeWidgetItem &other) const override;

private:
    TKarOsFrm *m_kartoteka;
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
class TKarOsFrm : public QMainWindow {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TKarOsFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TKarOsFrm() override;

    // Adds or refreshes one row per record of the open dataset (fields mslink, adres_id, pesreg,
    // adres, osoba) and selects exactly those rows.
    void DodajOsobyZZapytania(jet::Dataset &qry);
    // Rows 0..n-1 are searched for mslink; the row found or appended is selected.
    void DodajWierszOsoby(const QString &osoba, const QString &adres, int n, const QString &pesreg, double adresId,
                          double mslink);
    void PokazIlosc(const QString &tekst);
    // mslink of the selected rows in list order, "12,305000001"; captions joined by ",".
    QString ListaIdOsob() const;
    QString ListaNazwOsob() const;

    // Event handlers.
    void FormClose();
    void FormKeyDown(int key);
    void DodajFizTBtnClick(int tag);
    void UsunTBtnClick();
    void WyczyscTBtnClick();
    void JrTBClick();
    void ZestGrOsTBtnClick();
    void ZaznaczWszystkoMiClick(int tag);
    void LvSelectItem();
    void LvColumnClick(int column);
    int LvCompare(const QTreeWidgetItem *a, const QTreeWidgetItem *b) const;
    void LvMouseMove(const QPoint &pos);

    WierszOsoby *wiersz(int index) const;
    int iloscWierszy() const { return Lv->topLevelItemCount(); }

    // Components.
    QToolBar *MainTlb, *ToolsTlb;
    QAction *DodajFizTBtn, *DodajPrawTBtn, *UsunTBtn, *WyczyscTBtn, *ZestGrOsTBtn, *JrTB;
    QTreeWidget *Lv;
    QMenu *ListViewPmn;
    QAction *ZaznaczWszystkoMi, *OdznaczWszystkoMi, *OdwrocZaznaczenieMi;
    QLabel *StatusPanel0, *StatusPanel1;

    int KolumnaSortowania = -1;
    bool Rosnaco = true;
    QTreeWidgetItem *WierszPodKursorem = nullptr;
    TDodFizFrm *DodFizFrm;
    TDodPrawFrm *DodPrawFrm;
    TTWjrOsobyFrm *TWjrOsobyFrm; // hidden until asked for

    // Configuration file sections: the window, and the prefix of the toolbar sections.
    static QString sekcjaOkna();
    static QString prefiksPaskow();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzKomponenty();
    // The selected rows in list order.
    QList<int> numeryZaznaczonych() const;
    QList<WierszOsoby *> zaznaczone() const;
    void wypelnijWiersz(WierszOsoby *row, const QString &osoba, const QString &adres, const QString &pesreg,
                        double adresId, double mslink);
    // Applies tryb to the rows given by number (any order).
    void zaznaczWiersze(QList<int> wiersze, QItemSelectionModel::SelectionFlags tryb);
    // The units of one person in the registration units window.
    virtual void pokazJednostkiOsoby(const QString &opisOsoby, double osobaId);
    // The land summary of the persons given, in this order.
    virtual void drukujZestawienie(const QList<OsobaZestawienia> &osoby);

    app::TIniSave IniSave;
    QString m_plikIni;
    jet::Database *m_baza;
    bool m_wsad = false; // a batch change under way: counts are shown once at its end
    bool m_zamkniety = false;
    QCollator m_porzadek; // the user's locale, case-sensitive
};

} // namespace katarix::persons
