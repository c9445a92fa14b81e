#pragma once

#include "app/LayoutStore.h"
#include "jet/StrHolder.h"
#include "parcels/WarunekSelekcji.h"

#include <QDialog>
#include <QHash>

#include <memory>

class QComboBox;
class QLineEdit;

namespace Ui {
class TDodDlkFrm;
}

namespace katarix::jet {
class Database;
class Dataset;
class Query;
} // namespace katarix::jet

namespace katarix::parcels {

// The parcel search ("Selekcja działek"): criteria of every kind joined into one query whose
// rows are handed to the parcel file. Modal; the criteria stay between showings. The controls
// are laid out in the Designer form DodDlkFrm.ui (a private ui); this class holds the behaviour.
class TDodDlkFrm : public QDialog {
    Q_OBJECT
public:
    // owner: the parcel file window; database: the register (default: the main window's).
    explicit TDodDlkFrm(QWidget *owner, jet::Database *database = nullptr);
    ~TDodDlkFrm() override;

    // The criteria as the controls hold them now.
    KryteriaDzialek Kryteria() const;
    StanHistorii Historia() const;
    QString WarunekHistorii() const;
    // The search query's text for the controls now (criteria and history macros filled);
    // empty when no criterion is filled.
    QString TekstZapytania() const;
    // Hands every row of the open result to the parcel file (KarDzFrm).
    void PrzekazWyniki(jet::Dataset &query);

    // Event handlers.
    void FormShow();
    void OtherCtlsChange();
    void GminaLcbxChange();
    void ObrebLcbxChange();
    void MiejscLcbxChange();
    void WydzialKwCbxChange();
    void BezAdrChbClick();
    bool Jr_Ark_LcbxMouseDown();
    void CzyscBtnClick();
    void DodajBtnClick();

    bool Zmieniono = false;

    // Queries and SQL texts.
    jet::Query *GminaQry, *ObrebQry, *ArkuszQry, *JrQry, *KwQry, *MiejscowoscQry, *UlicaQry, *MainQry;
    jet::StrHolder ObrebSh, MainSh;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzKomponenty();
    void polacz();
    QList<QLineEdit *> edycje() const; // the ten edits
    bool filtrKlawiszy(QLineEdit *edit, QKeyEvent *event);
    // Choosing the entry a list's change handler last acted on again changes nothing.
    void zapamietajWybor(const QComboBox *combo);
    bool wybranoInny(const QComboBox *combo) const;
    void naZmianeWyboru(QComboBox *combo, void (TDodDlkFrm::*handler)());

    jet::Database *m_baza;
    std::unique_ptr<Ui::TDodDlkFrm> ui;
    app::LayoutStore m_uklad;
    QHash<const QComboBox *, QString> m_wybory;
};

} // namespace katarix::parcels
