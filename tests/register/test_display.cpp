#include "RegisterTestSupport.h"
#include "register/DisplayExpressions.h"
#include "registergen/RegisterBuilder.h"

#include <gtest/gtest.h>

using namespace katarix;
namespace d = katarix::reg::display;

namespace {

// A small register holding one example of every display expression's input.
class DisplayRegister : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        registergen::RegisterBuilder b;
        // Parcels: 12/3-A with remarks; 12 with an empty addition; 12 with none; areas 1234 and 5
        // m² with AROWA 0 and 1.
        b.add("KDZIALKA", {{"MSLINK", 1.0}, {"NR_L", 12}, {"NR_M", 3}, {"NR_ADD", "A"}, {"AREA", 1234.0},
                           {"AROWA", 0}, {"DATA_REJ_ZAB", 20080115}, {"UWAGI", "uwaga"}});
        b.add("KDZIALKA", {{"MSLINK", 2.0}, {"NR_L", 12}, {"NR_ADD", ""}, {"AREA", 1234.0}, {"AROWA", 1}});
        b.add("KDZIALKA", {{"MSLINK", 3.0}, {"NR_L", 12}, {"AREA", 5.0}, {"AROWA", 0}});
        b.add("KDZIALKA", {{"MSLINK", 4.0}, {"NR_L", 7}, {"AREA", 5.0}, {"AROWA", 1}});
        // Contours: RIIIa implies R; B without a class; W with class PsIV.
        b.add("SLO_UZYT", {{"MSLINK", 20}, {"SKROT", "R"}});
        b.add("SLO_UZYT", {{"MSLINK", 21}, {"SKROT", "B"}});
        b.add("SLO_UZYT", {{"MSLINK", 22}, {"SKROT", "W"}});
        b.add("SLO_KLABOT", {{"MSLINK", 10}, {"SKROT", "RIIIa"}, {"DEF_UZ", 20}});
        b.add("SLO_KLABOT", {{"MSLINK", 11}, {"SKROT", "PsIV"}, {"DEF_UZ", 23}});
        b.add("KLASOUZ", {{"MSLINK", 1.0}, {"OBSZAR_ID", 1.0}, {"KLASA_ID", 10}, {"UZYTEK_ID", 20}, {"AREA", 800.0}});
        b.add("KLASOUZ", {{"MSLINK", 2.0}, {"OBSZAR_ID", 1.0}, {"UZYTEK_ID", 21}, {"AREA", 434.0}});
        b.add("KLASOUZ", {{"MSLINK", 3.0}, {"OBSZAR_ID", 2.0}, {"KLASA_ID", 11}, {"UZYTEK_ID", 22}, {"AREA", 1234.0}});
        // Buildings.
        b.add("KBUDYNEK", {{"MSLINK", 1.0}, {"POW_ZAB", 85.0}, {"DATA_BUDOWY", 19781231}, {"NUM_KOND", 4},
                           {"NUM_KOND_POD", 1}, {"WINDA", 2}});
        b.add("KBUDYNEK", {{"MSLINK", 2.0}, {"POW_ZAB", 12.5}, {"NUM_KOND", 3}, {"WINDA", 1}});
        // Changes.
        b.add("ZMIANY", {{"ID", 1.0}, {"CZAS_D", 143005}});
        b.add("ZMIANY", {{"ID", 2.0}, {"CZAS_D", 90305}});
        // Holders, forms of holding, groups, comments.
        b.add("SLO_WLAD", {{"MSLINK", 1}, {"OPIS", "własność"}});
        b.add("SLO_GRREJ", {{"MSLINK", 1}, {"GRUPA", 1}, {"PODGRUPA", 2}});
        b.add("KOMENTARZ", {{"MSLINK", 9.0}, {"TEKST", "komentarz"}});
        b.add("LWRGRUN", {{"MSLINK", 1.0}, {"OSOBA_ID", 299999999.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                          {"M_UDZIAL", 2}, {"NR_UDZIALU", "3"}, {"GRREJ_ID", 1}, {"KOMENT", 9.0}});
        b.add("LWRGRUN", {{"MSLINK", 2.0}, {"OSOBA_ID", 300000000.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 0},
                          {"M_UDZIAL", 2}, {"NR_UDZIALU", "część"}, {"DATA_UPLYWU", 20891231}});
        b.add("LWRGRUN", {{"MSLINK", 3.0}, {"OSOBA_ID", 499999999.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                          {"M_UDZIAL", 4}, {"DATA_UPLYWU", 0}});
        b.add("LWRGRUN", {{"MSLINK", 4.0}, {"OSOBA_ID", 500000000.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                          {"M_UDZIAL", 0}});
        // Streets and persons.
        b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 1}, {"PRZEDROSTEK", "ul."}});
        b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 2}});
        b.add("SLO_ULICE", {{"ULICA_ID", 1}, {"NAZWA", "Długa"}, {"RODZ_UL_ID", 1}});
        b.add("SLO_ULICE", {{"ULICA_ID", 2}, {"NAZWA", "Krótka"}, {"RODZ_UL_ID", 2}});
        b.add("SLO_NAZWISKA", {{"MSLINK", 1}, {"NAZWISKO", "KOWALSKI"}});
        b.add("SLO_IMIONA", {{"MSLINK", 1}, {"IMIE", "JAN"}});
        b.add("SLO_IMIONA", {{"MSLINK", 2}, {"IMIE", "MARIA"}});
        b.add("SLO_IMIONA", {{"MSLINK", 3}, {"IMIE", "PIOTR"}});
        b.add("OSFIZ", {{"OSFIZ_ID", 1.0}, {"NAZWISKO_ID", 1}, {"IMIE_ID", 1}, {"IMIE2_ID", 2}, {"OJCIEC_ID", 3}});
        b.add("OSFIZ", {{"OSFIZ_ID", 2.0}, {"NAZWISKO_ID", 1}, {"MATKA_ID", 2}});
        // Units, cases, users.
        b.add("RGRUN", {{"ID_JR", 1.0}, {"KOL_OBREB", 15}});
        b.add("RBUD", {{"ID_JR", 2.0}, {"KOL_OBREB", 3}});
        b.add("RLOK", {{"ID_JR", 3.0}, {"KOL_OBREB", 7}});
        b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
        b.add("SPRAWA_NR", {{"SPRAWA_ID", 1.0}, {"NR", 12}, {"NRADD", "a"}, {"ROK", 2010}, {"OBREB_ID", 1}});
        b.add("SPRAWA_NR", {{"SPRAWA_ID", 2.0}, {"NR", 7}, {"ROK", 2011}, {"OBREB_ID", 1}});
        b.add("EW_USER", {{"ID", 1}, {"USER_NAME", "jnowak"}, {"FULL_NAME2", "Jan Nowak"}});
        b.add("EW_USER", {{"ID", 2}, {"USER_NAME", "akowal"}});
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
jet::Database *DisplayRegister::db = nullptr;

