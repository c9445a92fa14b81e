#include "reports/Wypisy.h"

#include "app/PostepRaportu.h"
#include "app/RaportRunner.h"
#include "app/UstawieniaFrm.h"
#include "jet/Query.h"
#include "jet/JetFunctions.h"
#include "register/Komentarz.h"
#include "register/SqlTemplates.h"
#include "register/sql/WypisyQueries.h"
#include "reports/ReportValues.h"
#include "rtf/RTFReport.h"

namespace katarix::reports {

namespace sql = reg::sql::wypisy;

TWypisyDM *WypisyDM = nullptr;

namespace {

jet::Query *query(QObject *owner, jet::Database &baza, const char *name, const char *sqlText = nullptr)
{
    auto *q = new jet::Query(owner);
    q->setObjectName(QString::fromLatin1(name));
    q->setDatabase(&baza);
    if (sqlText)
        q->setSql(QString::fromUtf8(sqlText));
    return q;
}

void reopen(jet::Query &q, const char *parameter, double value)
{
    q.close();
    q.setParameter(QString::fromLatin1(parameter), value, jet::FieldType::Float);
    q.open();
}

qint64 count(jet::Query &q, const char *parameter, double value)
{
    q.setParameter(QString::fromLatin1(parameter), value, jet::FieldType::Float);
    return q.countRows();
}

// The unit in the parcels' and buildings' texts: the parameter :ID_JR (the macro character is
// the parameter's), bound for each unit instead of being written into a new text.
const QString kIdJrParametr = QStringLiteral(":ID_JR");

} // namespace

TWypisyDM::TWypisyDM(jet::Database &baza, jet::Query &tempQry, rtf::TRTFReport &rtf1, QObject *parent)
    : QObject(parent),
      JrQry(query(this, baza, "JrQry")),
      OsobyQry(query(this, baza, "OsobyQry", sql::OsobyQry)),
      DlkQry(query(this, baza, "DlkQry")),
      BudQry(query(this, baza, "BudQry")),
      KlauzQry(query(this, baza, "KlauzQry", sql::KlauzQry)),
      ZestKlauzQry(query(this, baza, "ZestKlauzQry", sql::ZestKlauzQry)),
      LokQry(query(this, baza, "LokQry", sql::LokQry)),
      DlkSh(reg::holderFor(sql::DlkSh)),
      BudSh(reg::holderFor(sql::BudSh)),
      m_tempQry(tempQry),
      m_rtf1(rtf1)
{
    setObjectName(QStringLiteral("WypisyDM"));
}

bool TWypisyDM::wszystkieDzialki()
{
    return app::UstawieniaFrm && app::UstawieniaFrm->zakresDlk() == 1;
}

void TWypisyDM::WypisJr(const QString &jrIds, const QString &dlkMslinks)
{
    const QString wybrane = wszystkieDzialki() ? QString() : dlkMslinks;
    QString warunekDlk;
    QString warunekBud;
    if (!wybrane.isEmpty()) {
        warunekBud = QString::fromUtf8(sql::WarunekBudPrefix) + wybrane + QString::fromUtf8(sql::WarunekBudSuffix);
        warunekDlk = QString::fromUtf8(sql::WarunekDlkPrefix) + wybrane + QString::fromUtf8(sql::WarunekDlkSuffix);
    }
    DlkSh.setMacro(QStringLiteral("WARUNEK"), warunekDlk);
    BudSh.setMacro(QStringLiteral("WARUNEK"), warunekBud);
    DlkSh.setMacro(QStringLiteral("ID_JR"), kIdJrParametr);
    BudSh.setMacro(QStringLiteral("ID_JR"), kIdJrParametr);
    DlkQry->setSql(DlkSh.expandedText());
    BudQry->setSql(BudSh.expandedText());

    JrQry->close();
    JrQry->setSql(QString::fromUtf8(sql::JrQryPrefix) + jrIds + QString::fromUtf8(sql::JrQrySuffix));
    JrQry->open();

    m_rtf1.OnDataSetRequest = [this](const QString &name, jet::Dataset *&dataset) { DataSetRequest(name, dataset); };
    m_rtf1.OnValueRequest = [this](const QString &name) { return ValueRequest(name); };
    app::UruchomRaport(m_rtf1, QStringLiteral("RaportJr.rtf"),
                       [this](app::PostepRaportu &postep) { return PoliczWiersze(postep); });
}

qint64 TWypisyDM::PoliczWiersze(app::PostepRaportu &postep)
{
    const int jednostki = JrQry->recordCount();
    const int poleIdJr = JrQry->fieldIndex(QStringLiteral("id_jr"));
    qint64 wiersze = jednostki;
    for (int i = 0; i < jednostki; ++i) {
        const double idJr = jet::Dataset::valueToFloat(JrQry->valueAt(i, poleIdJr));
        wiersze += count(*OsobyQry, "IdJr", idJr) + count(*DlkQry, "ID_JR", idJr) + count(*BudQry, "ID_JR", idJr) +
                   count(*LokQry, "IdJr", idJr) + count(*ZestKlauzQry, "IdJr", idJr);
        postep.krok("Liczenie wierszy dokumentu: jednostka %1 z %2", i + 1, jednostki);
    }
    return wiersze;
}


void TWypisyDM::DataSetRequest(const QString &name, jet::Dataset *&dataset)
{
    if (name == QLatin1String("jrqry"))
        dataset = JrQry;
    else if (name == QLatin1String("osobyqry"))
        dataset = OsobyQry;
    else if (name == QLatin1String("dlkqry"))
        dataset = DlkQry;
    else if (name == QLatin1String("budqry"))
        dataset = BudQry;
    else if (name == QLatin1String("lokqry"))
        dataset = LokQry;
    else if (name == QLatin1String("zestklauzqry"))
        dataset = ZestKlauzQry;
}

void TWypisyDM::skrolujJr()
{
    SumaPowDz = 0;
    const double idJr = JrQry->asFloat(QStringLiteral("id_jr"));
    reopen(*OsobyQry, "IdJr", idJr);
    reopen(*DlkQry, "ID_JR", idJr);
    reopen(*BudQry, "ID_JR", idJr);
    reopen(*LokQry, "IdJr", idJr);
    reopen(*ZestKlauzQry, "IdJr", idJr);
}

QString TWypisyDM::klasouzytek()
{
    KlauzQry->close();
    KlauzQry->setParameter(QStringLiteral("MslDlk"), DlkQry->asFloat(QStringLiteral("MSLINK")), jet::FieldType::Float);
    PowKlauzTxt.clear();
    KlauzQry->open();
    const int decimals = DlkQry->asFloat(QStringLiteral("AROWA")) != 0 ? 2 : 4;
    const QString crlf = QStringLiteral("\r\n");
    QString nazwy;
    for (KlauzQry->first(); !KlauzQry->eof(); KlauzQry->next()) {
        nazwy += KlauzQry->asString(QStringLiteral("NAZWA")) + crlf;
        PowKlauzTxt += jet::fixedText(KlauzQry->asFloat(QStringLiteral("AREA")) * 0.0001, decimals) + crlf;
    }
    nazwy.chop(2);
    PowKlauzTxt.chop(2);
    return nazwy;
}

bool TWypisyDM::nieWszystkie(const char *countSql, const jet::Query &shown)
{
    if (wszystkieDzialki())
        return false;
    m_tempQry.close();
    m_tempQry.setSql(QString::fromUtf8(countSql) + jet::sqlNumber(JrQry->asFloat(QStringLiteral("id_jr"))));
    m_tempQry.open();
    return m_tempQry.asInteger(QStringLiteral("ILE")) != shown.recordCount();
}

QVariant TWypisyDM::ValueRequest(const QString &name)
{
    if (name == QLatin1String("current_date"))
        return biezacaData();
    if (name == QLatin1String("skroluj_jr")) {
        skrolujJr();
        return QString();
    }
    if (name == QLatin1String("klasouzytek"))
        return klasouzytek();
    if (name == QLatin1String("pow_klauz"))
        return PowKlauzTxt;
    if (name == QLatin1String("pow_dz")) {
        const double area = DlkQry->asFloat(QStringLiteral("AREA"));
        SumaPowDz += qint32(DlkQry->asInteger(QStringLiteral("AREA")));
        return jet::fixedText(area * 0.0001, DlkQry->asFloat(QStringLiteral("AROWA")) != 0 ? 2 : 4);
    }
    if (name == QLatin1String("sumapow"))
        return jet::fixedText(SumaPowDz * 0.0001, 4);
    if (name == QLatin1String("polozenie")) {
        QString text = DlkQry->asString(QStringLiteral("Adres"));
        const QString polozenie = DlkQry->asString(QStringLiteral("Polozenie"));
        if (!polozenie.isEmpty()) {
            if (!text.isEmpty())
                text += QLatin1Char('\r');
            text += polozenie;
        }
        return text.isEmpty() ? QStringLiteral("-") : text;
    }
    if (name == QLatin1String("kw_awz")) {
        const QString kw = DlkQry->asString(QStringLiteral("KW"));
        return kw.isEmpty() ? DlkQry->asString(QStringLiteral("AW")) : kw;
    }
    if (name == QLatin1String("ile_dzialek"))
        return DlkQry->recordCount();
    if (name == QLatin1String("ile_budynkow"))
        return BudQry->recordCount();
    if (name == QLatin1String("ile_lokali"))
        return LokQry->recordCount();
    if (name == QLatin1String("nie_wszystkie_dlk"))
        return nieWszystkie(sql::IleDzialekSql, *DlkQry);
    if (name == QLatin1String("nie_wszystkie_bud"))
        return nieWszystkie(sql::IleBudynkowSql, *BudQry);
    if (name == QLatin1String("dodaj_uzyt_dlk") || name == QLatin1String("dodaj_uzyt_bud"))
        return false;
    if (name == QLatin1String("koment_os")) {
        KomentOsTxt = reg::tekstKomentarza(m_tempQry, OsobyQry->asFloat(QStringLiteral("KOMENT")));
        return !KomentOsTxt.isEmpty();
    }
    if (name == QLatin1String("komentarz_os"))
        return KomentOsTxt;
    if (name == QLatin1String("koment_dlk"))
        return !DlkQry->asString(QStringLiteral("Komentarz")).isEmpty();
    if (name == QLatin1String("koment_bud"))
        return !BudQry->asString(QStringLiteral("Komentarz")).isEmpty();
    if (name == QLatin1String("koment_lok"))
        return !LokQry->asString(QStringLiteral("Komentarz")).isEmpty();
    if (name == QLatin1String("wstaw_podzial"))
        return JrQry->recNo() != JrQry->recordCount();
    return QString();
}

} // namespace katarix::reports
