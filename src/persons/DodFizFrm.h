#pragma once

#include "persons/DodOsobyFrm.h"

#include <QList>

#include <memory>

namespace Ui {
class DodFizFrm;
}

namespace katarix::widgets {
class LookupCombo;
}

namespace katarix::persons {

// The natural-person search: surname, names, PESEL, NIP and address criteria joined by AND or OR;
// the persons found go to the person file.
class TDodFizFrm : public TDodOsobyFrm {
    Q_OBJECT
public:
    TDodFizFrm(TKarOsFrm *kartoteka, jet::Database *baza);
    ~TDodFizFrm() override;

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
    std::unique_ptr<Ui::DodFizFrm> ui;
    QList<widgets::LookupCombo *> listyNazw() const;
};

} // namespace katarix::persons
