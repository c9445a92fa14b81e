#pragma once

#include "browsers/RejestrFrm.h"

class QTabWidget;

namespace katarix::browsers {

class TTWbudFrm;
class TTWlokFrm;

// The land register window: the unit's parcels and buildings on two pages below its holders,
// the classes-and-uses, buildings and premises tool windows and the two extracts.
class TRgFrm : public TRejestrFrm {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TRgFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TRgFrm() override;

    void PrzedmPCtlChange();
    void DzialkiQryAfterOpen();
    void DzialkiQryAfterScroll();
    void BudQryAfterOpen();
    void BudQryAfterScroll();
    std::optional<QColor> DzialkiGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;
    std::optional<QColor> BudGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;
    void KlasouzTBtnClick();
    void KlasouzTWVisibleChanged();
    void BudTBtnClick();
    void LokTBtnClick();
    void WypisBtnClick();
    void WypisSkrTBtnClick();

    void OdswiezKlasouz(bool widoczne);
    void OdswiezBudynki(bool widoczne);
    void OdswiezLokale(bool widoczne);

    // Components.
    QAction *JrRaportTBtn, *WypisSkrTBtn, *KlasouzTBtn, *BudTBtn, *LokTBtn;
    QLabel *SumPowDzPnl;
    QTabWidget *PrzedmPCtl;
    QWidget *DlkTSh, *BudTSh;
    widgets::DataGrid *DzialkiGrd, *BudGrd;
    QWidget *KlasouzTW;
    widgets::DataGrid *KlasouzGrd;

    jet::Query *DzialkiQry, *BudQry, *KlauzQry;
    TTWbudFrm *BudTW;
    TTWlokFrm *LokTW;

protected:
    void otworzPrzedmioty(const QVariant &klucz) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzStrony();
    void utworzPrzyciski();
    void utworzKlasouz();

    bool m_klasouzUmieszczone = false;
};

} // namespace katarix::browsers
