#pragma once

#include "jet/StrHolder.h"

#include <QObject>
#include <QString>
#include <QVariant>

namespace katarix::jet {
class Database;
class Dataset;
class MemTable;
class Query;
} // namespace katarix::jet

namespace katarix::rtf {
class TRTFReport;
}

namespace katarix::app {
class PostepRaportu;
}

namespace katarix::reports {

// The land summary of persons ("ZestGrJr.rtf"): for each listed person the land registration
// units in which the person holds (directly, through a marriage or a group), with form of
// holding and share, the unit's areas by use and class and the part of each that the share
// gives, with both sums per unit. Created for one summary.
class TZestGrOsDM : public QObject {
    Q_OBJECT
public:
    // baza: the register connection; rtf1: the report component the summary is filled by.
    TZestGrOsDM(jet::Database &baza, rtf::TRTFReport &rtf1, QObject *parent = nullptr);

    void WyczyscListe();
    void DodajOsobe(const QString &osoba, const QString &adres, double mslink);
    // Runs the report over the persons listed; its errors are shown by the report runner.
    void DrukujZestawienie();

    void DataSetRequest(const QString &name, jet::Dataset *&dataset);
    QVariant ValueRequest(const QString &name);

    // The rows of the document: the persons, their units and each unit's use/class rows,
    // counted with the report's own queries.
    qint64 PoliczWiersze(app::PostepRaportu &postep);

    // Components.
    jet::MemTable *ListaOsMD;
    jet::StrHolder ListaJrSh;
    jet::Query *ListaJrQry;
    jet::Query *GruntyQry;

    // Sums of the current unit, hectares.
    double SumaPowGr = 0;
    double SumaPowUdz = 0;

private:
    double biezacaPow() const;
    void otworzJednostki(double osobaId);

    rtf::TRTFReport &m_rtf1;
};

} // namespace katarix::reports
