#pragma once

#include "jet/StrHolder.h"

#include <QObject>
#include <QString>

namespace katarix::jet {
class Database;
class Query;
} // namespace katarix::jet

namespace katarix::reports {

// The list of parcels with holders: every class/use row of each selected current parcel with
// every current holder of its unit, exported to a CSV file the user chooses. Created for one
// report.
class TRptDM : public QObject {
    Q_OBJECT
public:
    // katalog: the save dialog's initial folder (empty: the default folder of documents, Katalogi.wyniki of the main window).
    explicit TRptDM(jet::Database &baza, QObject *parent = nullptr, const QString &katalog = QString());

    // dlkMslinks: comma list of kdzialka.mslink. Errors are shown with the caption
    // "Błąd w funkcji 'WykazDlkWlad'"; success only when a file was written.
    void WykazDlkWlad(const QString &dlkMslinks);

    // Components.
    jet::StrHolder StrHld;
    jet::Query *DlkWladQry;

private:
    QString m_katalog;
};

} // namespace katarix::reports
