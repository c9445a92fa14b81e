#pragma once

#include "app/LayoutStore.h"
#include "app/RejestrOkien.h"
#include "widgets/DataGrid.h"

#include <QFrame>
#include <QMainWindow>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QSplitter;
class QToolBar;
class QWidget;

namespace katarix::jet {
class Database;
class Dataset;
class Query;
} // namespace katarix::jet

namespace katarix::browsers {

class TToolWindow;
class TTWkomentFrm;
class TTWzmianyFrm;

// What a comment marker describes; the values are the markers' tags.
enum class ZnacznikKomentarza { Jednostka = 1, Osoba = 2, Przedmiot = 3 };

// A clickable comment marker: a framed panel with a small picture that is shown only while the
// described row has a comment. A click on the panel or the picture emits clicked(tag).
class KomentMarker : public QFrame {
    Q_OBJECT
public:
    KomentMarker(ZnacznikKomentarza tag, const QString &hint, const QString &imageHint, QWidget *parent = nullptr);
    QLabel *Img;
    ZnacznikKomentarza tag() const { return m_tag; }
signals:
    void clicked(ZnacznikKomentarza tag);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ZnacznikKomentarza m_tag;
};

// The kinds of a register window's own message box: its icon and buttons.
enum class RodzajKomunikatu {
    Ostrzezenie = 1,             // exclamation, OK
    OstrzezenieTakNie = 2,       // exclamation, Yes/No
    Informacja = 3,              // information, OK
    Blad = 4,                    // error, OK
    OstrzezenieTakNieAnuluj = 5, // exclamation, Yes/No/Cancel
    Pytanie = 6,                 // question, Yes/No
};

// What tells one register window from the other: texts, SQL and layout sizes.
struct OpisRejestru {
    QString nazwa;          // object name; also the owner name in the tool windows' sections
    QString tytul;          // window caption
    QString ikona;          // resource path of the window icon
    QString sekcja;         // section of the window's layout storage
    QString prefiksZmian;   // prefix of the change history window's section
    const char *jrSql;      // units of a precinct (ObrebID)
    const char *osobySql;   // holders of a unit (IdJr)
    const char *obrebJrSql; // precinct and commune of a unit, followed by id_jr
    QString bladTworzenia;  // caption of the creation error
    QString bladSzukania;   // caption of "unit not found"
    QSize rozmiar;          // client area at start
    bool grupaOsob;         // the holders grid shows the register group
};

// The common part of the land and premises register windows: commune, precinct and
// registration unit chosen at the right, the unit's holders with their share sums above, the
// unit's objects below (given by the subclass), a bottom toolbar, and the comment and change
// history tool windows following the focused list.
//
// A subclass builds its queries and lower part in its constructor, registers its object grids
// with dodajSiatke(), sets the two sources and calls zakonczTworzenie().
class TRejestrFrm : public QMainWindow, public app::OknoRejestru {
    Q_OBJECT
public:
    ~TRejestrFrm() override;

    // Entry point of PokazRejestrGruntow / PokazRejestrLokali.
    void PokazJr(double idJr) override;
    // The window's message box (a kind of no value above is an exclamation with OK); an empty
    // caption is the application title; returns the button pressed. Afterwards the focus leaves
    // the control that had it and comes back, so that its enter handling runs again.
    int KomunikatOkna(RodzajKomunikatu rodzaj, const QString &tekst, const QString &tytul, bool sygnal);

    // Navigation handlers.
    void GminaCbxChange();
    void ObrebCbxChange();
    void JrLcbxChange();
    void JrLcbxEnter();
    void DBGridsEnter(widgets::DataGrid *grid);
    void DBGridsDblClick(widgets::DataGrid *grid);
    void KomentImgClick(ZnacznikKomentarza tag);
    void PokazKwJr();

    // Holders and the two tool windows every register window has.
    void OsobyQryAfterOpen();
    void OsobyQryAfterScroll();
    void LiczUdzialy();
    std::optional<QColor> OsobyGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;
    void KomentTBtnClick();
    void ZmianyTBtnClick();
    void OdswiezKoment(bool widoczne);
    void OdswiezZmiany(bool widoczne);

