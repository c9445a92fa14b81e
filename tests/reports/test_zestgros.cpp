// The land summary of persons (ZestGrJr.rtf) over a register built for the purpose, under
// Polish regional settings taken from the locale as the program does at start.
#include "jet/JetFunctions.h"
#include "jet/MemTable.h"
#include "jet/Query.h"
#include "reports/ReportValues.h"
#include "reports/ZestGrOs.h"
#include "support/ReportTestSupport.h"

#include <gtest/gtest.h>

using namespace katarix;
using katarix::registergen::RegisterBuilder;
using katarix::reports::TZestGrOsDM;

namespace {

// The locale the program takes its decimal separator from.
const bool polskieUstawienia = qputenv("LC_ALL", "pl_PL.UTF-8");

constexpr double Kowalski = 100001, Kowalska = 100002, Nowak = 100003, Zielinski = 100004;
constexpr double Malzenstwo = 500000001, Grupa = 300000007;

void holder(RegisterBuilder &b, double mslink, double idJr, double osoba, int wlad, int l, int m,
            registergen::FieldValue nr, double kas = 0)
{
    b.add("LWRGRUN", {{"MSLINK", mslink}, {"ID_JR", idJr}, {"OSOBA_ID", osoba}, {"WLAD_ID", wlad},
                      {"L_UDZIAL", l}, {"M_UDZIAL", m}, {"NR_UDZIALU", nr}, {"ZMIANA_KAS_ID", kas}});
}

void parcel(RegisterBuilder &b, double mslink, double idJr, double kas = 0)
{
    b.add("KDZIALKA", {{"MSLINK", mslink}, {"DZIALKA_ID", mslink + 1000}, {"ID_JR", idJr}, {"OBREB_ID", 1},
                       {"NR_L", int(mslink) % 100}, {"AREA", 1.0}, {"ZMIANA_KAS_ID", kas}});
}

void contour(RegisterBuilder &b, double mslink, double parcelMslink, int uzytek, registergen::FieldValue klasa,
             double area)
{
    b.add("KLASOUZ", {{"MSLINK", mslink}, {"OBSZAR_ID", parcelMslink}, {"UZYTEK_ID", uzytek}, {"KLASA_ID", klasa},
                      {"AREA", area}});
}

// Kowalski holds unit 7 (Śródmieście) himself, 1/4 without a share number; the marriage of
// Kowalski and Kowalska holds unit 3 (Antoniów), 1/2 no. "2"; the group of which Nowak is a member
// holds unit 12 with a share given only as text (no fraction). Not listed: a historical holding
// of Kowalski in unit 7 and his holding in the retired unit 8.
// Unit 7: two parcels with R RIIIa 1,2 ha + 0,8 ha and Ł ŁIII 0,6 ha, a retired parcel of 5 ha.
// Unit 3: B without a class, 0,3 ha. Unit 12: W PsIV 0,4 ha.
RegisterBuilder summaryRegister()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    b.add("OBREB", {{"MSLINK", 2}, {"NAZWA", "Antoniów"}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 7}});
    b.add("RGRUN", {{"ID_JR", 102.0}, {"OBREB_ID", 2}, {"KOL_OBREB", 3}});
    b.add("RGRUN", {{"ID_JR", 103.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 12}});
    b.add("RGRUN", {{"ID_JR", 104.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 8}, {"ZMIANA_KAS_ID", 5.0}});
    b.add("MALZ", {{"MALZ_ID", Malzenstwo}, {"ON_ID", Kowalski}, {"ONA_ID", Kowalska}});
    b.add("PDM_GR_SKL", {{"OSPRAW_ID", Grupa}, {"OSOBA_ID", Nowak}});
    holder(b, 1, 101, Kowalski, 1, 1, 4, nullptr);
    holder(b, 2, 101, Kowalski, 5, 1, 1, "", 9);
    holder(b, 3, 102, Malzenstwo, 1, 1, 2, "2");
    holder(b, 4, 103, Grupa, 2, 0, 0, "udział nieokreślony");
    holder(b, 5, 104, Kowalski, 1, 1, 1, "");
    parcel(b, 2001, 101);
    parcel(b, 2002, 101);
    parcel(b, 2003, 101, 3);
    parcel(b, 2010, 102);
    parcel(b, 2020, 103);
    contour(b, 1, 2001, 1, 11, 12000);
    contour(b, 2, 2001, 3, 12, 6000);
    contour(b, 3, 2002, 1, 11, 8000);
    contour(b, 4, 2003, 1, 11, 50000);
    contour(b, 5, 2010, 2, nullptr, 3000);
    contour(b, 6, 2020, 4, 13, 4000);
    return b;
}

class ZestGrOsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(polskieUstawienia);
        jet::setDecimalSeparator(QLatin1Char('.'));
        jet::useSystemDecimalSeparator();
        ASSERT_EQ(jet::decimalSeparator(), QLatin1Char(','));
    }

    reporttest::ReportEnvironment env{summaryRegister()};
    TZestGrOsDM dm{env.db, env.rtf1};
};

TEST_F(ZestGrOsTest, ListsEachPersonsUnitsWithAreasAndShareWeightedSums)
{
    dm.WyczyscListe();
    dm.DodajOsobe(QStringLiteral("Kowalski Jan"), QStringLiteral("ul. Długa 5, Dąbrowa"), Kowalski);
    dm.DodajOsobe(QStringLiteral("Kowalska Anna"), QString(), Kowalska);
    dm.DodajOsobe(QStringLiteral("Nowak Piotr"), QStringLiteral("ul. Polna 1"), Nowak);
    dm.DodajOsobe(QStringLiteral("Zieliński Piotr"), QStringLiteral("ul. Leśna 2"), Zielinski);
    dm.DrukujZestawienie();
    ASSERT_TRUE(env.recording.messages.empty()) << env.recording.messages[0].text.toStdString();
    const QString text = env.documentText();
    ASSERT_FALSE(text.isEmpty());
    const QString all = text.simplified();

    // Persons in the order added; the person who holds nothing has no unit.
    const qsizetype k = text.indexOf(QStringLiteral("Kowalski Jan")), a = text.indexOf(QStringLiteral("Kowalska Anna")),
                    n = text.indexOf(QStringLiteral("Nowak Piotr")), z = text.indexOf(QStringLiteral("Zieliński Piotr"));
    ASSERT_TRUE(k >= 0 && k < a && a < n && n < z) << text.toStdString();
    EXPECT_EQ(reporttest::occurrences(text.mid(z), QStringLiteral("Jednostka rejestrowa nr")), 0);

    // Kowalski: unit 7 directly and unit 3 through his marriage; the retired unit 8 and the
    // historical holding are left out. The share without a number reads as the fraction.
    const QString kowalski = text.mid(k, a - k).simplified();
    EXPECT_EQ(reporttest::occurrences(kowalski, QStringLiteral("Jednostka rejestrowa nr")), 2) << kowalski.toStdString();
    EXPECT_TRUE(kowalski.contains(QStringLiteral("Jednostka rejestrowa nr 7 obręb Śródmieście forma władania: wł udział: 1/4")))
        << kowalski.toStdString();
    EXPECT_TRUE(kowalski.contains(QStringLiteral("Jednostka rejestrowa nr 3 obręb Antoniów forma władania: wł udział: 1/2 2")));
    EXPECT_FALSE(kowalski.contains(QStringLiteral("nr 8 ")));
    EXPECT_FALSE(kowalski.contains(QStringLiteral(" wd ")));
    // 1/4 of R RIIIa 2 ha (two parcels, the retired one left out) and of Ł ŁIII 0,6 ha.
    EXPECT_TRUE(kowalski.contains(QStringLiteral("R RIIIa 2,0000 0,5000"))) << kowalski.toStdString();
    EXPECT_TRUE(kowalski.contains(QStringLiteral("Ł ŁIII 0,6000 0,1500")));
    EXPECT_TRUE(kowalski.contains(QStringLiteral("Razem 2,6000 0,6500")));
    // Unit 3: the sums start again; a use without a class.
    EXPECT_TRUE(kowalski.contains(QStringLiteral("B 0,3000 0,1500 Razem 0,3000 0,1500")));

    // Kowalska: the marriage's unit only; an empty address prints nothing.
    const QString kowalska = text.mid(a, n - a).simplified();
    EXPECT_EQ(reporttest::occurrences(kowalska, QStringLiteral("Jednostka rejestrowa nr")), 1);
    EXPECT_TRUE(kowalska.contains(QStringLiteral("Jednostka rejestrowa nr 3 ")));
    EXPECT_TRUE(kowalska.contains(QStringLiteral("Adres: Jednostka")));

    // Nowak: the group's unit, a share without a fraction weighs 0.
    const QString nowak = text.mid(n, z - n).simplified();
    EXPECT_TRUE(nowak.contains(QStringLiteral("forma władania: uw udział: udział nieokreślony")));
    EXPECT_TRUE(nowak.contains(QStringLiteral("W PsIV 0,4000 0,0000 Razem 0,4000 0,0000"))) << nowak.toStdString();

    EXPECT_TRUE(all.contains(QStringLiteral("Sporządzono dnia ") + reports::biezacaData()));
    ASSERT_EQ(env.recording.editorLaunches.size(), 1u);
    EXPECT_EQ(env.recording.editorLaunches[0].document, env.documentPath());
}

