#include "reports/ZestGrOs.h"

#include "app/KursorKlepsydry.h"
#include "app/PostepRaportu.h"
#include "app/RaportRunner.h"
#include "jet/MemTable.h"
#include "jet/NumberText.h"
#include "jet/Query.h"
#include "register/SqlTemplates.h"
#include "register/sql/ZestGrOsQueries.h"
#include "reports/ReportValues.h"
#include "rtf/RTFReport.h"

namespace katarix::reports {

namespace sql = reg::sql::zestgros;

TZestGrOsDM::TZestGrOsDM(jet::Database &baza, rtf::TRTFReport &rtf1, QObject *parent)
    : QObject(parent),
      ListaOsMD(new jet::MemTable(this)),
      ListaJrSh(reg::holderFor(sql::ListaJrSh)),
      ListaJrQry(new jet::Query(this)),
      GruntyQry(new jet::Query(this)),
      m_rtf1(rtf1)
{
    setObjectName(QStringLiteral("ZestGrOsDM"));
    ListaOsMD->setObjectName(QStringLiteral("ListaOsMD"));
    ListaOsMD->addField(QStringLiteral("osoba_id"), jet::FieldType::Float, 0, true);
    ListaOsMD->addField(QStringLiteral("osoba"), jet::FieldType::Text, 255, true);
    ListaOsMD->addField(QStringLiteral("adres"), jet::FieldType::Text, 255, true);
    ListaJrQry->setObjectName(QStringLiteral("ListaJrQry"));
    ListaJrQry->setDatabase(&baza);
    GruntyQry->setObjectName(QStringLiteral("GruntyQry"));
    GruntyQry->setDatabase(&baza);
    GruntyQry->setSql(QString::fromUtf8(sql::GruntyQry));
}

void TZestGrOsDM::WyczyscListe()
{
    ListaOsMD->emptyTable();
    ListaOsMD->close();
}

void TZestGrOsDM::DodajOsobe(const QString &osoba, const QString &adres, double mslink)
{
    ListaOsMD->open();
    ListaOsMD->append({mslink, osoba, adres});
}

void TZestGrOsDM::DrukujZestawienie()
{
    ListaJrQry->close();
    GruntyQry->close();
    ListaOsMD->open();
    m_rtf1.OnDataSetRequest = [this](const QString &name, jet::Dataset *&dataset) { DataSetRequest(name, dataset); };
    m_rtf1.OnValueRequest = [this](const QString &name) { return ValueRequest(name); };
    app::KursorKlepsydry kursor;
    app::UruchomRaport(m_rtf1, QStringLiteral("ZestGrJr.rtf"),
                       [this](app::PostepRaportu &postep) { return PoliczWiersze(postep); });
}

void TZestGrOsDM::otworzJednostki(double osobaId)
{
    ListaJrSh.setMacro(QStringLiteral("OSOBAID"), jet::sqlNumber(osobaId));
    ListaJrQry->close();
    ListaJrQry->setSql(ListaJrSh.expandedText());
    ListaJrQry->open();
}

qint64 TZestGrOsDM::PoliczWiersze(app::PostepRaportu &postep)
{
    const int osoby = ListaOsMD->recordCount();
    const int poleOsoby = ListaOsMD->fieldIndex(QStringLiteral("osoba_id"));
    qint64 wiersze = osoby;
    for (int i = 0; i < osoby; ++i) {
        otworzJednostki(jet::Dataset::valueToFloat(ListaOsMD->valueAt(i, poleOsoby)));
        const int poleJr = ListaJrQry->fieldIndex(QStringLiteral("id_jr"));
        wiersze += ListaJrQry->recordCount();
        for (int j = 0; j < ListaJrQry->recordCount(); ++j) {
            GruntyQry->setParameter(QStringLiteral("IdJr"), jet::Dataset::valueToFloat(ListaJrQry->valueAt(j, poleJr)),
                                    jet::FieldType::Float);
            wiersze += GruntyQry->countRows();
        }
        postep.krok("Liczenie wierszy dokumentu: osoba %1 z %2", i + 1, osoby);
    }
    ListaJrQry->close();
    return wiersze;
}

void TZestGrOsDM::DataSetRequest(const QString &name, jet::Dataset *&dataset)
{
    if (name == QLatin1String("listaosmd"))
        dataset = ListaOsMD;
    else if (name == QLatin1String("listajrqry"))
        dataset = ListaJrQry;
    else if (name == QLatin1String("gruntyqry"))
        dataset = GruntyQry;
}

// Pow is the area as text with four decimals in the regional form; NULL (a unit's parcels
// without contours) reads as 0.
double TZestGrOsDM::biezacaPow() const
{
    return GruntyQry->asFloat(QStringLiteral("Pow"));
}

QVariant TZestGrOsDM::ValueRequest(const QString &name)
{
    if (name == QLatin1String("current_date"))
        return biezacaData();
    if (name == QLatin1String("skroluj")) {
        otworzJednostki(ListaOsMD->asFloat(QStringLiteral("osoba_id")));
        return QString();
    }
    if (name == QLatin1String("skroluj1")) {
        SumaPowGr = 0;
        SumaPowUdz = 0;
        GruntyQry->close();
        GruntyQry->setParameter(QStringLiteral("IdJr"), ListaJrQry->asFloat(QStringLiteral("id_jr")),
                                jet::FieldType::Float);
        GruntyQry->open();
        return QString();
    }
    if (name == QLatin1String("sumuj")) {
        SumaPowGr += biezacaPow();
        return QString();
    }
    if (name == QLatin1String("pow_udzial")) {
        const double mianownik = ListaJrQry->asFloat(QStringLiteral("m_udzial"));
        const double udzial = mianownik != 0 ? ListaJrQry->asFloat(QStringLiteral("l_udzial")) / mianownik : 0;
        const double wartosc = biezacaPow() * udzial;
        SumaPowUdz += wartosc;
        return jet::fixedText(wartosc, 4);
    }
    if (name == QLatin1String("suma_pow"))
        return jet::fixedText(SumaPowGr, 4);
    if (name == QLatin1String("suma_pow_udz"))
        return jet::fixedText(SumaPowUdz, 4);
    return QString();
}

} // namespace katarix::reports
