#pragma once

#include "persons/DodOsobyFrm.h"
#include "ui_DodFizFrm.h"

namespace katarix::persons {

// The natural-person search: surname, names, PESEL, NIP and address criteria joined by AND or OR;
// the persons found go to the person file.
class TDodFizFrm : public TDodOsobyFrm, public Ui::DodFizFrm {
    Q_OBJECT
public:
    TDodFizFrm(TKarOsFrm *kartoteka, jet::Database *baza);

    QString Warunki() const override;

    // Event handlers.
    void FormShow() override;
    // A character typed while a name list has the focus: small Polish letters become capitals.
    QString FormKeyPress(const QString &tekst) const;
    void NazwiskoLcbxChange() { oznaczZmiane(); }
    void CzyscBtnClick() override;

    jet::Query *NazwiskoQry, *ImieQry;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<widgets::LookupCombo *> listyNazw() const;
};

} // namespace katarix::persons