    // The unit lookup's key value (id_jr as text); setting a new value runs the unit change.
    QString JrKlucz() const { return m_jrKlucz; }
    void UstawKluczJr(const QString &klucz);

    // Components.
    QToolBar *MainTlbr;
    QAction *KomentTBtn = nullptr, *ZmianyTBtn = nullptr;
    QSplitter *RxSplitter1, *RxSplitter2;
    QWidget *Panel2, *Panel3, *Panel4, *Panel5;
    QComboBox *GminaCbx, *ObrebCbx, *JrLcbx;
    QLabel *JrKwPnl, *ArchiwumPnl;
    KomentMarker *KomentJrPnl, *KomentOsPnl, *KomentDlkBudPnl;
    QLabel *JrImg, *OsobyImg, *PrzedmiotImg;
    QLabel *UdzWlaPnl, *UdzUwPnl, *UdzInniPnl;
    widgets::DataGrid *OsobyGrd;
    app::LayoutStore FrmStrg;

    jet::Query *JrQry, *OsobyQry;
    jet::Query *TempQry;
    jet::Dataset *ZmianyZrodlo = nullptr;
    jet::Dataset *KomentZrodlo = nullptr;
    int GminaId = 0;
    int ObrebId = 0;
    TTWzmianyFrm *ZmianyTW = nullptr;
    TTWkomentFrm *KomentTW = nullptr;

protected:
    TRejestrFrm(const OpisRejestru &opis, QWidget *parent, jet::Database *database);

    // Opens the unit's object queries (after its holders) for the unit key.
    virtual void otworzPrzedmioty(const QVariant &klucz) = 0;

    // A grid whose entry makes its query the source of the comment and change windows.
    // aktywna tells whether the grid is the one shown (its page is active); null: always.
    void dodajSiatke(widgets::DataGrid *grid, jet::Query *query, const QString &podpisZmian,
                     const QString &podpisKomentarza, std::function<bool()> aktywna = {});
    // The last steps of creation: the comment and change buttons and windows and the communes.
    void zakonczTworzenie();

    jet::Query *utworzZapytanie(const char *name, const char *text);
    QAction *przycisk(const char *name, const QString &glyph, const QColor &color, const QString &hint, bool toggle);
    // After-scroll of an object query: the change and comment windows when it is their source,
    // then the object's comment marker.
    void odswiezPoPrzewinieciu(jet::Query *query);
    // The object comment marker for the current row of the query of a registered grid.
    void pokazObrazPrzedmiotu(jet::Query *query);
    // Focus moves to the list; an inactive window takes no focus, so its enter handling runs here.
    static void ustawFokus(QWidget *widget, const std::function<void()> &wejscie);
    jet::Database *baza() const { return m_baza; }

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Siatka {
        widgets::DataGrid *grid;
        jet::Query *query;
        QString podpisZmian, podpisKomentarza;
        std::function<bool()> aktywna;
    };
    const Siatka *siatka(const widgets::DataGrid *grid) const;
    const Siatka *siatka(const jet::Dataset *query) const;
    void utworzZapytania();
    void utworzPasekNarzedzi();
    void utworzPanele();
    void utworzPanelOsob();
    void utworzPanelNawigacji();
    void polaczNawigacje();
    void utworzPrzechowywanie();
    void wypelnijJrLcbx();
    void wykonajTempQry(const QString &sql);
    void FormClose();

    OpisRejestru m_opis;
    jet::Database *m_baza;
    std::vector<Siatka> m_siatki;
    QString m_jrKlucz;
    bool m_ukladWczytany = false;
    bool m_zamkniety = false;
};

// A framed text panel of a register window.
QLabel *panelTekstowy(const QString &name, const QString &caption, QWidget *parent);
// Cell colour of a comment column holding "!" (pure red), otherwise none.
std::optional<QColor> kolorKomentarza(const widgets::DataGrid::CellParams &cell);
// The comment column rule, then the highlight of a selected cell.
std::optional<QColor> kolorKomentarzaLubZaznaczenia(const widgets::DataGrid::CellParams &cell);

} // namespace katarix::browsers