struct DisplayCase {
    const char *what;
    const char *expression;
    const char *from;  // FROM clause
    const char *where; // selects the example row
    const char *polish;
    const char *c = nullptr; // under '.', when it differs
};

const char *const kParcel = "KDZIALKA";
const char *const kContour = "KLASOUZ LEFT JOIN KDZIALKA ON KLASOUZ.OBSZAR_ID = KDZIALKA.MSLINK";
const char *const kContourClass =
    "(KLASOUZ LEFT JOIN SLO_KLABOT ON KLASOUZ.KLASA_ID = SLO_KLABOT.MSLINK) LEFT JOIN SLO_UZYT ON "
    "KLASOUZ.UZYTEK_ID = SLO_UZYT.MSLINK";
const char *const kHolder =
    "((LWRGRUN LEFT JOIN SLO_WLAD ON LWRGRUN.WLAD_ID = SLO_WLAD.MSLINK) LEFT JOIN SLO_GRREJ ON "
    "LWRGRUN.GRREJ_ID = SLO_GRREJ.MSLINK) LEFT JOIN KOMENTARZ ON LWRGRUN.KOMENT = KOMENTARZ.MSLINK";
const char *const kStreet = "SLO_ULICE LEFT JOIN SLO_RODZ_UL ON SLO_ULICE.RODZ_UL_ID = SLO_RODZ_UL.RODZ_UL_ID";
const char *const kPerson =
    "((((OSFIZ LEFT JOIN SLO_NAZWISKA ON OSFIZ.NAZWISKO_ID = SLO_NAZWISKA.MSLINK) LEFT JOIN SLO_IMIONA Si1 ON "
    "OSFIZ.IMIE_ID = Si1.MSLINK) LEFT JOIN SLO_IMIONA Si2 ON OSFIZ.IMIE2_ID = Si2.MSLINK) LEFT JOIN SLO_IMIONA "
    "Si3 ON OSFIZ.OJCIEC_ID = Si3.MSLINK) LEFT JOIN SLO_IMIONA Si4 ON OSFIZ.MATKA_ID = Si4.MSLINK";
