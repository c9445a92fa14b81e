#include "RegisterGenerator.h"
#include "support/Probe.h"

#include "jet/Database.h"

#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::registergen;
using probe::scalar;

namespace {

// One generated register loaded into an engine database, shared by the tests of this file.
class GeneratedRegister : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = new jet::Database;
        generateRegister({600, 11}).toDatabase(*db);
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    static std::string q(const std::string &sql) { return scalar(db->handle(), sql); }
    static jet::Database *db;
};
jet::Database *GeneratedRegister::db = nullptr;

const char *const current = "IFNULL(%1.ZMIANA_KAS_ID, 0) = 0";

std::string isCurrent(const std::string &table)
{
    std::string s = current;
    return s.replace(s.find("%1"), 2, table);
}

} // namespace

TEST(RegisterGenerator, SameSeedGivesTheSameRegisterAndAnotherSeedAnotherOne)
{
    const mdbwriter::Content a = generateRegister({300, 7}).takeContent();
    const mdbwriter::Content b = generateRegister({300, 7}).takeContent();
    const mdbwriter::Content c = generateRegister({300, 8}).takeContent();
    ASSERT_EQ(a.tables.size(), b.tables.size());
    int tablesThatDiffer = 0;
    for (std::size_t t = 0; t < a.tables.size(); ++t) {
        EXPECT_EQ(a.tables[t].rows, b.tables[t].rows) << a.tables[t].name;
        tablesThatDiffer += a.tables[t].rows != c.tables[t].rows;
    }
    EXPECT_GT(tablesThatDiffer, 10);
}

TEST(RegisterGenerator, MakesTheRequestedNumberOfCurrentParcels)
{
    for (int parcels : {20, 257, 3000}) {
        jet::Database db;
        generateRegister({parcels, 3}).toDatabase(db);
        EXPECT_EQ(scalar(db.handle(), "SELECT count(DISTINCT DZIALKA_ID) FROM KDZIALKA WHERE " + isCurrent("KDZIALKA")),
                  std::to_string(parcels));
        EXPECT_EQ(scalar(db.handle(), "SELECT count(*) FROM (SELECT DZIALKA_ID FROM KDZIALKA WHERE "
                                          + isCurrent("KDZIALKA") + " GROUP BY DZIALKA_ID HAVING count(*) > 1)"),
                  "0") << "a parcel with two current versions, " << parcels;
    }
}

