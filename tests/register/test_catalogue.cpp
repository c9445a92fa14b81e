// Every SQL text of the register catalogue, with its macros filled and its parameters bound as
// the windows and reports do, translated and run unmodified: on a generated register, and on a
// small register that states one example row of every display form and history rule the texts
// spell out.
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

#include <algorithm>
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
         [](Ctx &) { return regtest::expand(doddlk::ObrebSh, {{"WARUNEK", s(doddlk::WarunekGminy) + "1"}}); }, {},
         [](const Result &r, Ctx &c) {
             const QStringList names = r.columnValues(QStringLiteral("nazwa"));
             EXPECT_TRUE(names.contains(s("Śródmieście")));
             EXPECT_TRUE(sortedAsJet(names));
             EXPECT_LT(names.size(), c.lookup(QStringLiteral("SELECT count(mslink) FROM obreb")).toInt());
         }},
        {"doddlk::ObrebSh, all", [](Ctx &) { return regtest::expand(doddlk::ObrebSh); }, {},
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
             return regtest::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kdzialka.dzialka_id = 3000005")},
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
             return regtest::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kw_dlk.kw_id = 1400004")},
                                                 {"WAR_HIST", s(doddlk::HistoriaWszystkie)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("mslink"))), QStringLiteral("2000005"));
         }},
        {"doddlk::MainSh, land book of the current version, Aktualne",
         [](Ctx &) {
             return regtest::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kw_dlk.kw_id = 1400005")},
                                                 {"WAR_HIST", s(doddlk::HistoriaAktualne)}});
         },
         {},
         [](const Result &r, Ctx &) {
             EXPECT_EQ(joined(r.columnValues(QStringLiteral("mslink"))), QStringLiteral("2000006"));
         }},
        {"doddlk::MainSh, Archiwalne",
         [](Ctx &) {
             return regtest::expand(doddlk::MainSh, {{"WAR_ALL", QStringLiteral("kdzialka.dzialka_id = 3000005")},
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
             return regtest::expand(doddlk::MainSh, {{"WAR_ALL", war}, {"WAR_HIST", s(doddlk::HistoriaAktualne)}});
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
             return s(dodfiz::WynikSql) + s(dodosoby::KryteriaPrefix) + s(Nazwisko) +
                 c.lookup(QStringLiteral("SELECT nazwisko_id FROM osfiz WHERE osfiz_id = 100001")) +
                 QStringLiteral(" AND ") + s(Imie) +
                 c.lookup(QStringLiteral("SELECT imie_id FROM osfiz WHERE osfiz_id = 100001")) + s(dodosoby::KryteriaSuffix);
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
             return s(dodpraw::WynikSql) + s(dodosoby::KryteriaPrefix) + s(Id) + QStringLiteral("300000000 OR ") + s(SkrotPrefix) +
                 QStringLiteral("NIC_TAKIEGO") + s(TekstSuffix) + s(dodosoby::KryteriaSuffix);
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
                 return regtest::expand(SqlSh, {{"JR_TYP", s(rej.jrTyp)}, {"JR_PREFIX", s(rej.jrPrefix)},
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
             return regtest::expand(SqlSh, {{"JR_TYP", s(rej.jrTyp)}, {"JR_PREFIX", s(rej.jrPrefix)},
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
        {"wypisy::DlkSh, all parcels", [](Ctx &) { return regtest::expand(wypisy::DlkSh, {{"ID_JR", n(sc::unitG1)}}); },
         {},
         [](const Result &r, Ctx &) {
             QStringList nr = r.columnValues(QStringLiteral("NUMER"));
             nr.sort();
             EXPECT_EQ(joined(nr), QStringLiteral("1|1|2/1|2/2-A"));
         }},
        {"wypisy::DlkSh, selected parcel",
         [](Ctx &) {
             return regtest::expand(wypisy::DlkSh, {{"ID_JR", n(sc::unitG1)},
                                                {"WARUNEK", s(wypisy::WarunekDlkPrefix) + "2000002" +
                                                                s(wypisy::WarunekDlkSuffix)}});
         },
         {},
         [](const Result &r, Ctx &) { EXPECT_EQ(joined(r.columnValues(QStringLiteral("NUMER"))), QStringLiteral("2/1")); }},
        {"wypisy::BudSh, buildings on a selected parcel",
         [](Ctx &) {
             return regtest::expand(wypisy::BudSh, {{"ID_JR", n(sc::unitG1)},
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
             return regtest::expand(wypisy::BudSh, {{"ID_JR", n(sc::unitG1)},
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
             return regtest::expand(wypisskr::DlkSortSh,
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
             return regtest::expand(OsFizSh, {{"WARUNEK", war}}) + s(Polaczenie) +
                 regtest::expand(OsPrawSh, {{"WARUNEK", war}}) + s(Porzadek);
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
             return regtest::expand(OsPrawSh, {{"WARUNEK", war}}) + s(Porzadek);
         },
         {},
         [](const Result &r, Ctx &) {
             for (const QString &t : r.columnValues(QStringLiteral("TYP")))
                 EXPECT_EQ(t, QStringLiteral("P"));
         }},

        // Land summary of persons.
        {"zestgros::ListaJrSh, husband",
         [](Ctx &) { return regtest::expand(zestgros::ListaJrSh, {{"OSOBAID", QStringLiteral("100007")}}); }, {},
         [](const Result &r, Ctx &) {
             EXPECT_TRUE(r.columnValues(QStringLiteral("id_jr")).contains(n(sc::unitG3)));
         }},
        {"zestgros::ListaJrSh, group member",
         [](Ctx &) { return regtest::expand(zestgros::ListaJrSh, {{"OSOBAID", QStringLiteral("100010")}}); }, {},
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
             return regtest::expand(rpt::StrHld, {{"WARUNEK", reg::WarunekIn(QStringLiteral("2000001,2000002"), 1000,
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
    test::SeparatorGuard polish(QLatin1Char(','));
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


// One example row of every display form and history rule, in the tables the texts read:
//   unit 10 (precinct 1, G-15): parcels 1 "12/3-A" (AROWA 0, remark), 2 "12" with an empty
//     addition (AROWA 1), 3 "12" with none (5 m², AROWA 0), 4 "7" (5 m², AROWA 1); contours of
//     parcel 1 RIIIa/R 800 and B 434, of parcel 2 W/PsIV 1234, of parcel 3 B 800; buildings 1
//     (4/1 storeys, lift, 85 m², built 1978, land book by a NULL status) and 2 (12.5 m², 'P'
//     land book) on parcel 1, as is building 3 of building unit B-3; holders 299999999 (1/2
//     "3", group 1.2, comment), 300000000 (share text alone, end date 20891231), 499999999
//     (1/4, end date 0) and 500000000 (denominator 0);
//   unit 11 and precinct 2: rows retired by NULL, 0, 500 and 9999999998 (parcels 11-14,
//     holders 1-4, units 41-44), addresses of parcels 11-13 retired by NULL, 0 and 500;
//   unit 13: parcel 15 with land-book links of status 'P', NULL, 'A' and a retired 'P';
//   unit 12: versions and land-book links of two parcels (see LandBookOfEachVersion);
//   premises unit L-7 (30) with premises in buildings whose current row is retired by NULL, 0
//   and 500; streets, persons, changes, cases and users.
class CatalogueForms : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        registergen::RegisterBuilder b;
        b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
        b.add("OBREB", {{"MSLINK", 2}, {"NAZWA", "Antoniów"}});
        b.add("RGRUN", {{"ID_JR", 10.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 15}});
        b.add("RBUD", {{"ID_JR", 20.0}, {"KOL_OBREB", 3}});
        b.add("RLOK", {{"ID_JR", 30.0}, {"KOL_OBREB", 7}});

        // Parcels, contours, buildings and holders of unit 10.
        b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 101.0}, {"ID_JR", 10.0}, {"NR_L", 12}, {"NR_M", 3},
                           {"NR_ADD", "A"}, {"AREA", 1234.0}, {"AROWA", 0}, {"DATA_REJ_ZAB", 20080115},
                           {"UWAGI", "uwaga"}});
        b.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 102.0}, {"ID_JR", 10.0}, {"NR_L", 12}, {"NR_ADD", ""},
                           {"AREA", 1234.0}, {"AROWA", 1}});
        b.add("KDZIALKA", {{"MSLINK", 3.0}, {"DZIALKA_ID", 103.0}, {"ID_JR", 10.0}, {"NR_L", 12}, {"AREA", 5.0},
                           {"AROWA", 0}});
        b.add("KDZIALKA", {{"MSLINK", 4.0}, {"DZIALKA_ID", 104.0}, {"ID_JR", 10.0}, {"NR_L", 7}, {"AREA", 5.0},
                           {"AROWA", 1}});
        b.add("SLO_UZYT", {{"MSLINK", 20}, {"SKROT", "R"}});
        b.add("SLO_UZYT", {{"MSLINK", 21}, {"SKROT", "B"}});
        b.add("SLO_UZYT", {{"MSLINK", 22}, {"SKROT", "W"}});
        b.add("SLO_KLABOT", {{"MSLINK", 10}, {"SKROT", "RIIIa"}, {"DEF_UZ", 20}});
        b.add("SLO_KLABOT", {{"MSLINK", 11}, {"SKROT", "PsIV"}, {"DEF_UZ", 23}});
        b.add("KLASOUZ", {{"MSLINK", 1.0}, {"OBSZAR_ID", 1.0}, {"KLASA_ID", 10}, {"UZYTEK_ID", 20}, {"AREA", 800.0}});
        b.add("KLASOUZ", {{"MSLINK", 2.0}, {"OBSZAR_ID", 1.0}, {"UZYTEK_ID", 21}, {"AREA", 434.0}});
        b.add("KLASOUZ", {{"MSLINK", 3.0}, {"OBSZAR_ID", 2.0}, {"KLASA_ID", 11}, {"UZYTEK_ID", 22}, {"AREA", 1234.0}});
        b.add("KLASOUZ", {{"MSLINK", 4.0}, {"OBSZAR_ID", 3.0}, {"UZYTEK_ID", 21}, {"AREA", 800.0}});
        b.add("KBUDYNEK", {{"MSLINK", 1.0}, {"BUDYNEK_ID", 501.0}, {"IS_BUDYNKOWA", 0}, {"ID_JR", 10.0},
                           {"POW_ZAB", 85.0}, {"DATA_BUDOWY", 19781231}, {"NUM_KOND", 4}, {"NUM_KOND_POD", 1},
                           {"WINDA", 2}});
        b.add("KBUDYNEK", {{"MSLINK", 2.0}, {"BUDYNEK_ID", 502.0}, {"IS_BUDYNKOWA", 0}, {"ID_JR", 10.0},
                           {"POW_ZAB", 12.5}, {"NUM_KOND", 3}, {"WINDA", 1}});
        b.add("KBUDYNEK", {{"MSLINK", 3.0}, {"BUDYNEK_ID", 503.0}, {"IS_BUDYNKOWA", 1}, {"ID_JR", 20.0}});
        for (double budynek : {501.0, 502.0, 503.0})
            b.add("DLK_BUD", {{"DZIALKA_ID", 101.0}, {"BUDYNEK_ID", budynek}});
        b.add("KW_BUD", {{"BUDYNEK_ID", 501.0}, {"KW_ID", 1.0}, {"STATUS", nullptr}});
        b.add("KW_BUD", {{"BUDYNEK_ID", 502.0}, {"KW_ID", 2.0}, {"STATUS", "P"}});
        b.add("KW_BUD", {{"BUDYNEK_ID", 503.0}, {"KW_ID", 3.0}, {"STATUS", "A"}});
        b.add("SLO_WLAD", {{"MSLINK", 1}, {"OPIS", "własność"}});
        b.add("SLO_GRREJ", {{"MSLINK", 1}, {"GRUPA", 1}, {"PODGRUPA", 2}});
        b.add("KOMENTARZ", {{"MSLINK", 9.0}, {"TEKST", "komentarz"}});
        b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 10.0}, {"OSOBA_ID", 299999999.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                          {"M_UDZIAL", 2}, {"NR_UDZIALU", "3"}, {"GRREJ_ID", 1}, {"KOMENT", 9.0}});
        b.add("LWRGRUN", {{"MSLINK", 2.0}, {"ID_JR", 10.0}, {"OSOBA_ID", 300000000.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 0},
                          {"M_UDZIAL", 2}, {"NR_UDZIALU", "część"}, {"DATA_UPLYWU", 20891231}});
        b.add("LWRGRUN", {{"MSLINK", 3.0}, {"ID_JR", 10.0}, {"OSOBA_ID", 499999999.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                          {"M_UDZIAL", 4}, {"DATA_UPLYWU", 0}});
        b.add("LWRGRUN", {{"MSLINK", 4.0}, {"ID_JR", 10.0}, {"OSOBA_ID", 500000000.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                          {"M_UDZIAL", 0}});

        // Rows retired by NULL, 0, 500 and 9999999998.
        const registergen::FieldValue retired[] = {nullptr, 0.0, 500.0, 9999999998.0};
        for (int i = 0; i < 4; ++i) {
            b.add("KDZIALKA", {{"MSLINK", 11.0 + i}, {"DZIALKA_ID", 111.0 + i}, {"ID_JR", 11.0}, {"NR_L", 1 + i},
                               {"ZMIANA_KAS_ID", retired[i]}});
            b.add("LWRGRUN", {{"MSLINK", 11.0 + i}, {"ID_JR", 11.0}, {"OSOBA_ID", 1.0 + i}, {"WLAD_ID", 1},
                              {"ZMIANA_KAS_ID", retired[i]}});
            b.add("RGRUN", {{"ID_JR", 41.0 + i}, {"OBREB_ID", 2}, {"KOL_OBREB", 1 + i}, {"ZMIANA_KAS_ID", retired[i]}});
            if (i < 3)
                b.add("EW_ADRES", {{"DZIALKA_ID", 111.0 + i}, {"ADRES_ID", 1.0}, {"ZMIANA_KAS_ID", retired[i]}});
        }
        b.add("ADRES", {{"ADRES_ID", 1.0}, {"NUMER", "5A"}});

        // Land-book links of parcel 15 (unit 13).
        b.add("KDZIALKA", {{"MSLINK", 15.0}, {"DZIALKA_ID", 115.0}, {"ID_JR", 13.0}, {"NR_L", 5}});
        b.add("KW_DLK", {{"DZIALKA_ID", 115.0}, {"KW_ID", 11.0}, {"STATUS", "P"}});
        b.add("KW_DLK", {{"DZIALKA_ID", 115.0}, {"KW_ID", 12.0}, {"STATUS", nullptr}});
        b.add("KW_DLK", {{"DZIALKA_ID", 115.0}, {"KW_ID", 13.0}, {"STATUS", "A"}});
        b.add("KW_DLK", {{"DZIALKA_ID", 115.0}, {"KW_ID", 14.0}, {"STATUS", "P"}, {"ZMIANA_KAS_ID", 500.0}});
        for (int kw : {1, 2, 3, 11, 12, 13, 14}) {
            const std::string name = "KW/" + std::to_string(kw);
            b.add("SLO_KW", {{"KW_ID", double(kw)}, {"NAZWA", name}, {"KW_TXT", name}});
        }

        // Parcel versions of unit 12 and their land-book links:
        //   parcel 201: version 21 retired at change 500, version 22 current (NULL), version 23
        //     current (0); links A 100..300, B 300..500, C 500..NULL, D 600..0, E 200..NULL with
        //     status 'A', F 450..NULL with status NULL.
        //   parcel 202: version 31 retired at 800, version 32 current (NULL); links G 100..NULL,
        //     H 900..1000.
        auto version = [&](double mslink, double dzialka, registergen::FieldValue kas) {
            b.add("KDZIALKA", {{"MSLINK", mslink}, {"DZIALKA_ID", dzialka}, {"ID_JR", 12.0}, {"NR_L", int(mslink)},
                               {"ZMIANA_ID", 1.0}, {"ZMIANA_KAS_ID", kas}});
        };
        version(21, 201, 500.0);
        version(22, 201, nullptr);
        version(23, 201, 0.0);
        version(31, 202, 800.0);
        version(32, 202, nullptr);
        auto link = [&](double dzialka, const char *kw, double from, registergen::FieldValue to,
                        registergen::FieldValue status) {
            const double kwId = double(kw[0]);
            b.add("KW_DLK", {{"DZIALKA_ID", dzialka}, {"KW_ID", kwId}, {"STATUS", status},
                             {"ZMIANA_ID", from}, {"ZMIANA_KAS_ID", to}});
            b.add("SLO_KW", {{"KW_ID", kwId}, {"NAZWA", kw}});
        };
        link(201, "A", 100, 300.0, "P");
        link(201, "B", 300, 500.0, "P");
        link(201, "C", 500, nullptr, "P");
        link(201, "D", 600, 0.0, "P");
        link(201, "E", 200, nullptr, "A");
        link(201, "F", 450, nullptr, nullptr);
        link(202, "G", 100, nullptr, "P");
        link(202, "H", 900, 1000.0, "P");

        // Premises of unit L-7 in buildings whose current row is retired by NULL, 0 and 500.
        const char *const building[] = {"B-null", "B-zero", "B-500"};
        for (int i = 0; i < 3; ++i) {
            b.add("KBUDYNEK", {{"MSLINK", 11.0 + i}, {"BUDYNEK_ID", 511.0 + i}, {"IS_BUDYNKOWA", 1}, {"ID_JR", 19.0},
                               {"NIERUCH_ID", building[i]}, {"ZMIANA_KAS_ID", retired[i]}});
            b.add("KLOKAL", {{"MSLINK", 1.0 + i}, {"LOKAL_ID", 601.0 + i}, {"ID_JR", 30.0}, {"BUDYNEK_ID", 511.0 + i},
                             {"NRIMPORTED", std::to_string(1 + i)}});
        }
        b.add("LWRLOK", {{"MSLINK", 1.0}, {"ID_JR", 30.0}, {"OSOBA_ID", 700.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                         {"M_UDZIAL", 1}});

        // Streets and persons.
        b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 1}, {"PRZEDROSTEK", "ul."}});
        b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 2}});
        b.add("SLO_ULICE", {{"ULICA_ID", 1}, {"NAZWA", "Długa"}, {"RODZ_UL_ID", 1}, {"MIEJSC_ID", 1.0}});
        b.add("SLO_ULICE", {{"ULICA_ID", 2}, {"NAZWA", "Krótka"}, {"RODZ_UL_ID", 2}, {"MIEJSC_ID", 1.0}});
        b.add("SLO_NAZWISKA", {{"MSLINK", 1}, {"NAZWISKO", "KOWALSKI"}});
        b.add("SLO_IMIONA", {{"MSLINK", 1}, {"IMIE", "JAN"}});
        b.add("SLO_IMIONA", {{"MSLINK", 2}, {"IMIE", "MARIA"}});
        b.add("SLO_IMIONA", {{"MSLINK", 3}, {"IMIE", "PIOTR"}});
        b.add("OSFIZ", {{"OSFIZ_ID", 1.0}, {"NAZWISKO_ID", 1}, {"IMIE_ID", 1}, {"IMIE2_ID", 2}, {"OJCIEC_ID", 3}});
        b.add("OSFIZ", {{"OSFIZ_ID", 2.0}, {"NAZWISKO_ID", 1}, {"MATKA_ID", 2}});

        // Changes, cases, users.
        b.add("ZMIANY", {{"ID", 1.0}, {"USER_ID", 1}, {"DATA_D", 20100102}, {"CZAS_D", 143005}});
        b.add("ZMIANY", {{"ID", 2.0}, {"USER_ID", 2}, {"DATA_D", 20100103}, {"CZAS_D", 90305}});
        b.add("EW_USER", {{"ID", 1}, {"USER_NAME", "jnowak"}, {"FULL_NAME2", "Jan Nowak"}});
        b.add("EW_USER", {{"ID", 2}, {"USER_NAME", "akowal"}});
        b.add("SPRAWA_NR", {{"SPRAWA_ID", 1.0}, {"NR", 12}, {"NRADD", "a"}, {"ROK", 2010}, {"OBREB_ID", 1}});
        b.add("SPRAWA_NR", {{"SPRAWA_ID", 2.0}, {"NR", 7}, {"ROK", 2011}, {"OBREB_ID", 1}});

        db = new jet::Database;
        b.toDatabase(*db);
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    static jet::Database *db;
};
jet::Database *CatalogueForms::db = nullptr;

// A value a text shows in one row: the row whose `key` column reads `keyValue` (every such row
// when a join repeats it), or the text's only row when `key` is empty.
struct FormCase {
    const char *what;
    QString sql;
    std::vector<Param> params;
    const char *key;
    const char *keyValue;
    const char *column;
    const char *polish;
    const char *c = nullptr; // under '.', when it differs
};

const std::vector<FormCase> &formCases()
{
    using namespace reg::sql;
    const std::vector<Param> unit10{{"IdJr", 10.0}};
    const std::vector<Param> parcel1{{"MslDlk", 1.0}};
    const std::vector<Param> parcel2{{"MslDlk", 2.0}};
    const std::vector<Param> onParcel1{{"DZIALKAID", 101.0}};
    const QString dzialki = s(rg::DzialkiQry);
    const QString klauz = s(rg::KlauzQry);
    const QString budynki = s(rg::BudQry);
    const QString osoby = s(rg::OsobyQry);
    const QString naDzialce = s(twbud::BudQry);
    const QString wypisOsoby = s(wypisy::OsobyQry);
    const QString wypisKlauz = s(wypisy::KlauzQry);
    const QString lokaleJr = regtest::expand(jrosoby::SqlSh, {{"JR_TYP", s(jrosoby::RejestrLokali.jrTyp)},
                                                          {"JR_PREFIX", s(jrosoby::RejestrLokali.jrPrefix)},
                                                          {"LW_TAB", s(jrosoby::RejestrLokali.lwTab)},
                                                          {"REJ_TAB", s(jrosoby::RejestrLokali.rejTab)}});
    static const std::vector<FormCase> all = {
        // Parcels (land register window).
        {"parcel number", dzialki, unit10, "MSLINK", "1", "NUMER", "12/3-A"},
        {"parcel number, empty addition", dzialki, unit10, "MSLINK", "2", "NUMER", "12"},
        {"parcel number, NULL addition", dzialki, unit10, "MSLINK", "3", "NUMER", "12"},
        {"parcel area, AROWA 0", dzialki, unit10, "MSLINK", "1", "AREA", "0,1234", "0.1234"},
        {"parcel area, AROWA 1", dzialki, unit10, "MSLINK", "2", "AREA", "0,12", "0.12"},
        {"tiny area, AROWA 0", dzialki, unit10, "MSLINK", "3", "AREA", "0,0005", "0.0005"},
        {"tiny area, AROWA 1", dzialki, unit10, "MSLINK", "4", "AREA", "0,00", "0.00"},
        {"date", dzialki, unit10, "MSLINK", "1", "DATA_REJ_ZAB", "2008-01-15"},
        {"remarks flag set", dzialki, unit10, "MSLINK", "1", "Kom", "!"},
        {"remarks flag clear", dzialki, unit10, "MSLINK", "2", "Kom", ""},
        // Contours.
        {"contour area, parcel precision 4", klauz, parcel1, "Uzytek", "R", "Pow", "0,0800", "0.0800"},
        {"contour area, parcel precision 2", klauz, parcel2, "Uzytek", "W", "Pow", "0,12", "0.12"},
        {"summed contour area", s(wypisy::ZestKlauzQry), unit10, "Uzytek", "B", "SumPow", "0,1234", "0.1234"},
        {"class implying its use", wypisKlauz, parcel1, "AREA", "800", "NAZWA", "RIIIa"},
        {"use without class", wypisKlauz, parcel1, "AREA", "434", "NAZWA", "B"},
        {"use and class", wypisKlauz, parcel2, "AREA", "1234", "NAZWA", "W-PsIV"},
        // Buildings.
        {"square metres", naDzialce, onParcel1, "mslink", "1", "POW_ZAB", "85,00", "85.00"},
        {"square metres, fraction", naDzialce, onParcel1, "mslink", "2", "POW_ZAB", "12,50", "12.50"},
        {"storeys", naDzialce, onParcel1, "mslink", "1", "NUM_KOND", "4/1"},
        {"storeys, none below", naDzialce, onParcel1, "mslink", "2", "NUM_KOND", "3"},
        {"year", budynki, unit10, "MSLINK", "1", "ROK_BUDOWY", "1978"},
        {"lift", budynki, unit10, "MSLINK", "1", "WINDA", "jest"},
        {"no lift", budynki, unit10, "MSLINK", "2", "WINDA", "nie ma"},
        // Holders.
        {"holder comment flag set", osoby, unit10, "OSOBA_ID", "299999999", "Kom", "!"},
        {"holder comment flag clear", osoby, unit10, "OSOBA_ID", "300000000", "Kom", ""},
        {"share", osoby, unit10, "OSOBA_ID", "299999999", "UDZIAL", "1/2 3"},
        {"share text alone", osoby, unit10, "OSOBA_ID", "300000000", "UDZIAL", "część"},
        {"share without number", osoby, unit10, "OSOBA_ID", "499999999", "UDZIAL", "1/4"},
        {"share fraction", osoby, unit10, "OSOBA_ID", "299999999", "UDZIAL_DZIES", "0,5", "0.5"},
        {"share fraction, L 0", osoby, unit10, "OSOBA_ID", "300000000", "UDZIAL_DZIES", "0"},
        {"share fraction, M 0", osoby, unit10, "OSOBA_ID", "500000000", "UDZIAL_DZIES", "0"},
        {"natural person just below the range", osoby, unit10, "OSOBA_ID", "299999999", "RODZ_OS", "F"},
        {"legal person at 300000000", osoby, unit10, "OSOBA_ID", "300000000", "RODZ_OS", "P"},
        {"legal person at 499999999", osoby, unit10, "OSOBA_ID", "499999999", "RODZ_OS", "P"},
        {"married couple at 500000000", osoby, unit10, "OSOBA_ID", "500000000", "RODZ_OS", "F"},
        {"register group", osoby, unit10, "OSOBA_ID", "299999999", "GRUPA", "1.2"},
        {"form of holding", wypisOsoby, unit10, "OSOBA_ID", "299999999", "F_WLAD", "własność"},
        {"form of holding with end date", wypisOsoby, unit10, "OSOBA_ID", "300000000", "F_WLAD",
         "własność do dn. 20891231"},
        {"form of holding, end date 0", wypisOsoby, unit10, "OSOBA_ID", "499999999", "F_WLAD", "własność"},
        // Streets and persons.
        {"street with prefix", s(dodfiz::UlicaQry), {{"MiejscId", 1.0}}, "ULICA_ID", "1", "ULICA", "Długa ul."},
        {"street without prefix", s(dodfiz::UlicaQry), {{"MiejscId", 1.0}}, "ULICA_ID", "2", "ULICA", "Krótka "},
        {"natural person", s(dodfiz::WynikSql), {}, "mslink", "1", "Osoba", "KOWALSKI JAN MARIA (PIOTR,-)"},
        {"natural person, names missing", s(dodfiz::WynikSql), {}, "mslink", "2", "Osoba", "KOWALSKI (-,MARIA)"},
        // Registration units.
        {"unit number", s(rg::JrQry), {{"ObrebID", 1, FieldType::Integer}}, "id_jr", "10", "NR_JR", "15"},
        {"land unit", naDzialce, onParcel1, "mslink", "1", "JR", "G-15"},
        {"building unit", naDzialce, onParcel1, "mslink", "3", "JR", "B-3"},
        {"premises unit", lokaleJr, {{"OSOBA_ID", 700.0}}, "id_jr", "30", "JR", "L-7"},
        // Changes.
        {"time", s(zmiany::ZmianaQry), {{"ZMIANA_ID", 1.0}}, "", "", "DATAD_TXT", "2010-01-02 14:30:05"},
        {"time before ten", s(zmiany::ZmianaQry), {{"ZMIANA_ID", 2.0}}, "", "", "DATAD_TXT", "2010-01-03 9:03:05"},
        {"case number", s(zmiany::NrZmnQry), {{"SPRAWA_ID", 1.0}}, "", "", "NUMER", "12-a/2010 obr. Śródmieście"},
        {"case number without addition", s(zmiany::NrZmnQry), {{"SPRAWA_ID", 2.0}}, "", "", "NUMER",
         "7/2011 obr. Śródmieście"},
        {"user with full name", s(zmiany::ZmianaQry), {{"ZMIANA_ID", 1.0}}, "", "", "USRNAME", "Jan Nowak"},
        {"user without full name", s(zmiany::ZmianaQry), {{"ZMIANA_ID", 2.0}}, "", "", "USRNAME", "akowal"},
        // Land books: the register windows follow a link of status 'P' or NULL, the tool
        // windows 'P' only.
        {"land book by a NULL status", budynki, unit10, "MSLINK", "1", "KW", "KW/1"},
        {"land book by status P", budynki, unit10, "MSLINK", "2", "KW", "KW/2"},
        {"tool window: no land book by a NULL status", naDzialce, onParcel1, "mslink", "1", "KW", ""},
        {"tool window: land book by status P", naDzialce, onParcel1, "mslink", "2", "KW", "KW/2"},
        {"tool window: no land book by status A", naDzialce, onParcel1, "mslink", "3", "KW", ""},
        // The premises register joins a building only when its current row is retired by 0.
        {"building retired by NULL", s(rl::LokQry), {{"IdJr", 30.0}}, "mslink", "1", "BUD", ""},
        {"building retired by 0", s(rl::LokQry), {{"IdJr", 30.0}}, "mslink", "2", "BUD", "B-zero"},
        {"building retired by 500", s(rl::LokQry), {{"IdJr", 30.0}}, "mslink", "3", "BUD", ""},
    };
    return all;
}

TEST_F(CatalogueForms, EveryDisplayFormGivesItsText)
{
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
        test::SeparatorGuard guard(separator);
        for (const FormCase &c : formCases()) {
            SCOPED_TRACE(c.what);
            const char *expected = (separator == QLatin1Char('.') && c.c) ? c.c : c.polish;
            try {
                const Result r = regtest::run(*db, c.sql, c.params);
                const int key = *c.key ? r.column(s(c.key)) : -1;
                ASSERT_TRUE(!*c.key || key >= 0) << "no column " << c.key;
                const QStringList values = r.columnValues(s(c.column));
                QStringList shown;
                for (std::size_t i = 0; i < r.rows.size(); ++i)
                    if (key < 0 || r.rows[i].value(key) == s(c.keyValue))
                        shown << values.value(int(i));
                ASSERT_FALSE(shown.isEmpty()) << "no row";
                if (key < 0) {
                    ASSERT_EQ(shown.size(), 1);
                }
                for (const QString &value : shown)
                    EXPECT_EQ(value, s(expected)) << "(separator " << separator.toLatin1() << ")";
            } catch (const jet::JetError &e) {
                ADD_FAILURE() << e.message().toStdString();
            }
        }
    }
}

// Which rows a text lists: the values of one column, sorted, joined by '|'.
struct RowsCase {
    const char *what;
    QString sql;
    std::vector<Param> params;
    const char *column;
    const char *rows;
};

QString parcelSearch(const QString &criteria, const char *history)
{
    return regtest::expand(reg::sql::doddlk::MainSh, {{"WAR_ALL", criteria}, {"WAR_HIST", s(history)}});
}

// A row is current when its ZMIANA_KAS_ID is NULL or 0; the texts spell the test in several
// forms that treat NULL and 0 differently. Rows 1 (or 11, 41) are retired by NULL, 2 by 0, 3 by
// 500, 4 by 9999999998.
TEST_F(CatalogueForms, EachHistoryFormListsItsRows)
{
    using namespace reg::sql;
    const QString unit11 = QStringLiteral("kdzialka.id_jr = 11");
    using namespace doddlk::warunki;
    const QString address = s(AdresPrefix) + s(NumerPrefix) + QStringLiteral("5A") + s(LikeSuffix) + s(AdresSuffix);
    const RowsCase cases[] = {
        {"IIf form (holders)", s(rg::OsobyQry), {{"IdJr", 11.0}}, "OSOBA_ID", "1|2"},
        {"IIf form (parcels)", s(rg::DzialkiQry), {{"IdJr", 11.0}}, "MSLINK", "11|12"},
        {"IIf form, unqualified (units)", s(rg::JrQry), {{"ObrebID", 2, FieldType::Integer}}, "id_jr", "41|42"},
        {"parcel search Aktualne", parcelSearch(unit11, doddlk::HistoriaAktualne), {}, "mslink", "11|12"},
        {"parcel search Archiwalne: NULL excluded", parcelSearch(unit11, doddlk::HistoriaArchiwalne), {}, "mslink",
         "13|14"},
        {"parcel search Wszystkie: no history test", parcelSearch(unit11, doddlk::HistoriaWszystkie), {}, "mslink",
         "11|12|13|14"},
        {"parcel address: NULL only", parcelSearch(address, doddlk::HistoriaWszystkie), {}, "mslink", "11"},
        {"land-book link: current, status P or NULL", s(rg::DzialkiQry), {{"IdJr", 13.0}}, "KW", "KW/11|KW/12"},
    };
    for (const RowsCase &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            QStringList values = regtest::run(*db, c.sql, c.params).columnValues(s(c.column));
            std::sort(values.begin(), values.end());
            EXPECT_EQ(joined(values), s(c.rows));
        } catch (const jet::JetError &e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
}

// The parcel search joins each parcel version to the land book linked when the version was
// retired (or now, for a current version): a link created before the retiring change and
// retired at it or later, NULL counting as never retired, status 'P' or NULL.
TEST_F(CatalogueForms, ParcelSearchJoinsTheLandBookOfEachVersion)
{
    QStringList versionsOfBook;
    for (const char *book : {"A", "B", "C", "D", "E", "F", "G", "H"}) {
        const QString criteria = QStringLiteral("kw_dlk.kw_id = ") + n(double(book[0]));
        QStringList versions = regtest::run(*db, parcelSearch(criteria, reg::sql::doddlk::HistoriaWszystkie))
                                   .columnValues(QStringLiteral("mslink"));
        std::sort(versions.begin(), versions.end());
        versionsOfBook << s(book) + QLatin1Char(':') + versions.join(QLatin1Char(','));
    }
    // 21 (retired at 500): B (retired at 500) and F (still current); not C (created at 500).
    // 22 and 23 (current): the links still current by NULL, C and F; D (retired at 0) never.
    // 31 (retired at 800): G, still current; 32: G. E (status 'A') and H (created later) never.
    EXPECT_EQ(versionsOfBook.join(QLatin1Char(' ')), QStringLiteral("A: B:21 C:22,23 D: E: F:21,22,23 G:31,32 H:"));
}

} // namespace
