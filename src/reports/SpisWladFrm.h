#pragma once

#include "jet/StrHolder.h"
#include "jet/TempTable.h"

#include <QDialog>
#include <QString>
#include <QVariant>
#include <memory>

class QCheckBox;
class QComboBox;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace Ui {
class TSpisWladFrm;
}

namespace katarix::jet {
class Database;
class Dataset;
class Query;
} // namespace katarix::jet

namespace katarix::rtf {
class TRTFReport;
}

namespace katarix::app {
class PostepRaportu;
}

namespace katarix::reports {

// The alphabetical list of holders ("SpisWlad.rtf"): the persons holding land in the ticked
// precincts under the ticked forms of holding, one entry per person with the parcels held.
// A modal dialog; the layout is the Designer form SpisWladFrm.ui.
// The list query is read forward, one row at a time, and grouped into the entries of WynikTbl,
// a table in the database's temporary storage, so that neither the list's rows nor its entries
// are held in memory; the report reads the entries through WynikMD, forward, in the chosen order.
class TSpisWladFrm : public QDialog {
    Q_OBJECT
public:
    // Without arguments the window works on the main window's connection, scratch query and
    // report component.
    explicit TSpisWladFrm(QWidget *parent = nullptr, jet::Database *baza = nullptr, jet::Query *tempQry = nullptr,
                          rtf::TRTFReport *rtf1 = nullptr);
    ~TSpisWladFrm() override;

    // Size of the field Dzialki: longer parcel texts end in "... I INNE".
    static constexpr int RozmiarDzialek = 5000;

    // The list query for the current choices and IdObrebow/IdFormWlad.
    QString BudujSql();
    QString WarunekMiejsc() const;
    // The criteria text of the document header ("kryteria").
    QString Kryteria() const;
    // Groups the rows of the open MainQry into WynikTbl, one entry per run of one person id;
    // tells postep the rows read when given.
    void BudujWynik(app::PostepRaportu *postep = nullptr);
    // Builds the entries (the list query, the grouping) and opens WynikMD over them in the chosen
    // order; returns the number of entries, the rows of the document.
    qint64 PrzygotujWynik(app::PostepRaportu &postep);

    void DataSetRequest(const QString &name, jet::Dataset *&dataset);
    QVariant ValueRequest(const QString &name);

    // Event handlers.
    void FormCreate();
    void FormResize();
    void JEwidCbxChange();
    void ObrebClbClickCheck();
    void ObrebClbExit(QListWidget *lista);
    void ZazWszObrBtnClick(QPushButton *przycisk);
    void ZazWszWlBtnClick(QPushButton *przycisk);
    void ZaznWszMscBtnClick(QPushButton *przycisk);
    void OsFizChbClick();
    void OsMiejscRBClick();
    void OkBtnClick();
    void AnulujBtnClick();

    // Components (owned by the form).
    QComboBox *JEwidCbx;
    QListWidget *ObrebClb;
    QPushButton *ZazWszObrBtn, *OdwZazObrBtn, *OdzWszObrBtn;
    QCheckBox *OsFizChb, *OsPrawChb, *DzialkiChb;
    QListWidget *FwladClb;
    QPushButton *ZazWszWlBtn, *OdwZazWlBtn, *OdzWszWlBtn;
    QRadioButton *OsWszystkieRB, *OsZamiejscRB, *OsMiejscRB;
    QListWidget *MiejscClb;
    QPushButton *ZaznWszMscBtn, *OdwZazMscBtn, *OdzWszMscBtn;
    QRadioButton *SortNazwiskoRB, *SortAdresRB;
    QPushButton *OkBtn, *AnulujBtn;
    QProgressBar *ProgBar;
    QWidget *LewyPnl, *SrodekPnl, *PrawyPnl;
    jet::Query *MainQry;
    jet::StrHolder OsFizSh, OsPrawSh;
    std::unique_ptr<jet::TempTable> WynikTbl; // the entries of the last list, until the next "Wykonaj" or the window's end
    jet::Query *WynikMD;      // the entries, forward-only, in the order of the document

    // State rebuilt by each "Wykonaj".
    QString IdObrebow, NazwyObrebow, IdFormWlad, NazwyFormWlad;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wypelnijTempQry(const QString &sql);
    void WypelnijObreby();
    void polacz();

    std::unique_ptr<Ui::TSpisWladFrm> m_ui;
    jet::Query *m_tempQry;
    rtf::TRTFReport *m_rtf1;
};

// The open window, null while there is none.
extern TSpisWladFrm *SpisWladFrm;

} // namespace katarix::reports