TEST_F(GeneratedRegister, EveryJoinedReferenceExists)
{
    const std::string person = "(CASE WHEN x < 300000000 THEN x IN (SELECT OSFIZ_ID FROM OSFIZ)"
                               " WHEN x < 500000000 THEN x IN (SELECT OSPRAW_ID FROM OSPRAW)"
                               " ELSE x IN (SELECT MALZ_ID FROM MALZ) END)";
    auto personOf = [&](const std::string &column) {
        std::string s = person;
        for (std::size_t at; (at = s.find("x ")) != std::string::npos;)
            s.replace(at, 1, column);
        return s;
    };
    struct Case {
        const char *what;
        std::string orphans; // rows that break the reference
    } cases[] = {
        {"parcel unit", "FROM KDZIALKA WHERE ID_JR NOT IN (SELECT ID_JR FROM RGRUN)"},
        {"parcel precinct", "FROM KDZIALKA WHERE OBREB_ID NOT IN (SELECT MSLINK FROM OBREB)"},
        {"parcel sheet", "FROM KDZIALKA WHERE ARKUSZ_ID NOT IN (SELECT MSLINK FROM ARKUSZ)"},
        {"parcel address", "FROM KDZIALKA WHERE ADRES_ID >= 1 AND ADRES_ID NOT IN (SELECT ADRES_ID FROM ADRES)"},
        {"contour parcel row", "FROM KLASOUZ WHERE OBSZAR_ID NOT IN (SELECT MSLINK FROM KDZIALKA)"},
        {"contour class", "FROM KLASOUZ WHERE KLASA_ID NOT IN (SELECT MSLINK FROM SLO_KLABOT)"},
        {"contour use", "FROM KLASOUZ WHERE UZYTEK_ID IS NULL OR UZYTEK_ID NOT IN (SELECT MSLINK FROM SLO_UZYT)"},
        {"class implied use", "FROM SLO_KLABOT WHERE DEF_UZ NOT IN (SELECT MSLINK FROM SLO_UZYT)"},
        {"land holder unit", "FROM LWRGRUN WHERE ID_JR NOT IN (SELECT ID_JR FROM RGRUN)"},
        {"premises holder unit", "FROM LWRLOK WHERE ID_JR NOT IN (SELECT ID_JR FROM RLOK)"},
        {"parcel holder parcel", "FROM LWKDZIALKA WHERE DZIALKA_ID NOT IN (SELECT DZIALKA_ID FROM KDZIALKA)"},
        {"holder person", "FROM (SELECT OSOBA_ID FROM LWRGRUN UNION ALL SELECT OSOBA_ID FROM LWRLOK UNION ALL "
                          "SELECT OSOBA_ID FROM LWKDZIALKA) WHERE NOT " + personOf("OSOBA_ID")},
        {"group member", "FROM PDM_GR_SKL WHERE OSPRAW_ID NOT IN (SELECT OSPRAW_ID FROM OSPRAW) OR NOT "
                         + personOf("OSOBA_ID")},
        {"spouses", "FROM MALZ WHERE ON_ID NOT IN (SELECT OSFIZ_ID FROM OSFIZ) OR ONA_ID NOT IN (SELECT OSFIZ_ID FROM OSFIZ)"},
        {"holding form and group", "FROM LWRGRUN WHERE WLAD_ID NOT IN (SELECT MSLINK FROM SLO_WLAD) "
                                   "OR GRREJ_ID NOT IN (SELECT MSLINK FROM SLO_GRREJ)"},
        {"person names", "FROM OSFIZ WHERE OSFIZ_ID <> 0 AND (NAZWISKO_ID NOT IN (SELECT MSLINK FROM SLO_NAZWISKA) "
                         "OR IMIE_ID NOT IN (SELECT MSLINK FROM SLO_IMIONA) OR IMIE2_ID NOT IN (SELECT MSLINK FROM SLO_IMIONA) "
                         "OR OJCIEC_ID NOT IN (SELECT MSLINK FROM SLO_IMIONA) OR MATKA_ID NOT IN (SELECT MSLINK FROM SLO_IMIONA))"},
        {"person address", "FROM (SELECT ADRES_ID FROM OSFIZ WHERE OSFIZ_ID <> 0 UNION ALL SELECT ADRES_ID FROM OSPRAW) "
                           "WHERE ADRES_ID IS NULL OR ADRES_ID NOT IN (SELECT ADRES_ID FROM ADRES)"},
        {"address street place", "FROM ADRES LEFT JOIN SLO_ULICE U ON ADRES.ULICA_ID = U.ULICA_ID LEFT JOIN SLO_MIEJSC M "
                                 "ON U.MIEJSC_ID = M.MIEJSC_ID WHERE M.MIEJSC_ID IS NULL OR ADRES.KOD_ID NOT IN "
                                 "(SELECT KOD_ID FROM KOD_POCZT)"},
        {"building unit by kind", "FROM KBUDYNEK WHERE CASE WHEN IS_BUDYNKOWA = 0 THEN ID_JR NOT IN (SELECT ID_JR FROM RGRUN) "
                                  "ELSE ID_JR NOT IN (SELECT ID_JR FROM RBUD) END"},
        {"parcel-building link", "FROM DLK_BUD WHERE DZIALKA_ID NOT IN (SELECT DZIALKA_ID FROM KDZIALKA) "
                                 "OR BUDYNEK_ID NOT IN (SELECT BUDYNEK_ID FROM KBUDYNEK)"},
        {"premises unit and building", "FROM KLOKAL WHERE ID_JR NOT IN (SELECT ID_JR FROM RLOK) "
                                       "OR BUDYNEK_ID NOT IN (SELECT BUDYNEK_ID FROM KBUDYNEK)"},
        {"land-book links", "FROM (SELECT KW_ID FROM KW_DLK UNION ALL SELECT KW_ID FROM KW_BUD UNION ALL SELECT KW_ID "
                            "FROM KW_LOK UNION ALL SELECT KW_ID FROM RGRUN WHERE KW_ID > 0) WHERE KW_ID NOT IN "
                            "(SELECT KW_ID FROM SLO_KW)"},
        {"linked objects", "FROM KW_DLK WHERE DZIALKA_ID NOT IN (SELECT DZIALKA_ID FROM KDZIALKA)"},
        {"court division", "FROM SLO_KW WHERE WYDZKW_ID NOT IN (SELECT MSLINK FROM SLO_WYDZKW)"},
        {"unit comment", "FROM (SELECT KOMENT FROM RGRUN UNION ALL SELECT KOMENT FROM LWRGRUN) "
                         "WHERE KOMENT NOT IN (SELECT MSLINK FROM KOMENTARZ)"},
        {"retiring change", "FROM (SELECT ZMIANA_KAS_ID Z FROM KDZIALKA UNION ALL SELECT ZMIANA_KAS_ID FROM RGRUN "
                            "UNION ALL SELECT ZMIANA_KAS_ID FROM LWRGRUN UNION ALL SELECT ZMIANA_KAS_ID FROM KBUDYNEK "
                            "UNION ALL SELECT ZMIANA_KAS_ID FROM KW_DLK UNION ALL SELECT ZMIANA_KAS_ID FROM EW_ADRES) "
                            "WHERE Z <> 0 AND Z NOT IN (SELECT ID FROM ZMIANY)"},
        {"creating change", "FROM (SELECT ZMIANA_ID Z FROM KDZIALKA UNION ALL SELECT ZMIANA_ID FROM RGRUN "
                            "UNION ALL SELECT ZMIANA_ID FROM KBUDYNEK UNION ALL SELECT ZMIANA_ID FROM KLOKAL "
                            "UNION ALL SELECT ZMIANA_ID FROM KW_DLK UNION ALL SELECT ZMIANA_ID FROM LWRGRUN "
                            "WHERE ZMIANA_ID <> 100000) WHERE Z IS NULL OR Z NOT IN (SELECT ID FROM ZMIANY)"},
        {"retired after created", "FROM KDZIALKA WHERE ZMIANA_KAS_ID <> 0 AND ZMIANA_KAS_ID <= ZMIANA_ID"},
        {"change user and case", "FROM ZMIANY WHERE USER_ID NOT IN (SELECT ID FROM EW_USER) OR "
                                 "(SPRAWA_ID <> 0 AND SPRAWA_ID NOT IN (SELECT SPRAWA_ID FROM SPRAWA))"},
        {"case parts", "FROM (SELECT SPRAWA_ID FROM SPRAWA_NR UNION ALL SELECT SPRAWA_ID FROM SPRAWA_DOK UNION ALL "
                       "SELECT SPRAWA_ID FROM SPRAWA_OPERAT UNION ALL SELECT SPRAWA_ID FROM SPRAWA_OPERAT_Z) "
                       "WHERE SPRAWA_ID NOT IN (SELECT SPRAWA_ID FROM SPRAWA)"},
        {"case documents", "FROM SPRAWA_DOK WHERE DOK_ID NOT IN (SELECT DOK_ID FROM DOK)"},
        {"change order", "FROM (SELECT DATA_D * 1000000 + CZAS_D T, LAG(DATA_D * 1000000 + CZAS_D) OVER (ORDER BY ID) P "
                         "FROM ZMIANY) WHERE T <= P"},
        {"change date as stored", "FROM ZMIANY WHERE DATAD <> printf('%04d-%02d-%02d %02d:%02d:%02d', DATA_D / 10000, "
                                  "DATA_D / 100 % 100, DATA_D % 100, CZAS_D / 10000, CZAS_D / 100 % 100, CZAS_D % 100)"},
        {"contour areas sum to the parcel", "FROM KDZIALKA WHERE AREA <> (SELECT sum(AREA) FROM KLASOUZ "
                                            "WHERE OBSZAR_ID = KDZIALKA.MSLINK)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(q("SELECT count(*) " + c.orphans), "0") << c.what;
}

// Every parcel version finds the land book valid when it was retired (or now), by the rule that
// compares change identifiers.
TEST_F(GeneratedRegister, LandBookHistoryFollowsParcelVersions)
{
    const std::string retiredAt = "(CASE WHEN IFNULL(D.ZMIANA_KAS_ID, 0) = 0 THEN 9999999999 ELSE D.ZMIANA_KAS_ID END)";
    const std::string matches = "(SELECT count(*) FROM KW_DLK K WHERE K.DZIALKA_ID = D.DZIALKA_ID AND "
                                "(K.STATUS = 'P' OR K.STATUS IS NULL) AND K.ZMIANA_ID < " + retiredAt
        + " AND IFNULL(K.ZMIANA_KAS_ID, 9999999999) >= " + retiredAt + ")";
    EXPECT_EQ(q("SELECT count(*) FROM KDZIALKA D WHERE " + matches + " = 0 AND D.DZIALKA_ID IN "
                "(SELECT DZIALKA_ID FROM KW_DLK WHERE STATUS = 'P' OR STATUS IS NULL)"), "0");
    // Retired versions with a land book that changed later exist, and see the old book.
    EXPECT_NE(q("SELECT count(*) FROM KDZIALKA D WHERE D.ZMIANA_KAS_ID <> 0 AND " + matches + " = 1 AND "
                "(SELECT K.KW_ID FROM KW_DLK K WHERE K.DZIALKA_ID = D.DZIALKA_ID AND K.ZMIANA_KAS_ID IS NULL "
                "AND K.STATUS = 'P') NOT IN (SELECT K.KW_ID FROM KW_DLK K WHERE K.DZIALKA_ID = D.DZIALKA_ID AND "
                "K.ZMIANA_ID < D.ZMIANA_KAS_ID AND K.ZMIANA_KAS_ID >= D.ZMIANA_KAS_ID)"), "0");
}

TEST_F(GeneratedRegister, HoldsTheShowcaseShapes)
{
    struct Case {
        const char *fact;
        std::string sql;
        const char *expected;
    } cases[] = {
        {"G-1 shares 1/2 + 1/2",
         "SELECT group_concat(S, ' + ') FROM (SELECT L_UDZIAL || '/' || M_UDZIAL S FROM LWRGRUN WHERE ID_JR = 1000001 "
         "AND " + isCurrent("LWRGRUN") + " ORDER BY MSLINK)", "1/2 + 1/2"},
        {"G-2 shares 1/3 x 3", "SELECT group_concat(L_UDZIAL || '/' || M_UDZIAL) FROM LWRGRUN WHERE ID_JR = 1000002",
         "1/3,1/3,1/3"},
        {"G-1 is unit 1 of precinct 1", "SELECT OBREB_ID || ' ' || KOL_OBREB FROM RGRUN WHERE ID_JR = 1000001", "1 1"},
        {"parcel 1: two current land books 'P'",
         "SELECT count(*) FROM KW_DLK WHERE DZIALKA_ID = 3000001 AND STATUS = 'P' AND ZMIANA_KAS_ID IS NULL", "2"},
        {"link statuses P, NULL and A",
         "SELECT group_concat(S) FROM (SELECT DISTINCT IFNULL(STATUS, 'NULL') S FROM KW_DLK ORDER BY S)", "A,NULL,P"},
        {"parcel numbers 1, 2/1 with '' and 2/2-A",
         "SELECT group_concat(NR_L || IFNULL('/' || NR_M, '') || IFNULL('[' || NR_ADD || ']', '<null>'), ' ') "
         "FROM KDZIALKA WHERE DZIALKA_ID IN (3000001, 3000002, 3000003)", "1<null> 2/1[] 2/2[A]"},
        {"tiny area with AROWA 0, AROWA 1", "SELECT group_concat(AREA || ':' || AROWA) FROM KDZIALKA "
                                            "WHERE DZIALKA_ID IN (3000002, 3000003)", "5.0:0,1234.0:1"},
        {"current with ZMIANA_KAS_ID NULL and 0 (parcels)",
         "SELECT (SELECT count(*) > 10 FROM KDZIALKA WHERE ZMIANA_KAS_ID IS NULL) || (SELECT count(*) > 10 "
         "FROM KDZIALKA WHERE ZMIANA_KAS_ID = 0) || (SELECT count(*) > 10 FROM KDZIALKA WHERE ZMIANA_KAS_ID <> 0)", "111"},
        {"current with ZMIANA_KAS_ID NULL and 0 (holders)",
         "SELECT (SELECT count(*) > 10 FROM LWRGRUN WHERE ZMIANA_KAS_ID IS NULL) || (SELECT count(*) > 3 "
         "FROM LWRGRUN WHERE ZMIANA_KAS_ID = 0) || (SELECT count(*) > 3 FROM LWRGRUN WHERE ZMIANA_KAS_ID <> 0)", "111"},
        {"parcel 4 moved from G-8 to G-3 at change 100011",
         "SELECT group_concat(ID_JR || ':' || ZMIANA_ID || ':' || IFNULL(ZMIANA_KAS_ID, 'NULL'), ' ') FROM KDZIALKA "
         "WHERE DZIALKA_ID = 3000005", "1000008.0:100001.0:100011.0 1000003.0:100011.0:0.0"},
        {"G-8 retired", "SELECT ZMIANA_KAS_ID FROM RGRUN WHERE ID_JR = 1000008", "100011.0"},
        {"persons at the range limits",
         "SELECT (SELECT count(*) FROM LWRGRUN WHERE OSOBA_ID IN (299999999, 300000000, 500000000) AND ID_JR < 1000014) || ' ' || "
         "(SELECT count(*) FROM OSPRAW WHERE OSPRAW_ID = 300000000) || (SELECT count(*) FROM MALZ WHERE MALZ_ID = 500000000)",
         "3 11"},
        {"G-4: perpetual usufruct with an end date", "SELECT group_concat(WLAD_ID || ':' || IFNULL(DATA_UPLYWU, 'NULL')) "
                                                     "FROM LWRGRUN WHERE ID_JR = 1000004", "1:NULL,2:20891231,2:0"},
        {"G-5 text shares", "SELECT group_concat(L_UDZIAL || '/' || M_UDZIAL || ' ' || NR_UDZIALU, '|') FROM LWRGRUN "
                            "WHERE ID_JR = 1000005", "0/0 udział we wspólnocie|0/4 część nieustalona"},
        {"group subject members", "SELECT group_concat(OSOBA_ID) FROM PDM_GR_SKL WHERE OSPRAW_ID = 300000002", "100010.0,500000001.0"},
        {"G-6 no holders, G-7 no parcels", "SELECT (SELECT count(*) FROM LWRGRUN WHERE ID_JR = 1000006) || "
                                           "(SELECT count(*) FROM KDZIALKA WHERE ID_JR = 1000007)", "00"},
        {"buildings of parcel 5 by unit kind",
         "SELECT group_concat(B.IS_BUDYNKOWA || ':' || B.ID_JR) FROM DLK_BUD L JOIN KBUDYNEK B ON L.BUDYNEK_ID = "
         "B.BUDYNEK_ID WHERE L.DZIALKA_ID = 3000006", "0:1000004.0,1:1000009.0"},
        {"building unit kinds in the random part", "SELECT group_concat(DISTINCT IS_BUDYNKOWA) FROM (SELECT IS_BUDYNKOWA "
                                                   "FROM KBUDYNEK ORDER BY IS_BUDYNKOWA)", "-1,0,1"},
        {"premises per unit L-1, L-2, L-3", "SELECT group_concat(N) FROM (SELECT count(*) N FROM KLOKAL WHERE ID_JR IN "
                                            "(1000010, 1000011, 1000012) GROUP BY ID_JR ORDER BY ID_JR)", "3,1,1"},
        {"building of L-3 current with NULL", "SELECT count(*) FROM KBUDYNEK WHERE BUDYNEK_ID = 5500005 AND ZMIANA_KAS_ID IS NULL", "1"},
        {"lift and storeys of building 5500001", "SELECT WINDA || ' ' || NUM_KOND || '/' || NUM_KOND_POD FROM KBUDYNEK "
                                                 "WHERE BUDYNEK_ID = 5500001", "2 4/1"},
        {"precinct 2 numbered per sheet", "SELECT ARKUSZOWA || ' ' || (SELECT count(*) FROM ARKUSZ WHERE OBREB_ID = 2) "
                                          "FROM OBREB WHERE MSLINK = 2", "1 4"},
        {"the last precinct of each commune sorts first",
         "SELECT count(*) FROM GMINA G WHERE (SELECT NAZWA FROM OBREB WHERE GMINA_ID = G.MSLINK ORDER BY MSLINK DESC "
         "LIMIT 1) <> (SELECT NAZWA FROM OBREB WHERE GMINA_ID = G.MSLINK ORDER BY NAZWA LIMIT 1)", "0"},
        {"change times and cases", "SELECT (SELECT CZAS_D FROM ZMIANY WHERE ID = 100002) || ' ' || "
                                   "(SELECT IFNULL(SPRAWA_ID, 'NULL') FROM ZMIANY WHERE ID = 100015) || ' ' || "
                                   "(SELECT SPRAWA_ID FROM ZMIANY WHERE ID = 100031) || ' ' || "
                                   "(SELECT count(*) FROM SPRAWA_NR WHERE SPRAWA_ID = 7000001)", "90305 NULL 0.0 2"},
        {"Polish letters in names", "SELECT count(*) FROM SLO_NAZWISKA WHERE NAZWISKO IN ('Ślęzak', 'Wójcik', 'Żak')", "3"},
        {"a land unit with the commune as owner and a parcel with no land book",
         "SELECT (SELECT count(*) > 0 FROM KDZIALKA WHERE DZIALKA_ID NOT IN (SELECT DZIALKA_ID FROM KW_DLK)) || "
         "(SELECT count(*) > 0 FROM LWRGRUN WHERE OSOBA_ID = 300000000)", "11"},
        {"a parcel divided into n/1 and n/2 in the random part",
         "SELECT count(*) > 0 FROM KDZIALKA OLD WHERE OLD.ZMIANA_KAS_ID <> 0 AND OLD.NR_M IS NULL AND NOT EXISTS "
         "(SELECT 1 FROM KDZIALKA C WHERE C.DZIALKA_ID = OLD.DZIALKA_ID AND IFNULL(C.ZMIANA_KAS_ID, 0) = 0)", "1"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(q(c.sql), c.expected) << c.fact;
}
