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

// The short extract ("WypisRgSkrSort.rtf"): the selected parcels by precinct and number, each
// with its unit, map sheet, area, land book, location and comment and the holders of the parcel,
// a page header every OkresNaglowka parcels and the total area. Created for one report.
class TWypisSkrRgDM : public QObject {
    Q_OBJECT
public:
    // baza: the register connection; tempQry: the scratch query for comment texts; rtf1: the
    // report component.
    TWypisSkrRgDM(jet::Database &baza, jet::Query &tempQry, rtf::TRTFReport &rtf1, QObject *parent = nullptr);

    // dlkMslinks: comma list of the selected parcels' kdzialka.mslink; empty does nothing.
    // Errors before the report runs are shown with the caption "Błąd w funkcji 'WypisSort'".
    void WypisSort(const QString &dlkMslinks);

    void DataSetRequest(const QString &name, jet::Dataset *&dataset);
    QVariant ValueRequest(const QString &name);

    // The rows of the document: the parcels and the holders of each, counted with the report's
    // own queries.
    qint64 PoliczWiersze(app::PostepRaportu &postep);

    // Components.
    jet::Query *DlkSortQry;
    jet::StrHolder DlkSortSh;
    jet::Query *OsobyQry;

    // State of one report.
    double SumaPow = 0;            // hectares
    qint32 OkresNaglowka = 10;     // a page header every this many parcels
    qint32 LicznikNaglowka = 10;
    QString KomentOsTxt;

private:
    void ustawParametryOsob(int wiersz);

    jet::Query &m_tempQry;
    rtf::TRTFReport &m_rtf1;
};

} // namespace katarix::reports
