#pragma once

#include "jet/StrHolder.h"

#include <QObject>
#include <QString>
#include <QVariant>

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

// The land register extract ("RaportJr.rtf"): for each registration unit its holders, parcels
// with class/use areas and the unit's total area, buildings, premises, the use/class summary
// and comments. Created once at start-up; its queries stay open after a report (they hold the
// units and the last unit's rows). The unit's detail queries keep one text for the whole report,
// the unit bound as a parameter, so that each unit only runs them.
class TWypisyDM : public QObject {
    Q_OBJECT
public:
    // baza: the register connection; tempQry: the main window's scratch query (counting
    // queries, comment texts); rtf1: the report component the extract is filled by.
    TWypisyDM(jet::Database &baza, jet::Query &tempQry, rtf::TRTFReport &rtf1, QObject *parent = nullptr);

    // jrIds: comma list of the units' id_jr; dlkMslinks: comma list of the selected parcels'
    // mslink, empty for all current parcels and buildings. Errors opening the units propagate.
    void WypisJr(const QString &jrIds, const QString &dlkMslinks);

    // The two request handlers installed on the report component.
    void DataSetRequest(const QString &name, jet::Dataset *&dataset);
    QVariant ValueRequest(const QString &name);

    // The rows of the document: the units and, per unit, its holders, parcels, buildings,
    // premises and use/class summary rows, counted with the report's own queries.
    qint64 PoliczWiersze(app::PostepRaportu &postep);

    // Components.
    jet::Query *JrQry;
    jet::Query *OsobyQry;
    jet::Query *DlkQry;
    jet::Query *BudQry;
    jet::Query *KlauzQry;
    jet::Query *ZestKlauzQry;
    jet::Query *LokQry;
    jet::StrHolder DlkSh;
    jet::StrHolder BudSh;

    // State between the component's requests.
    QString PowKlauzTxt;
    qint32 SumaPowDz = 0;
    QString KomentOsTxt;

private:
    void skrolujJr();
    QString klasouzytek();
    bool nieWszystkie(const char *countSql, const jet::Query &shown);
    static bool wszystkieDzialki();

    jet::Query &m_tempQry;
    rtf::TRTFReport &m_rtf1;
};

// The one extract module of the run, created at start-up (null before).
extern TWypisyDM *WypisyDM;

} // namespace katarix::reports
