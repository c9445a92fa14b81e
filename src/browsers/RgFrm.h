#pragma once

#include "app/FormPlacement.h"
#include "app/MainFrm.h"
#include "widgets/DataGrid.h"

#include <QFrame>
#include <QMainWindow>
#include <QString>

class QAction;
class QComboBox;
class QLabel;
class QSplitter;
class QTabWidget;
class QToolBar;
class QWidget;

namespace katarix::jet {
class Database;
class Dataset;
class Query;
} // namespace katarix::jet

namespace katarix::browsers {

class TTWbudFrm;
class TTWlokFrm;
class TTWkomentFrm;

// A clickable comment marker: a framed panel with a small picture that is shown only while the
// described row has a comment. A click on the panel or the picture emits clicked(tag).
class KomentMarker : public QFrame {
    Q_OBJECT
public:
    KomentMarker(int tag, const QString &hint, const QString &imageHint, QWidget *parent = nullptr);
    QLabel *Img;
    int tag() const { return m_tag; }
signals:
    void clicked(int tag);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_tag;
};

// The land register window: commune, precinct and registration unit chosen at the right; the
// unit's holders, parcels and buildings in three grids; tool windows that follow the grids.
class TRgFrm : public QMainWindow, public app::OknoRejestru {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TRgFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TRgFrm() override;

    // Entry point of PokazRejestrGruntow.
    void PokazJr(double idJr) override;
    // The window's message box; kind 1..6 (see the implementation); returns the button pressed.
    int KomunikatOkna(int rodzaj, const QString &tekst, const QString &tytul, bool sygnal);

    // Navigation handlers.
    void GminaCbxChange();
    void ObrebCbxChange();
    void JrLcbxChange();
    void JrLcbxEnter();
    void DBGridsEnter(widgets::DataGrid *grid);
    void DBGridsDblClick(widgets::DataGrid *grid);
    void PrzedmPCtlChange();
    void KomentImgClick(int tag);
    void PokazKwJr();

    // Detail handlers.
    void DzialkiQryAfterOpen();
    void DzialkiQryAfterScroll();
    void BudQryAfterOpen();
    void BudQryAfterScroll();
    void OsobyQryAfterOpen();
    void OsobyQryAfterScroll();
    void LiczUdzialy();
    std::optional<QColor> OsobyGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;
    std::optional<QColor> DzialkiGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;
    std::optional<QColor> BudGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;
    void KlasouzTBtnClick();
    void KlasouzTWVisibleChanged();
    void BudTBtnClick();
    void LokTBtnClick();
    void KomentTBtnClick();
    void ZmianyTBtnClick();
    void WypisBtnClick();
    void WypisSkrTBtnClick();

    void OdswiezKlasouz(bool widoczne);
    void OdswiezBudynki(bool widoczne);
    void OdswiezLokale(bool widoczne);
    void OdswiezKoment(bool widoczne);
    void OdswiezZmiany(bool widoczne);

    // The unit lookup's key value (id_jr as text); setting a new value runs the unit change.
    QString JrKlucz() const { return m_jrKlucz; }
    void UstawKluczJr(const QString &klucz);

    // Components.
    QToolBar *MainTlbr;
    QAction *JrRaportTBtn, *WypisSkrTBtn, *KlasouzTBtn, *BudTBtn, *LokTBtn, *KomentTBtn, *ZmianyTBtn;
    QSplitter *RxSplitter1, *RxSplitter2;
    QWidget *Panel2, *Panel3, *Panel4, *Panel5;
    QComboBox *GminaCbx, *ObrebCbx, *JrLcbx;
    QLabel *JrKwPnl, *ArchiwumPnl;
    KomentMarker *KomentJrPnl, *KomentOsPnl, *KomentDlkBudPnl;
    QLabel *JrImg, *OsobyImg, *PrzedmiotImg;
    QLabel *UdzWlaPnl, *UdzUwPnl, *UdzInniPnl, *SumPowDzPnl;
    QTabWidget *PrzedmPCtl;
    QWidget *DlkTSh, *BudTSh;
    widgets::DataGrid *OsobyGrd, *DzialkiGrd, *BudGrd;
    QWidget *KlasouzTW;
    widgets::DataGrid *KlasouzGrd;
    app::FormPlacement FrmStrg;

    jet::Query *JrQry, *OsobyQry, *DzialkiQry, *BudQry, *KlauzQry;
    jet::Query *TempQry;
    jet::Dataset *ZmianyZrodlo = nullptr;
    jet::Dataset *KomentZrodlo = nullptr;
    int GminaId = 0;
    int ObrebId = 0;
    QWidget *ZmianyTW = nullptr; // the change history window comes with its own work
    TTWkomentFrm *KomentTW;
    TTWbudFrm *BudTW;
    TTWlokFrm *LokTW;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzKomponenty();
    void utworzPasek();
    void utworzKlasouz();
    void utworzPrzechowywanie();
    void wypelnijJrLcbx();
    void ustawPodpisyZmianKomentarza(const QString &zmiany, const QString &koment);
    void wykonajTempQry(const QString &sql);
    template <typename F> void akcja(F &&f);
    void FormClose();

    jet::Database *m_baza;
    QString m_jrKlucz;
    bool m_ukladWczytany = false;
    bool m_zamkniety = false;
    bool m_klasouzUmieszczone = false;
};

// The open land register window, null while there is none.
extern TRgFrm *RgFrm;

} // namespace katarix::browsers