const char *const kCase = "SPRAWA_NR AS SNR LEFT JOIN OBREB AS OBR ON SNR.OBREB_ID = OBR.MSLINK";

const DisplayCase kCases[] = {
    {"parcel number", d::NumerDzialki, kParcel, "MSLINK = 1", "12/3-A"},
    {"parcel number, empty addition", d::NumerDzialki, kParcel, "MSLINK = 2", "12"},
    {"parcel number, NULL addition", d::NumerDzialki, kParcel, "MSLINK = 3", "12"},
    {"parcel number (TempQry), empty addition", d::NumerDzialkiTempQry, kParcel, "MSLINK = 2", "12-"},
    {"parcel number (TempQry), NULL addition", d::NumerDzialkiTempQry, kParcel, "MSLINK = 3", "12"},
    {"parcel number (TempQry), addition", d::NumerDzialkiTempQry, kParcel, "MSLINK = 1", "12/3-A"},
    {"parcel area, AROWA 0", d::PowierzchniaDzialki, kParcel, "MSLINK = 1", "0,1234", "0.1234"},
    {"parcel area, AROWA 1", d::PowierzchniaDzialki, kParcel, "MSLINK = 2", "0,12", "0.12"},
    {"tiny area, AROWA 0", d::PowierzchniaDzialki, kParcel, "MSLINK = 3", "0,0005", "0.0005"},
    {"tiny area, AROWA 1", d::PowierzchniaDzialki, kParcel, "MSLINK = 4", "0,00", "0.00"},
    {"contour area, parcel precision 4", d::PowierzchniaKonturu, kContour, "KLASOUZ.MSLINK = 1", "0,0800", "0.0800"},
    {"contour area, parcel precision 2", d::PowierzchniaKonturu, kContour, "KLASOUZ.MSLINK = 3", "0,12", "0.12"},
    {"summed contour area", d::SumaPowierzchniKonturow, "KLASOUZ", "OBSZAR_ID = 1", "0,1234", "0.1234"},
    {"square metres", d::PowierzchniaM2, "KBUDYNEK", "MSLINK = 1", "85,00", "85.00"},
    {"square metres, fraction", d::PowierzchniaM2, "KBUDYNEK", "MSLINK = 2", "12,50", "12.50"},
    {"date", d::Data, kParcel, "MSLINK = 1", "2008-01-15"},
    {"time", d::Czas, "ZMIANY", "ID = 1", "14:30:05"},
    {"time before ten", d::Czas, "ZMIANY", "ID = 2", "9:03:05"},
    {"year", d::RokBudowy, "KBUDYNEK", "MSLINK = 1", "1978"},
    {"remarks flag set", d::FlagaUwag, kParcel, "MSLINK = 1", "!"},
    {"remarks flag clear", d::FlagaUwag, kParcel, "MSLINK = 2", ""},
    {"holder comment flag set", d::FlagaKomentarza, kHolder, "LWRGRUN.MSLINK = 1", "!"},
    {"holder comment flag clear", d::FlagaKomentarza, kHolder, "LWRGRUN.MSLINK = 2", ""},
    {"share", d::Udzial, kHolder, "LWRGRUN.MSLINK = 1", "1/2 3"},
    {"share text alone", d::Udzial, kHolder, "LWRGRUN.MSLINK = 2", "część"},
    {"share without number", d::Udzial, kHolder, "LWRGRUN.MSLINK = 3", "1/4"},
    {"share fraction", d::UdzialDziesietny, kHolder, "LWRGRUN.MSLINK = 1", "0,5", "0.5"},
    {"share fraction, L 0", d::UdzialDziesietny, kHolder, "LWRGRUN.MSLINK = 2", "0"},
    {"share fraction, M 0", d::UdzialDziesietny, kHolder, "LWRGRUN.MSLINK = 4", "0"},
    {"natural person just below the range", d::RodzajOsoby, kHolder, "LWRGRUN.MSLINK = 1", "F"},
    {"legal person at 300000000", d::RodzajOsoby, kHolder, "LWRGRUN.MSLINK = 2", "P"},
    {"legal person at 499999999", d::RodzajOsoby, kHolder, "LWRGRUN.MSLINK = 3", "P"},
    {"married couple at 500000000", d::RodzajOsoby, kHolder, "LWRGRUN.MSLINK = 4", "F"},
    {"form of holding", d::FormaWladania, kHolder, "LWRGRUN.MSLINK = 1", "własność"},
    {"form of holding with end date", d::FormaWladania, kHolder, "LWRGRUN.MSLINK = 2", "własność do dn. 20891231"},
    {"form of holding, end date 0", d::FormaWladania, kHolder, "LWRGRUN.MSLINK = 3", "własność"},
    {"register group", d::Grupa, kHolder, "LWRGRUN.MSLINK = 1", "1.2"},
    {"street with prefix", d::Ulica, kStreet, "SLO_ULICE.ULICA_ID = 1", "Długa ul."},
    {"street without prefix", d::Ulica, kStreet, "SLO_ULICE.ULICA_ID = 2", "Krótka "},
    {"natural person", d::OsobaFizyczna, kPerson, "OSFIZ.OSFIZ_ID = 1", "KOWALSKI JAN MARIA (PIOTR,-)"},
    {"natural person, names missing", d::OsobaFizyczna, kPerson, "OSFIZ.OSFIZ_ID = 2", "KOWALSKI (-,MARIA)"},
    {"storeys", d::Kondygnacje, "KBUDYNEK", "MSLINK = 1", "4/1"},
    {"storeys, none below", d::Kondygnacje, "KBUDYNEK", "MSLINK = 2", "3"},
    {"lift", d::Winda, "KBUDYNEK", "MSLINK = 1", "jest"},
    {"no lift", d::Winda, "KBUDYNEK", "MSLINK = 2", "nie ma"},
    {"class implying its use", d::KlasoUzytek, kContourClass, "KLASOUZ.MSLINK = 1", "RIIIa"},
    {"use without class", d::KlasoUzytek, kContourClass, "KLASOUZ.MSLINK = 2", "B"},
    {"use and class", d::KlasoUzytek, kContourClass, "KLASOUZ.MSLINK = 3", "W-PsIV"},
    {"unit number", d::NumerJr, "RGRUN", "ID_JR = 1", "15"},
    {"land unit", d::NumerJrGruntowej, "RGRUN", "ID_JR = 1", "G-15"},
    {"building unit", d::NumerJrBudynkowej, "RBUD", "ID_JR = 2", "B-3"},
    {"premises unit", d::NumerJrLokalowej, "RLOK", "ID_JR = 3", "L-7"},
    {"case number", d::NumerSprawy, kCase, "SNR.SPRAWA_ID = 1", "12-a/2010 obr. Śródmieście"},
    {"case number without addition", d::NumerSprawy, kCase, "SNR.SPRAWA_ID = 2", "7/2011 obr. Śródmieście"},
    {"user with full name", d::Uzytkownik, "EW_USER AS USR", "USR.ID = 1", "Jan Nowak"},
    {"user without full name", d::Uzytkownik, "EW_USER AS USR", "USR.ID = 2", "akowal"},
};

TEST_F(DisplayRegister, EveryExpressionGivesItsText)
{
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
        regtest::SeparatorGuard guard(separator);
        for (const DisplayCase &c : kCases) {
            const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                    .arg(QString::fromUtf8(c.expression), QString::fromUtf8(c.from),
                                         QString::fromUtf8(c.where));
            const char *expected = (separator == QLatin1Char('.') && c.c) ? c.c : c.polish;
            try {
                const regtest::Result r = regtest::run(*db, sql);
                ASSERT_EQ(r.rows.size(), 1u) << c.what;
                EXPECT_EQ(r.rows[0][0], QString::fromUtf8(expected))
                    << c.what << " (separator " << separator.toLatin1() << ")";
            } catch (const jet::JetError &e) {
                ADD_FAILURE() << c.what << ": " << e.message().toStdString();
            }
        }
    }
}

} // namespace
