#pragma once

#include "persons/DodOsobyFrm.h"

#include <QList>

#include <memory>

namespace Ui {
class DodPrawFrm;
}

namespace katarix::widgets {
class LookupCombo;
}

namespace katarix::persons {

// The legal-person search: name (chosen from the list or typed as a pattern), abbreviation, REGON,
// NIP and address criteria joined by AND or OR; the persons found go to the person file.
class TDodPrawFrm : public TDodOsobyFrm {
    Q_OBJECT
public:
    TDodPrawFrm(TKarOsFrm *kartoteka, jet::Database *baza);
    ~TDodPrawFrm() override;

    QString Warunki() const override;
    // The key of the name chosen from the list; empty once the text no longer is that entry's.
    QString KluczNazwy() const { return m_kluczNazwy; }

    // Event handlers.
    void FormShow() override;
    void NazwaLkeChange() { oznaczZmiane(); }
    void CzyscBtnClick() override;

    jet::Query *NazwyQry;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::DodPrawFrm> ui;
    void wybierzNazwe(int indeks);
    void nazwaWpisana(const QString &tekst);

    QString m_kluczNazwy;
    QString m_wybranaNazwa;
};

} // namespace katarix::persons
