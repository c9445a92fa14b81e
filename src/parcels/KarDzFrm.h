#pragma once

#include "app/LayoutStore.h"

#include <QMainWindow>
#include <QString>
#include <QTreeWidgetItem>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QTreeWidget;

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

// A row of the parcel list: its caption and sub-items are the columns' texts.
class TDlkItem : public QTreeWidgetItem {
public:
    TIdentDlk Ident;
};

// Comparison of two rows of the list for column kolumna: numbers where both texts are numbers,
// parcel numbers (numerator, then denominator) for column 0, else the locale's text order.
// Negative, zero or positive; inverted when descending.
int PorownajWiersze(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna, bool rosnaco);

// The parcel file: a working list of parcels gathered by the parcel search, with sums, sorting,
// the jump to the land register, three reports and the buildings on the selected parcel.
class TKarDzFrm : public QMainWindow {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TKarDzFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TKarDzFrm() override;

    // Adds a row, or refreshes the first of the first n rows with the same mslink; selects it.
    void DodajDzialke(const QString &numer, const QString &arkusz, double mslink, double dzialka_id, double arkusz_id,
                      double id_jr, const QString &jr, qint32 obreb_id, const QString &obreb, const QString &pow_opis,
                      double zmiana_id, double zmiana_kas_id, int n);
    // A batch of DodajDzialke calls: the selection is cleared first, painting suspended and the
    // counts and sums shown once at the end (PokazSumy(true)), also when the batch fails.
    void RozpocznijWsad();
    void ZakonczWsad();

    void PokazSumy(bool wszystkie);
    void PokazIlosc(const QString &tekst);
    QString ListaMslink() const;
    QString ListaIdJr() const;
    void OdswiezBudynki(bool widoczne);
    void BudynkiZamkniete();

    // Event handlers.
    void FormClose();
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void DodajSBClick();
    void ClearSBClick();
    void UsunSBClick();
    void PrzejscieRGTBtnClick();
    void JrRaportTBtnClick();
    void WypisSkrTBtnClick();
    void WkzDlkWladBtnClick();
    void BudTBtnClick();
    void ZaznaczWszystkoMiClick(int tag);
    void LvSelectItem();
    void LvColumnClick(int kolumna);
    void LvKeyUp(int key);
    void LvMouseUp();

    jet::Database *baza() const { return m_baza; }

    // Components.
    QToolBar *MainTlb, *RaportTlb, *SzczegTlb;
    QAction *DodajTBtn, *UsunTBtn, *WyczyscTBtn, *PrzejscieRGTBtn;
    QAction *JrRaportTBtn, *WypisSkrTBtn, *WkzDlkWladBtn;
    QAction *BudTBtn;
    QTreeWidget *Lv;
    QMenu *ListViewPmn;
    QAction *ZaznaczWszystkoMi, *OdznaczWszystkoMi, *OdwrocZaznaczenieMi;
    QStatusBar *StatusBar;
    QLabel *StatusPanel0, *StatusPanel1;
    browsers::TTWbudFrm *BudTW;

    // State.
    int KolumnaSortowania = 0;
    bool Rosnaco = false;
    double PowZaznaczonych = 0;
    double PowWszystkich = 0;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzKomponenty();
    QAction *przycisk(QToolBar *pasek, const char *name, const QString &glyph, const QString &hint);
    TDlkItem *wiersz(int index) const;
    QList<TDlkItem *> zaznaczone() const; // in list order
    void pokazLiczby();
    int liczbaZaznaczonych() const;
    void usunWiersze(bool wszystkie);

    jet::Database *m_baza;
    app::LayoutStore m_uklad;
    bool m_zamkniete = false;
    // The batch under way: the rows found, the first of the earlier rows by mslink.
    int m_wsad = 0;
    QList<QTreeWidgetItem *> m_wsadZaznaczone;
    QHash<double, TDlkItem *> m_wsadIstniejace;
    int m_wsadN = -1;
};

// The open parcel file and its search dialog, null while there are none.
extern TKarDzFrm *KarDzFrm;
extern TDodDlkFrm *DodDlkFrm;

} // namespace katarix::parcels
