#include "reports/WypisSkrRg.h"

#include "app/KursorKlepsydry.h"
#include "app/MainFrm.h"
#include "app/PostepRaportu.h"
#include "app/RaportRunner.h"
#include "jet/Query.h"
#include "jet/JetFunctions.h"
#include "register/Komentarz.h"
#include "register/SqlHelpers.h"
#include "register/SqlTemplates.h"
#include "register/sql/WypisSkrQueries.h"
#include "reports/ReportValues.h"
#include "rtf/RTFReport.h"

namespace katarix::reports {

namespace sql = reg::sql::wypisskr;

using app::KursorKlepsydry;

TWypisSkrRgDM::TWypisSkrRgDM(jet::Database &baza, jet::Query &tempQry, rtf::TRTFReport &rtf1, QObject *parent)
    : QObject(parent),
      DlkSortQry(new jet::Query(this)),
      DlkSortSh(reg::holderFor(sql::DlkSortSh)),
      OsobyQry(new jet::Query(this)),
      m_tempQry(tempQry),
      m_rtf1(rtf1)
{
    setObjectName(QStringLiteral("WypisSkrRgDM"));
    DlkSortQry->setObjectName(QStringLiteral("DlkSortQry"));
    DlkSortQry->setDatabase(&baza);
    OsobyQry->setObjectName(QStringLiteral("OsobyQry"));
    OsobyQry->setDatabase(&baza);
    OsobyQry->setSql(QString::fromUtf8(sql::OsobyQry));
}

void TWypisSkrRgDM::WypisSort(const QString &dlkMslinks)
{
    OkresNaglowka = 10;
    LicznikNaglowka = OkresNaglowka;
    SumaPow = 0;
    if (dlkMslinks.isEmpty())
        return;
    app::KursorKlepsydry kursor;
    try {
        DlkSortSh.setMacro(QStringLiteral("WARUNEK"), reg::WarunekIn(dlkMslinks, 1000, QStringLiteral("kdzialka.mslink")));
        DlkSortQry->close();
        DlkSortQry->setSql(DlkSortSh.expandedText());
        DlkSortQry->open();
        m_rtf1.OnDataSetRequest = [this](const QString &name, jet::Dataset *&dataset) {
            DataSetRequest(name, dataset);
        };
        m_rtf1.OnValueRequest = [this](const QString &name) { return ValueRequest(name); };
        app::UruchomRaport(m_rtf1, QStringLiteral("WypisRgSkrSort.rtf"),
                           [this](app::PostepRaportu &postep) { return PoliczWiersze(postep); });
    } catch (const std::exception &error) {
        kursor.przywroc();
        app::Komunikat(app::komunikatWyjatku(error), QStringLiteral("Błąd w funkcji 'WypisSort'"), app::mb::IconError);
    }
}

// The holders query's parameters for the parcel in row wiersz (0-based) of DlkSortQry.
void TWypisSkrRgDM::ustawParametryOsob(int wiersz)
{
    OsobyQry->setParameter(QStringLiteral("ID_JR"), DlkSortQry->valueAt(wiersz, DlkSortQry->fieldIndex(QStringLiteral("ID_JR"))),
                           jet::FieldType::Float);
    OsobyQry->setParameter(QStringLiteral("MSL_DLK"),
                           DlkSortQry->valueAt(wiersz, DlkSortQry->fieldIndex(QStringLiteral("DZIALKA_ID"))),
                           jet::FieldType::Float);
}

qint64 TWypisSkrRgDM::PoliczWiersze(app::PostepRaportu &postep)
{
    const int dzialki = DlkSortQry->recordCount();
    qint64 wiersze = dzialki;
    for (int i = 0; i < dzialki; ++i) {
        ustawParametryOsob(i);
        wiersze += OsobyQry->countRows();
        postep.krok("Liczenie wierszy dokumentu: działka %1 z %2", i + 1, dzialki);
    }
    return wiersze;
}

void TWypisSkrRgDM::DataSetRequest(const QString &name, jet::Dataset *&dataset)
{
    if (name == QLatin1String("osobyods"))
        dataset = OsobyQry;
    else if (name == QLatin1String("dzialkiods"))
        dataset = DlkSortQry;
}

QVariant TWypisSkrRgDM::ValueRequest(const QString &name)
{
    if (name == QLatin1String("current_date"))
        return biezacaData();
    if (name == QLatin1String("current_time"))
        return biezacyCzas();
    if (name == QLatin1String("skroluj")) {
        SumaPow += DlkSortQry->asFloat(QStringLiteral("POW"));
        OsobyQry->close();
        ustawParametryOsob(DlkSortQry->currentRow());
        OsobyQry->open();
        return QString();
    }
    if (name == QLatin1String("wstaw_naglowek")) {
        if (LicznikNaglowka == OkresNaglowka) {
            LicznikNaglowka = 1;
            return true;
        }
        if (OkresNaglowka > 0)
            ++LicznikNaglowka;
        return false;
    }
    if (name == QLatin1String("adr_poloz_dlk")) {
        const QString adres = DlkSortQry->asString(QStringLiteral("ADRES"));
        return adres.isEmpty() ? QStringLiteral("-") : adres;
    }
    if (name == QLatin1String("koment_dzialka"))
        return !DlkSortQry->asString(QStringLiteral("KOMENTARZ")).isEmpty();
    if (name == QLatin1String("koment_osoba")) {
        KomentOsTxt = reg::tekstKomentarza(m_tempQry, OsobyQry->asFloat(QStringLiteral("KOMENT")));
        return !KomentOsTxt.isEmpty();
    }
    if (name == QLatin1String("komentarz_os"))
        return KomentOsTxt;
    if (name == QLatin1String("ilodzialek"))
        return DlkSortQry->recordCount();
    if (name == QLatin1String("sumpow"))
        return jet::fixedText(SumaPow, 4);
    if (name == QLatin1String("powdlk"))
        return jet::fixedText(DlkSortQry->asFloat(QStringLiteral("POW")),
                           DlkSortQry->asFloat(QStringLiteral("AROWA")) != 0 ? 2 : 4);
    return QString();
}

} // namespace katarix::reports
