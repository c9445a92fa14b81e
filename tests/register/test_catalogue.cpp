// Every SQL text of the register catalogue, with its macros filled and its parameters bound as
// the windows and reports do, translated and run unmodified on a generated register.
#include "RegisterTestSupport.h"
#include "register/SqlHelpers.h"
#include "register/SqlTemplates.h"
#include "register/sql/DodDlkQueries.h"
#include "register/sql/JrOsobyQueries.h"
#include "register/sql/MainQueries.h"
#include "register/sql/OsobyQueries.h"
#include "register/sql/RgQueries.h"
#include "register/sql/RlQueries.h"
#include "register/sql/RptQueries.h"
#include "register/sql/SpisWladQueries.h"
#include "register/sql/TwQueries.h"
#include "register/sql/WypisSkrQueries.h"
#include "register/sql/WypisyQueries.h"
#include "register/sql/ZestGrOsQueries.h"
#include "register/sql/ZmianyQueries.h"
#include "registergen/RegisterGenerator.h"

#include <gtest/gtest.h>

#include <functional>

using namespace katarix;
using namespace katarix::reg::sql;
using katarix::jet::FieldType;
using katarix::regtest::Param;
using katarix::regtest::Result;
namespace sc = katarix::registergen::showcase;

namespace {

QString s(const char *utf8) { return QString::fromUtf8(utf8); }
QString n(double v) { return jet::numberToText(v); }

struct Ctx {
    jet::Database &db;
    // First value of a helper query.
    QString lookup(const QString &sql) { return regtest::scalar(db, sql); }
    QString lookupList(const QString &sql)
    {
        const Result r = regtest::run(db, sql);
        QStringList values;
        for (const QStringList &row : r.rows)
            values << row.value(0);
        return values.join(QLatin1Char(','));
    }
};

bool sortedNumerically(const QStringList &values)
{
    for (int i = 1; i < values.size(); ++i)
        if (jet::textToNumber(values[i - 1], nullptr) > jet::textToNumber(values[i], nullptr))
            return false;
    return true;
}

bool sortedAsJet(const QStringList &values)
{
    for (int i = 1; i < values.size(); ++i)
        if (jet::compareJetText(values[i - 1], values[i]) > 0)
            return false;
    return true;
}

QString joined(const QStringList &values) { return values.join(QLatin1Char('|')); }

struct CatalogueCase {
    const char *component;
    std::function<QString(Ctx &)> sql;
    std::vector<Param> params;
    std::function<void(const Result &, Ctx &)> check;
    std::function<std::vector<Param>(Ctx &)> paramsFrom = nullptr; // parameters looked up first
};

// A place that has streets: the place of the street of address 1700001.
const char *const kPlaceWithStreets =
    "SELECT miejsc_id FROM slo_ulice WHERE ulica_id = (SELECT ulica_id FROM adres WHERE adres_id = 1700001)";

void checkStreets(const Result &r, Ctx &c)
{
    ASSERT_GT(r.rows.size(), 0u);
    const QString street = c.lookup(QStringLiteral(
        "SELECT nazwa FROM slo_ulice WHERE ulica_id = (SELECT ulica_id FROM adres WHERE adres_id = 1700001)"));
    bool found = false;
    for (const QString &u : r.columnValues(QStringLiteral("ULICA")))
        found = found || u.startsWith(street + QLatin1Char(' '));
    EXPECT_TRUE(found) << street.toStdString();
}

const std::vector<CatalogueCase> &cases()
{
    static const std::vector<CatalogueCase> all = {
        // Main window.
        {"TekstKomentarza", [](Ctx &) { return s(main::TekstKomentarzaSql) + QStringLiteral("9000001"); }, {},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_TRUE(r.rows[0][0].contains(QLatin1Char('\n'))) << "a comment of two lines";
         }},

        // Land register window.
        {"rg::JrQry", [](Ctx &) { return s(rg::JrQry); }, {{"ObrebID", 1, FieldType::Integer}},
         [](const Result &r, Ctx &) {
             const QStringList nr = r.columnValues(QStringLiteral("NR_JR"));
             EXPECT_GE(nr.size(), 8);
             EXPECT_EQ(nr.value(0), QStringLiteral("1"));
             EXPECT_TRUE(sortedNumerically(nr)) << joined(nr).toStdString();
             EXPECT_FALSE(nr.contains(QStringLiteral("8"))) << "G-8 is retired";
             EXPECT_TRUE(nr.contains(QStringLiteral("9")));
             EXPECT_FALSE(r.rows[0][r.column(QStringLiteral("uwagi"))].isEmpty()) << "G-1 has a comment";
         }},
        {"rg::GminySql", [](Ctx &) { return s(rg::GminySql); }, {},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("nazwa")).contains(s("Dąbrowa Leśna")));
         }},
        {"rg::ObrebyGminySql", [](Ctx &) { return s(rg::ObrebyGminySql) + QStringLiteral("1"); }, {},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("nazwa")).contains(s("Śródmieście")));
         }},
        {"rg::KwJrSql", [](Ctx &) { return s(rg::KwJrSql) + QStringLiteral("1400001"); }, {},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_FALSE(r.rows[0][0].isEmpty());
         }},
        {"rg::ObrebJrSql", [](Ctx &) { return s(rg::ObrebJrSql) + n(sc::unitG9); }, {},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_EQ(r.rows[0][0], QStringLiteral("1"));
             EXPECT_EQ(r.rows[0][1], QStringLiteral("1"));
         }},
        {"rg::OsobyQry G-1", [](Ctx &) { return s(rg::OsobyQry); }, {{"IdJr", sc::unitG1}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("UDZIAL"))), QStringLiteral("1/2 1|1/2 2"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("RODZ_OS"))), QStringLiteral("F|F"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("UDZIAL_DZIES"))), QStringLiteral("0,5|0,5"));
         }},
        {"rg::OsobyQry G-4", [](Ctx &) { return s(rg::OsobyQry); }, {{"IdJr", sc::unitG4}},
         [](const Result &r, Ctx &) {
             // Owner first; among the perpetual usufructuaries the legal person before the natural one.
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("OSOBA_ID"))),
                       QStringLiteral("300000000|300000001|299999999"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("RODZ_OS"))), QStringLiteral("P|P|F"));
         }},
        {"rg::OsobyQry G-3", [](Ctx &) { return s(rg::OsobyQry); }, {{"IdJr", sc::unitG3}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("OSOBA_ID"))), QStringLiteral("500000000"))
                 << "the couple (retired 0) is current, the former holder is not";
         }},
        {"rg::OsobyQry G-5", [](Ctx &) { return s(rg::OsobyQry); }, {{"IdJr", sc::unitG5}},
         [](const Result &r, Ctx &) {
             const QStringList u = r.columnValues(QStringLiteral("UDZIAL"));
             EXPECT_TRUE(u.contains(s("udział we wspólnocie"))) << joined(u).toStdString();
             EXPECT_TRUE(u.contains(s("część nieustalona"))) << joined(u).toStdString();
         }},
        {"rg::DzialkiQry", [](Ctx &) { return s(rg::DzialkiQry); }, {{"IdJr", sc::unitG1}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("NUMER"))), QStringLiteral("1|1|2/1|2/2-A"))
                 << "parcel 1 once per current land book";
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("AREA"))), QStringLiteral("0,1234|0,1234|0,0005|0,12"));
             const QStringList kw = r.columnValues(QStringLiteral("KW"));
             EXPECT_NE(kw.value(0), kw.value(1));
             EXPECT_TRUE(kw.value(3).isEmpty()) << "2/2-A has no land book";
         }},
        {"rg::BudQry", [](Ctx &) { return s(rg::BudQry); }, {{"IdJr", sc::unitG1}},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_EQ(r.columnValues(QStringLiteral("BUDYNEK_ID")).value(0), QStringLiteral("5500001"));
             EXPECT_EQ(r.columnValues(QStringLiteral("ROK_BUDOWY")).value(0), QStringLiteral("1978"));
             EXPECT_EQ(r.columnValues(QStringLiteral("WINDA")).value(0), QStringLiteral("jest"));
             EXPECT_FALSE(r.columnValues(QStringLiteral("KW")).value(0).isEmpty()) << "a NULL status joins here";
         }},
        {"rg::BudQry G-4", [](Ctx &) { return s(rg::BudQry); }, {{"IdJr", sc::unitG4}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("BUDYNEK_ID"))), QStringLiteral("5500002"));
         }},
        {"rg::KlauzQry", [](Ctx &) { return s(rg::KlauzQry); }, {{"MslDlk", 2000001.0}},
         [](const Result &r, Ctx &) {
             QStringList pow = r.columnValues(QStringLiteral("Pow"));
             pow.sort();
             EXPECT_EQ(joined(pow), QStringLiteral("0,0434|0,0800"));
         }},

        // Premises register window.
        {"rl::JrQry", [](Ctx &) { return s(rl::JrQry); }, {{"ObrebID", 1, FieldType::Integer}},
         [](const Result &r, Ctx &) {
             const QStringList nr = r.columnValues(QStringLiteral("NR_JR"));
             EXPECT_EQ(nr.mid(0, 3), (QStringList{"1", "2", "3"}));
             EXPECT_TRUE(sortedNumerically(nr));
         }},
        {"rl::ObrebJrSql", [](Ctx &) { return s(rl::ObrebJrSql) + n(sc::unitL1); }, {},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_EQ(r.rows[0][0], QStringLiteral("1"));
         }},
        {"rl::OsobyQry", [](Ctx &) { return s(rl::OsobyQry); }, {{"IdJr", sc::unitL1}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("UDZIAL"))), QStringLiteral("1/1"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("GRUPA"))), QString());
         }},
        {"rl::LokQry L-1", [](Ctx &) { return s(rl::LokQry); }, {{"IdJr", sc::unitL1}},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 3u);
             for (const QString &bud : r.columnValues(QStringLiteral("BUD")))
                 EXPECT_FALSE(bud.isEmpty()) << "the block's current row has zmiana_kas_id 0";
         }},
        {"rl::LokQry L-3", [](Ctx &) { return s(rl::LokQry); }, {{"IdJr", sc::unitL3}},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_TRUE(r.columnValues(QStringLiteral("BUD")).value(0).isEmpty())
                 << "a building current by NULL does not join";
         }},

        // Tool windows.
        {"twbud::BudQry", [](Ctx &) { return s(twbud::BudQry); }, {{"DZIALKAID", sc::parcel5}},
         [](const Result &r, Ctx &) {
             QStringList jr = r.columnValues(QStringLiteral("JR"));
             jr.sort();
             EXPECT_EQ(joined(jr), QStringLiteral("B-1|G-4"));
             EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("nieruch_id"))));
         }},
        {"twbud::BudQry G-1", [](Ctx &) { return s(twbud::BudQry); }, {{"DZIALKAID", sc::parcel1}},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_EQ(r.columnValues(QStringLiteral("NUM_KOND")).value(0), QStringLiteral("4/1"));
             EXPECT_EQ(r.columnValues(QStringLiteral("POW_ZAB")).value(0), QStringLiteral("85,00"));
             EXPECT_TRUE(r.columnValues(QStringLiteral("KW")).value(0).isEmpty()) << "NULL status: 'P' only";
         }},
        {"twlok::LokQry", [](Ctx &) { return s(twlok::LokQry); }, {{"BUDYNEK_ID", 5500004.0}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(r.rows.size(), 4u);
             QStringList jr = r.columnValues(QStringLiteral("JR"));
             jr.removeDuplicates();
             jr.sort();
             EXPECT_EQ(joined(jr), QStringLiteral("1|2"));
             for (const QString &f : r.columnValues(QStringLiteral("FUNKCJA")))
                 EXPECT_EQ(f, f.toLower());
         }},

        // Change history window.
        {"zmiany::ZmianaQry", [](Ctx &) { return s(zmiany::ZmianaQry); }, {{"ZMIANA_ID", 100002.0}},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 1u);
             EXPECT_TRUE(r.columnValues(QStringLiteral("DATAD_TXT")).value(0).endsWith(QStringLiteral(" 9:03:05")));
             EXPECT_FALSE(r.columnValues(QStringLiteral("USRNAME")).value(0).isEmpty());
         }},
        {"zmiany::NrZmnQry", [](Ctx &) { return s(zmiany::NrZmnQry); }, {{"SPRAWA_ID", 7000001.0}},
         [](const Result &r, Ctx &) {
             ASSERT_EQ(r.rows.size(), 2u);
             for (const QString &nr : r.columnValues(QStringLiteral("NUMER")))
                 EXPECT_TRUE(nr.contains(QStringLiteral(" obr. "))) << nr.toStdString();
         }},
        {"zmiany::DokQry", [](Ctx &) { return s(zmiany::DokQry); }, {},
         [](const Result &r, Ctx &c) {
             const QString id = c.lookup(QStringLiteral(
                 "SELECT sprawa_id FROM sprawa_dok WHERE sprawa_id in (select sprawa_id from sprawa_operat) "
                 "and sprawa_id in (select sprawa_id from sprawa_operat_z)"));
             const int docs = c.lookup(QStringLiteral("SELECT count(dok_id) FROM sprawa_dok WHERE sprawa_id = ") + id).toInt();
             const int works = c.lookup(QStringLiteral("SELECT count(operat_id) FROM sprawa_operat WHERE sprawa_id = ") + id).toInt();
             const int archived = c.lookup(QStringLiteral(
                 "SELECT count(operatzasob_id) FROM sprawa_operat_z WHERE sprawa_id = ") + id).toInt();
             const QStringList typ = r.columnValues(QStringLiteral("TYP"));
             EXPECT_EQ(typ.count(QStringLiteral("1")), docs);
             EXPECT_EQ(typ.count(QStringLiteral("2")), works);
             EXPECT_EQ(typ.count(QStringLiteral("3")), archived);
             EXPECT_GT(docs * works * archived, 0) << "a case with all three kinds";
             for (int i = 0; i < typ.size(); ++i) {
                 if (typ[i] == QStringLiteral("3")) {
                     EXPECT_EQ(r.columnValues(QStringLiteral("RODZDOK"))[i], QStringLiteral("Operat pomiarowy"));
                 }
             }
         },
         [](Ctx &c) {
             const QString id = c.lookup(QStringLiteral(
                 "SELECT sprawa_id FROM sprawa_dok WHERE sprawa_id in (select sprawa_id from sprawa_operat) "
                 "and sprawa_id in (select sprawa_id from sprawa_operat_z)"));
             return std::vector<Param>{{"SPRAWA_ID", jet::textToNumber(id, nullptr)}};
         }},

        // Parcel search.
        {"doddlk::GminaQry", [](Ctx &) { return s(doddlk::GminaQry); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("nazwa")))); }},
        {"doddlk::ObrebSh of commune 1",
         [](Ctx &) { return reg::expand(doddlk::ObrebSh, {{"WARUNEK", s(doddlk::WarunekGminy) + "1"}}); }, {},
         [](const Result &r, Ctx &c) {
             const QStringList names = r.columnValues(QStringLiteral("nazwa"));
             EXPECT_TRUE(names.contains(s("Śródmieście")));
             EXPECT_TRUE(sortedAsJet(names));
             EXPECT_LT(names.size(), c.lookup(QStringLiteral("SELECT count(mslink) FROM obreb")).toInt());
         }},
        {"doddlk::ObrebSh, all", [](Ctx &) { return reg::expand(doddlk::ObrebSh); }, {},
         [](const Result &r, Ctx &c) {
             EXPECT_EQ(QString::number(r.rows.size()), c.lookup(QStringLiteral("SELECT count(mslink) FROM obreb")));
         }},
        {"doddlk::ArkuszQry", [](Ctx &) { return s(doddlk::ArkuszQry); }, {{"OBREB_ID", 2, FieldType::SmallInt}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("nazwa"))), QStringLiteral("1|2|3|4"));
         }},
        {"doddlk::JrQry", [](Ctx &) { return s(doddlk::JrQry); }, {{"OBREB_ID", 1, FieldType::Integer}},
         [](const Result &r, Ctx &) {
             const QStringList ids = r.columnValues(QStringLiteral("id_jr"));
             EXPECT_TRUE(ids.contains(n(sc::unitG8))) << "no history rule in this list";
             EXPECT_TRUE(sortedNumerically(r.columnValues(QStringLiteral("kol_obreb"))));
         }},
        {"doddlk::KwQry", [](Ctx &) { return s(doddlk::KwQry); }, {},
         [](const Result &r, Ctx &c) {
             const QStringList books = r.columnValues(QStringLiteral("NR_KW"));
             EXPECT_TRUE(books.contains(c.lookup(QStringLiteral("SELECT nazwa FROM slo_kw WHERE kw_id = 1400001"))));
             EXPECT_TRUE(sortedAsJet(books));
         },
         [](Ctx &c) {
             const QString wydz = c.lookup(QStringLiteral("SELECT wydzkw_id FROM slo_kw WHERE kw_id = 1400001"));
             return std::vector<Param>{{"WYDZ_ID", wydz.toInt(), FieldType::SmallInt}};
         }},
        {"doddlk::MiejscowoscQry", [](Ctx &) { return s(doddlk::MiejscowoscQry); }, {},
         [](const Result &r, Ctx &c) {
             EXPECT_GT(r.rows.size(), 0u);
             EXPECT_LT(QString::number(r.rows.size()).toInt(),
                       c.lookup(QStringLiteral("SELECT count(miejsc_id) FROM slo_miejsc")).toInt())
                 << "places outside the register are left out";
         }},
        {"doddlk::UlicaQry", [](Ctx &) { return s(doddlk::UlicaQry); }, {}, checkStreets,
         [](Ctx &c) {
             return std::vector<Param>{{"MIEJSC_ID", jet::textToNumber(c.lookup(s(kPlaceWithStreets)), nullptr)}};
         }},
        {"doddlk::WydzialyKwSql", [](Ctx &) { return s(doddlk::WydzialyKwSql); }, {},
         [](const Result &r, Ctx &) { EXPECT_GT(r.rows.size(), 0u); }},
        {"doddlk::KlasySql", [](Ctx &) { return s(doddlk::KlasySql); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(r.columnValues(QStringLiteral("skrot")).contains(QStringLiteral("RIIIa"))); }},
        {"doddlk::UzytkiSql", [](Ctx &) { return s(doddlk::UzytkiSql); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(r.columnValues(QStringLiteral("skrot")).contains(QStringLiteral("W"))); }},
        {"doddlk::MainSh, all versions of parcel 4",
         [](Ctx &) {
             return reg::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kdzialka.dzialka_id = 3000005")},
                                                 {"WAR_HIST", s(doddlk::HistoriaWszystkie)}});
         },
         {},
         [](const Result &r, Ctx &) {
             QStringList v = r.columnValues(QStringLiteral("mslink"));
             v.sort();
             EXPECT_EQ(joined(v), QStringLiteral("2000005|2000006")) << "one row per version and its land book";
             QStringList pow = r.columnValues(QStringLiteral("POW_OPIS"));
             pow.sort();
             EXPECT_EQ(joined(pow), QStringLiteral("0,2000|0,2010"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("NUMER"))), QStringLiteral("4|4"));
         }},
        {"doddlk::MainSh, land book of the retired version",
         [](Ctx &) {
             return reg::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kw_dlk.kw_id = 1400004")},
                                                 {"WAR_HIST", s(doddlk::HistoriaWszystkie)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("mslink"))), QStringLiteral("2000005"));
         }},
        {"doddlk::MainSh, land book of the current version, Aktualne",
         [](Ctx &) {
             return reg::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kw_dlk.kw_id = 1400005")},
                                                 {"WAR_HIST", s(doddlk::HistoriaAktualne)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("mslink"))), QStringLiteral("2000006"));
         }},
        {"doddlk::MainSh, Archiwalne",
         [](Ctx &) {
             return reg::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kdzialka.dzialka_id = 3000005")},
                                                 {"WAR_HIST", s(doddlk::HistoriaArchiwalne)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("mslink"))), QStringLiteral("2000005"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("zmiana_kas_id"))), n(sc::changeS1));
         }},
        {"doddlk::MainSh, address criterion",
         [](Ctx &c) {
             const QString adres = c.lookup(QStringLiteral(
                 "SELECT numer FROM adres WHERE adres_id = (SELECT adres_id FROM kdzialka WHERE mslink = 2000001)"));
             using namespace doddlk::warunki;
             const QString war = s(AdresPrefix) + s(NumerPrefix) + reg::CytujApostrofy(adres.toUpper()) +
                 s(LikeSuffix) + s(AdresSuffix);
             return reg::expand(doddlk::MainSh, {{"WAR_ALL", war}, {"WAR_HIST", s(doddlk::HistoriaAktualne)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("dzialka_id")).contains(n(sc::parcel1)));
         }},

        // Person searches.
        {"dodfiz::NazwiskoQry", [](Ctx &) { return s(dodfiz::NazwiskoQry); }, {},
         [](const Result &r, Ctx &) {
             const QStringList v = r.columnValues(QStringLiteral("NAZW"));
             ASSERT_FALSE(v.isEmpty());
             for (const QString &name : v)
                 EXPECT_EQ(name, name.toUpper());
         }},
        {"dodfiz::ImieQry", [](Ctx &) { return s(dodfiz::ImieQry); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(r.columnValues(QStringLiteral("IM")).contains(QStringLiteral("JAN"))); }},
        {"dodfiz::MiejscowoscQry", [](Ctx &) { return s(dodfiz::MiejscowoscQry); }, {},
         [](const Result &r, Ctx &c) {
             EXPECT_EQ(QString::number(r.rows.size()),
                       c.lookup(QStringLiteral("SELECT count(miejsc_id) FROM slo_miejsc")));
         }},
        {"dodfiz::UlicaQry", [](Ctx &) { return s(dodfiz::UlicaQry); }, {}, checkStreets,
         [](Ctx &c) {
             return std::vector<Param>{{"MiejscId", jet::textToNumber(c.lookup(s(kPlaceWithStreets)), nullptr)}};
         }},
        {"dodfiz::WynikSql, one person",
         [](Ctx &c) {
             using namespace dodfiz::warunki;
             return s(dodfiz::WynikSql) + s(KryteriaPrefix) + s(Nazwisko) +
                 c.lookup(QStringLiteral("SELECT nazwisko_id FROM osfiz WHERE osfiz_id = 100001")) +
                 QStringLiteral(" AND ") + s(Imie) +
                 c.lookup(QStringLiteral("SELECT imie_id FROM osfiz WHERE osfiz_id = 100001")) + s(KryteriaSuffix);
         },
         {},
         [](const Result &r, Ctx &) {
             const QStringList ids = r.columnValues(QStringLiteral("mslink"));
             EXPECT_TRUE(ids.contains(QStringLiteral("100001")));
             const int row = int(ids.indexOf(QStringLiteral("100001")));
             const QString osoba = r.columnValues(QStringLiteral("Osoba")).value(row);
             EXPECT_TRUE(osoba.startsWith(QStringLiteral("KOWALSKI JAN"), Qt::CaseInsensitive)) << osoba.toStdString();
             EXPECT_TRUE(osoba.endsWith(QLatin1Char(')'))) << osoba.toStdString();
         }},
        {"dodfiz::WynikSql, everybody", [](Ctx &) { return s(dodfiz::WynikSql); }, {},
         [](const Result &r, Ctx &c) {
             EXPECT_FALSE(r.columnValues(QStringLiteral("mslink")).contains(QStringLiteral("0")));
             EXPECT_EQ(QString::number(r.rows.size() + 1),
                       c.lookup(QStringLiteral("SELECT count(osfiz_id) FROM osfiz")));
         }},
        {"dodpraw::NazwyQry", [](Ctx &) { return s(dodpraw::NazwyQry); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("NAZWA")))); }},
        {"dodpraw::MiejscowoscQry", [](Ctx &) { return s(dodpraw::MiejscowoscQry); }, {},
         [](const Result &r, Ctx &) { EXPECT_GT(r.rows.size(), 0u); }},
        {"dodpraw::UlicaQry", [](Ctx &) { return s(dodpraw::UlicaQry); }, {}, checkStreets,
         [](Ctx &c) {
             return std::vector<Param>{{"MiejscId", jet::textToNumber(c.lookup(s(kPlaceWithStreets)), nullptr)}};
         }},
        {"dodpraw::WynikSql, one person",
         [](Ctx &) {
             using namespace dodpraw::warunki;
             return s(dodpraw::WynikSql) + s(KryteriaPrefix) + s(Id) + QStringLiteral("300000000 OR ") + s(SkrotPrefix) +
                 QStringLiteral("NIC_TAKIEGO") + s(TekstSuffix) + s(KryteriaSuffix);
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("mslink"))), QStringLiteral("300000000"));
         }},
        {"dodpraw::WynikSql, everybody", [](Ctx &) { return s(dodpraw::WynikSql); }, {},
         [](const Result &r, Ctx &c) {
             EXPECT_EQ(QString::number(r.rows.size()),
                       c.lookup(QStringLiteral("SELECT count(ospraw_id) FROM ospraw WHERE ospraw_id between "
                                               "300000000 and 499999999")));
         }},

        // Registration units of persons.
        {"jrosoby::SqlSh, husband",
         [](Ctx &) {
             using namespace jrosoby;
             auto part = [](const Rejestr &rej) {
                 return reg::expand(SqlSh, {{"JR_TYP", s(rej.jrTyp)}, {"JR_PREFIX", s(rej.jrPrefix)},
                                            {"LW_TAB", s(rej.lwTab)}, {"REJ_TAB", s(rej.rejTab)},
                                            {"WARUNEK", s(TylkoAktualne)}});
             };
             return part(RejestrGruntow) + s(Polaczenie) + part(RejestrLokali);
         },
         {{"OSOBA_ID", 100007.0}},
         [](const Result &r, Ctx &) {
             QStringList jr = r.columnValues(QStringLiteral("JR"));
             jr.sort();
             EXPECT_EQ(joined(jr), QStringLiteral("G-3|L-1"));
             QStringList typ = r.columnValues(QStringLiteral("TYP"));
             typ.sort();
             EXPECT_EQ(joined(typ), QStringLiteral("1|3"));
         }},
        {"jrosoby::SqlSh, group member, with history",
         [](Ctx &) {
             using namespace jrosoby;
             const auto &rej = RejestrGruntow;
             return reg::expand(SqlSh, {{"JR_TYP", s(rej.jrTyp)}, {"JR_PREFIX", s(rej.jrPrefix)},
                                        {"LW_TAB", s(rej.lwTab)}, {"REJ_TAB", s(rej.rejTab)},
                                        {"WARUNEK", s(ObrebPrefix) + QStringLiteral("1") + s(ObrebSuffix)}});
         },
         {{"OSOBA_ID", 100010.0}},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("JR")).contains(QStringLiteral("G-5")));
         }},
        {"jrosoby::ObrebySql", [](Ctx &) { return s(jrosoby::ObrebySql); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("nazwa")))); }},
        {"jrosoby::FormyWladSql", [](Ctx &) { return s(jrosoby::FormyWladSql); }, {},
         [](const Result &r, Ctx &) { EXPECT_GE(r.rows.size(), 3u); }},

        // Land register extract.
        {"wypisy::JrQry",
         [](Ctx &) {
             return s(wypisy::JrQryPrefix) + n(sc::unitG4) + QLatin1Char(',') + n(sc::unitG8) + QLatin1Char(',') +
                 n(sc::unitG1) + s(wypisy::JrQrySuffix);
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("kol_obreb"))), QStringLiteral("1|4"));
         }},
        {"wypisy::OsobyQry", [](Ctx &) { return s(wypisy::OsobyQry); }, {{"IdJr", sc::unitG4}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("RODZ_OS"))), QStringLiteral("P|P|F"));
             EXPECT_TRUE(r.columnValues(QStringLiteral("F_WLAD")).value(2).endsWith(QStringLiteral(" do dn. 20891231")));
         }},
        {"wypisy::OsobyQry G-1", [](Ctx &) { return s(wypisy::OsobyQry); }, {{"IdJr", sc::unitG1}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("UDZIAL"))), QStringLiteral("1/2 1|1/2 2"));
         }},
        {"wypisy::DlkSh, all parcels", [](Ctx &) { return reg::expand(wypisy::DlkSh, {{"ID_JR", n(sc::unitG1)}}); },
         {},
         [](const Result &r, Ctx &) {
             QStringList nr = r.columnValues(QStringLiteral("NUMER"));
             nr.sort();
             EXPECT_EQ(joined(nr), QStringLiteral("1|1|2/1|2/2-A"));
         }},
        {"wypisy::DlkSh, selected parcel",
         [](Ctx &) {
             return reg::expand(wypisy::DlkSh, {{"ID_JR", n(sc::unitG1)},
                                                {"WARUNEK", s(wypisy::WarunekDlkPrefix) + "2000002" +
                                                                s(wypisy::WarunekDlkSuffix)}});
         },
         {},
         [](const Result &r, Ctx &) { EXPECT_EQ(joined(r.columnValues(QStringLiteral("NUMER"))), QStringLiteral("2/1")); }},
        {"wypisy::BudSh, buildings on a selected parcel",
         [](Ctx &) {
             return reg::expand(wypisy::BudSh, {{"ID_JR", n(sc::unitG1)},
                                                {"WARUNEK", s(wypisy::WarunekBudPrefix) + "2000001" +
                                                                s(wypisy::WarunekBudSuffix)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("BUDYNEK_ID"))), QStringLiteral("5500001"));
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("POW_ZAB"))), QStringLiteral("85,00"));
         }},
        {"wypisy::BudSh, no building on the selected parcel",
         [](Ctx &) {
             return reg::expand(wypisy::BudSh, {{"ID_JR", n(sc::unitG1)},
                                                {"WARUNEK", s(wypisy::WarunekBudPrefix) + "2000002" +
                                                                s(wypisy::WarunekBudSuffix)}});
         },
         {},
         [](const Result &r, Ctx &) { EXPECT_EQ(r.rows.size(), 0u); }},
        {"wypisy::KlauzQry", [](Ctx &) { return s(wypisy::KlauzQry); }, {{"MslDlk", 2000003.0}},
         [](const Result &r, Ctx &) {
             QStringList v = r.columnValues(QStringLiteral("NAZWA"));
             v.sort();
             EXPECT_EQ(joined(v), s("W-PsIV|ŁIII"));
         }},
        {"wypisy::ZestKlauzQry", [](Ctx &) { return s(wypisy::ZestKlauzQry); }, {{"IdJr", sc::unitG1}},
         [](const Result &r, Ctx &) {
             ASSERT_GT(r.rows.size(), 0u);
             for (const QString &p : r.columnValues(QStringLiteral("SumPow")))
                 EXPECT_EQ(p.section(QLatin1Char(','), 1).size(), 4) << p.toStdString();
         }},
        {"wypisy::LokQry", [](Ctx &) { return s(wypisy::LokQry); }, {{"IdJr", sc::unitG6}},
         [](const Result &r, Ctx &) {
             EXPECT_GE(r.rows.size(), 4u);
             EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("NUM_LOK"))));
         }},
        {"wypisy::IleDzialekSql", [](Ctx &) { return s(wypisy::IleDzialekSql) + n(sc::unitG1); }, {},
         [](const Result &r, Ctx &) { EXPECT_EQ(r.columnValues(QStringLiteral("ILE")).value(0), QStringLiteral("3")); }},
        {"wypisy::IleBudynkowSql", [](Ctx &) { return s(wypisy::IleBudynkowSql) + n(sc::unitG1); }, {},
         [](const Result &r, Ctx &) { EXPECT_EQ(r.columnValues(QStringLiteral("ILE")).value(0), QStringLiteral("1")); }},

        // Short extract.
        {"wypisskr::DlkSortSh",
         [](Ctx &) {
             return reg::expand(wypisskr::DlkSortSh,
                                {{"WARUNEK", reg::WarunekIn(QStringLiteral("2000006,2000004,2000001,2000002,2000005"), 2,
                                                            QStringLiteral("kdzialka.mslink"))}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("NUMER"))), QStringLiteral("1|1|2/1|3|4"))
                 << "parcel 1 once per land book; the retired version of parcel 4 left out";
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("POW"))).section(QLatin1Char('|'), 0, 0),
                       QStringLiteral("0,1234"));
         }},
        {"wypisskr::OsobyQry", [](Ctx &) { return s(wypisskr::OsobyQry); },
         {{"ID_JR", sc::unitG1}, {"MSL_DLK", sc::parcel1}},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("OSOBA_ID"))).split(QLatin1Char('|')).size(), 3);
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("WLAD_ID"))), QStringLiteral("1|1|5"));
         }},

        // Alphabetical list of holders.
        {"spiswlad::GminySql", [](Ctx &) { return s(spiswlad::GminySql); }, {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("nazwa")))); }},
        {"spiswlad::ObrebySql",
         [](Ctx &) { return s(spiswlad::ObrebySql) + s(spiswlad::ObrebyGminaPrefix) + "1" + s(spiswlad::ObrebySuffix); },
         {},
         [](const Result &r, Ctx &) { EXPECT_TRUE(r.columnValues(QStringLiteral("nazwa")).contains(s("Śródmieście"))); }},
        {"spiswlad::FormyWladSql", [](Ctx &) { return s(spiswlad::FormyWladSql); }, {},
         [](const Result &r, Ctx &) { EXPECT_GE(r.rows.size(), 3u); }},
        {"spiswlad::MiejscowosciSql", [](Ctx &) { return s(spiswlad::MiejscowosciSql); }, {},
         [](const Result &r, Ctx &) { EXPECT_GT(r.rows.size(), 0u); }},
        {"spiswlad, natural and legal persons",
         [](Ctx &c) {
             using namespace spiswlad;
             const QString formy = c.lookupList(QStringLiteral("SELECT mslink FROM slo_wlad"));
             const QString war = s(WarunekObrebyPrefix) + "1" + s(WarunekFormyPrefix) + formy + s(WarunekFormySuffix);
             return reg::expand(OsFizSh, {{"WARUNEK", war}}) + s(Polaczenie) +
                 reg::expand(OsPrawSh, {{"WARUNEK", war}}) + s(Porzadek);
         },
         {},
         [](const Result &r, Ctx &) {
             const QStringList typ = r.columnValues(QStringLiteral("TYP"));
             ASSERT_FALSE(typ.isEmpty());
             EXPECT_EQ(typ.first(), QStringLiteral("P"));
             EXPECT_EQ(typ.last(), QStringLiteral("F"));
             EXPECT_TRUE(sortedAsJet(typ.mid(0, int(typ.lastIndexOf(QStringLiteral("P"))) + 1)));
             const QStringList ids = r.columnValues(QStringLiteral("OSOBA_ID"));
             for (const char *id : {"100001", "100007", "100008", "300000000", "100003"})
                 EXPECT_TRUE(ids.contains(QString::fromLatin1(id))) << id;
             const int legal = int(typ.lastIndexOf(QStringLiteral("P"))) + 1;
             EXPECT_TRUE(sortedAsJet(r.columnValues(QStringLiteral("OSOBA")).mid(legal)));
             EXPECT_TRUE(r.columnValues(QStringLiteral("DZIALKA")).contains(QStringLiteral("2/2-A")));
         }},
        {"spiswlad, legal persons outside the register",
         [](Ctx &c) {
             using namespace spiswlad;
             const QString formy = c.lookupList(QStringLiteral("SELECT mslink FROM slo_wlad"));
             const QString war = s(WarunekObrebyPrefix) + "1" + s(WarunekFormyPrefix) + formy +
                 s(WarunekFormySuffix) + s(OsobyZamiejscowe);
             return reg::expand(OsPrawSh, {{"WARUNEK", war}}) + s(Porzadek);
         },
         {},
         [](const Result &r, Ctx &) {
             for (const QString &t : r.columnValues(QStringLiteral("TYP")))
                 EXPECT_EQ(t, QStringLiteral("P"));
         }},

        // Land summary of persons.
        {"zestgros::ListaJrSh, husband",
         [](Ctx &) { return reg::expand(zestgros::ListaJrSh, {{"OSOBAID", QStringLiteral("100007")}}); }, {},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("id_jr")).contains(n(sc::unitG3)));
         }},
        {"zestgros::ListaJrSh, group member",
         [](Ctx &) { return reg::expand(zestgros::ListaJrSh, {{"OSOBAID", QStringLiteral("100010")}}); }, {},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("id_jr")).contains(n(sc::unitG5)));
         }},
        {"zestgros::GruntyQry", [](Ctx &) { return s(zestgros::GruntyQry); }, {{"IdJr", sc::unitG5}},
         [](const Result &r, Ctx &) {
             ASSERT_GT(r.rows.size(), 0u);
             double sum = 0;
             for (const QString &p : r.columnValues(QStringLiteral("Pow")))
                 sum += jet::textToNumber(p, nullptr);
             EXPECT_NEAR(sum, 1.5, 1e-9) << "15000 m² of parcel 6";
         }},

        // List of parcels with holders.
        {"rpt::StrHld",
         [](Ctx &) {
             return reg::expand(rpt::StrHld, {{"WARUNEK", reg::WarunekIn(QStringLiteral("2000001,2000002"), 1000,
                                                                         QStringLiteral("kdzialka.mslink"))}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("ID_DLK"))),
                       QStringLiteral("2000001|2000001|2000001|2000001|2000002|2000002"))
                 << "two contours x two holders, then one contour x two holders";
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("NR_UDZ"))), QStringLiteral("1|2|1|2|1|2"));
         }},
    };
    return all;
}

class CatalogueRuns : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = new jet::Database;
        registergen::generateRegister({300, 1}).toDatabase(*db);
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    static jet::Database *db;
};
jet::Database *CatalogueRuns::db = nullptr;

TEST_F(CatalogueRuns, EveryTextRunsAndReturnsItsRows)
{
    regtest::SeparatorGuard polish(QLatin1Char(','));
    Ctx ctx{*db};
    for (const CatalogueCase &c : cases()) {
        SCOPED_TRACE(c.component);
        QString sql;
        try {
            sql = c.sql(ctx);
            const Result r = regtest::run(*db, sql, c.paramsFrom ? c.paramsFrom(ctx) : c.params);
            c.check(r, ctx);
        } catch (const jet::JetError &e) {
            ADD_FAILURE() << c.component << ": " << e.message().toStdString() << "\n" << sql.toStdString();
        }
    }
}

} // namespace