TEST_F(ZestGrOsTest, VariablesFollowTheCurrentPersonAndUnitAndAnswerOnlyExactNames)
{
    dm.WyczyscListe();
    dm.DodajOsobe(QStringLiteral("Kowalski Jan"), QString(), Kowalski);
    dm.DodajOsobe(QStringLiteral("Nowak Piotr"), QString(), Nowak);
    const std::pair<const char *, jet::Dataset *> datasets[] = {
        {"listaosmd", dm.ListaOsMD}, {"listajrqry", dm.ListaJrQry}, {"gruntyqry", dm.GruntyQry},
        {"ListaOsMD", nullptr},      {"osobyqry", nullptr},
    };
    for (const auto &[name, expected] : datasets) {
        jet::Dataset *dataset = nullptr;
        dm.DataSetRequest(QString::fromLatin1(name), dataset);
        EXPECT_EQ(dataset, expected) << name;
    }

    struct Case {
        const char *name;
        double person;
        double unit;
        QStringList shares; // pow_udzial per row of gruntyqry (use and class in Polish order)
        const char *sumaPow, *sumaPowUdz;
    } cases[] = {
        {"a quarter of each area", Kowalski, 101, {"0,1500", "0,5000"}, "2,6000", "0,6500"},
        {"a share without a fraction weighs 0", Nowak, 103, {"0,0000"}, "0,4000", "0,0000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dm.ListaOsMD->locate(QStringLiteral("osoba_id"), c.person));
        EXPECT_EQ(dm.ValueRequest(QStringLiteral("skroluj")), QVariant(QString()));
        ASSERT_TRUE(dm.ListaJrQry->locate(QStringLiteral("id_jr"), c.unit));
        dm.SumaPowGr = dm.SumaPowUdz = 99; // left over from another unit
        dm.ValueRequest(QStringLiteral("skroluj1"));
        EXPECT_EQ(dm.ValueRequest(QStringLiteral("suma_pow")).toString(), QStringLiteral("0,0000"));
        EXPECT_EQ(dm.ValueRequest(QStringLiteral("suma_pow_udz")).toString(), QStringLiteral("0,0000"));
        QStringList shares;
        dm.GruntyQry->first();
        while (!dm.GruntyQry->eof()) {
            dm.ValueRequest(QStringLiteral("sumuj"));
            shares << dm.ValueRequest(QStringLiteral("pow_udzial")).toString();
            dm.GruntyQry->next();
        }
        EXPECT_EQ(shares, c.shares);
        EXPECT_EQ(dm.ValueRequest(QStringLiteral("suma_pow")).toString(), QString::fromLatin1(c.sumaPow));
        EXPECT_EQ(dm.ValueRequest(QStringLiteral("suma_pow_udz")).toString(), QString::fromLatin1(c.sumaPowUdz));
        EXPECT_EQ(dm.ValueRequest(QStringLiteral("Suma_pow")), QVariant(QString()));
    }
}

TEST_F(ZestGrOsTest, AnEmptyListGivesADocumentWithoutPersons)
{
    dm.DodajOsobe(QStringLiteral("Kowalski Jan"), QString(), Kowalski);
    dm.WyczyscListe();
    dm.DrukujZestawienie();
    EXPECT_TRUE(env.recording.messages.empty());
    const QString text = env.documentText();
    EXPECT_TRUE(text.contains(QStringLiteral("Zestawienie gruntów w jednostkach rejestrowych")));
    EXPECT_FALSE(text.contains(QStringLiteral("Kowalski")));
    EXPECT_FALSE(text.contains(QStringLiteral("Jednostka rejestrowa nr")));
}

} // namespace
