#pragma once

#include "browsers/RejestrFrm.h"

namespace katarix::browsers {

// The premises register window: the registration units of the premises register, with the
// unit's holders above and its premises below.
class TRlFrm : public TRejestrFrm {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection).
    explicit TRlFrm(QWidget *parent = nullptr, jet::Database *database = nullptr);
    ~TRlFrm() override;

    void LokQryAfterOpen();
    void LokQryAfterScroll();
    std::optional<QColor> LokGrdGetCellParams(const widgets::DataGrid::CellParams &cell) const;

    // Components.
    QLabel *IleLokPnl;
    widgets::DataGrid *LokGrd;
    jet::Query *LokQry;

protected:
    void otworzPrzedmioty(const QVariant &klucz) override;
};

} // namespace katarix::browsers
