// The alphabetical list of holders (TSpisWladFrm, "SpisWlad.rtf") over registers built for it.
#include "app/Interaction.h"
#include "app/MainFrm.h"
#include "jet/Query.h"
#include "reports/Rejestracja.h"
#include "reports/SpisWladFrm.h"
#include "app/UstawieniaFrm.h"
#include "support/ReportTestSupport.h"
#include "support/TestApplication.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGuiApplication>
#include <QDir>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace katarix;
using katarix::registergen::RegisterBuilder;
using katarix::reports::TSpisWladFrm;

namespace {

// Communes "Dąbrowa Leśna" (1) and "Bystra" (2, sorts first). Precincts "Śródmieście" (1) and
// "Antoniów" (2, numbered per map sheet, sheet "3") in Dąbrowa, "Zalesie" (3) in Bystra.
// Localities: "Dąbrowa" (10) and "Zalesie" (12) are local, "Kraków" (11) is not.
void places(RegisterBuilder &b)
{
    reporttest::addDictionaries(b);
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Dąbrowa Leśna"}});
    b.add("GMINA", {{"MSLINK", 2.0}, {"NAZWA", "Bystra"}});
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}, {"GMINA_ID", 1.0}, {"ARKUSZOWA", 0}});
    b.add("OBREB", {{"MSLINK", 2}, {"NAZWA", "Antoniów"}, {"GMINA_ID", 1.0}, {"ARKUSZOWA", 1}});
    b.add("OBREB", {{"MSLINK", 3}, {"NAZWA", "Zalesie"}, {"GMINA_ID", 2.0}, {"ARKUSZOWA", 0}});
    b.add("ARKUSZ", {{"MSLINK", 501.0}, {"NAZWA", "3"}, {"OBREB_ID", 2}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 10.0}, {"NAZWA", "Dąbrowa"}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 11.0}, {"NAZWA", "Kraków"}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 12.0}, {"NAZWA", "Zalesie"}});
    b.add("OBR_MIEJSC", {{"OBREB_ID", 1}, {"MIEJSC_ID", 10.0}});
    b.add("OBR_MIEJSC", {{"OBREB_ID", 3}, {"MIEJSC_ID", 12.0}});
    b.add("SLO_ULICE", {{"ULICA_ID", 1}, {"NAZWA", "Lipowa"}, {"MIEJSC_ID", 10.0}});
    b.add("SLO_ULICE", {{"ULICA_ID", 2}, {"NAZWA", "Floriańska"}, {"MIEJSC_ID", 11.0}});
    b.add("SLO_ULICE", {{"ULICA_ID", 3}, {"NAZWA", "Leśna"}, {"MIEJSC_ID", 12.0}});
    b.add("ADRES", {{"ADRES_ID", 1.0}, {"ULICA_ID", 1}, {"ADR_FULL", "ul. Lipowa 1, Dąbrowa"}});
    b.add("ADRES", {{"ADRES_ID", 2.0}, {"ULICA_ID", 2}, {"ADR_FULL", "ul. Floriańska 3, Kraków"}});
    b.add("ADRES", {{"ADRES_ID", 3.0}, {"ULICA_ID", 3}, {"ADR_FULL", "ul. Leśna 2, Zalesie"}});
    b.add("ADRES", {{"ADRES_ID", 4.0}, {"ADR_FULL", "bez ulicy"}});
    int mslink = 1;
    for (const char *surname : {"Kowalski", "Nowak", "Zając", "Wiśniewski", "Wiśniewska", "Ąbel"})
        b.add("SLO_NAZWISKA", {{"MSLINK", mslink++}, {"NAZWISKO", surname}});
    mslink = 1;
    for (const char *name : {"Jan", "Adam", "Piotr", "Anna", "Ewa", "Marek", "Zofia"})
        b.add("SLO_IMIONA", {{"MSLINK", mslink++}, {"IMIE", name}});
}

void osfiz(RegisterBuilder &b, double id, int nazwisko, int imie, int imie2, int ojciec, int matka, const char *pesel,
           double adres)
{
    auto id0 = [](int v) { return v ? registergen::FieldValue(v) : registergen::FieldValue(); };
    b.add("OSFIZ", {{"OSFIZ_ID", id}, {"NAZWISKO_ID", id0(nazwisko)}, {"IMIE_ID", id0(imie)}, {"IMIE2_ID", id0(imie2)},
                    {"OJCIEC_ID", id0(ojciec)}, {"MATKA_ID", id0(matka)}, {"PESEL", pesel}, {"ADRES_ID", adres}});
}

void parcel(RegisterBuilder &b, double id, double idJr, int obreb, int nrL, registergen::FieldValue nrM = nullptr,
            registergen::FieldValue nrAdd = nullptr, registergen::FieldValue kas = nullptr, double arkusz = 0)
{
    b.add("KDZIALKA", {{"MSLINK", id}, {"DZIALKA_ID", id + 1000000}, {"ID_JR", idJr}, {"OBREB_ID", obreb},
                       {"NR_L", nrL}, {"NR_M", nrM}, {"NR_ADD", nrAdd}, {"ZMIANA_KAS_ID", kas},
                       {"ARKUSZ_ID", arkusz ? registergen::FieldValue(arkusz) : registergen::FieldValue()}});
}

void unitHolder(RegisterBuilder &b, double mslink, double idJr, double osoba, int wlad,
                registergen::FieldValue kas = nullptr)
{
    b.add("LWRGRUN", {{"MSLINK", mslink}, {"ID_JR", idJr}, {"OSOBA_ID", osoba}, {"WLAD_ID", wlad},
                      {"ZMIANA_KAS_ID", kas}});
}

void parcelHolder(RegisterBuilder &b, double mslink, double parcelMslink, double osoba, int wlad)
{
    b.add("LWKDZIALKA", {{"MSLINK", mslink}, {"DZIALKA_ID", parcelMslink + 1000000}, {"OSOBA_ID", osoba},
                         {"WLAD_ID", wlad}});
}

// Persons and holdings:
//  Kowalski Jan Adam (Piotr,Anna), Lipowa (local): unit 101, parcels 12/3 and 2 in Śródmieście,
//    and under perpetual usufruct (form 2) parcel 2 again; a retired parcel 99 of the unit.
//  Nowak Ewa (-,-), Kraków (not local): unit 102, parcel 7 in Antoniów (sheet 3), 8-A there.
//  Two persons "Zając Jan (-,-)" 100003 and 100004, Zalesie (local), holding parcels 1 and 3,
//    2 and 4 of Zalesie directly.
//  Couple 500000000 (Wiśniewski Marek 100005, Wiśniewska Zofia 100006, both Lipowa) holding unit 103
//    (parcels 5, 6 in Śródmieście); the husband also holds parcel 9 of unit 104 himself.
//  Legal person "Gmina Dąbrowa Leśna" 300000001, REGON 123456785, no locality: unit 104 (parcel 9)
//    and parcel 10 of Zalesie directly. A retired holder row of Nowak on unit 104.
RegisterBuilder listRegister()
{
    RegisterBuilder b;
    places(b);
    osfiz(b, 100001, 1, 1, 2, 3, 4, "70010112345", 1);
    osfiz(b, 100002, 2, 5, 0, 0, 0, "80020223456", 2);
    osfiz(b, 100003, 3, 1, 0, 0, 0, "90030334567", 3);
    osfiz(b, 100004, 3, 1, 0, 0, 0, "91030334567", 3);
    osfiz(b, 100005, 4, 6, 0, 0, 0, "60050556789", 1);
    osfiz(b, 100006, 5, 7, 0, 0, 0, "62050556789", 1);
    b.add("MALZ", {{"MALZ_ID", 500000000.0}, {"ON_ID", 100005.0}, {"ONA_ID", 100006.0}});
    b.add("OSPRAW", {{"OSPRAW_ID", 300000001.0}, {"NAZWA", "Gmina Dąbrowa Leśna"}, {"REGON", "123456785"},
                     {"ADRES_ID", 4.0}});
    for (double jr : {101.0, 102.0, 103.0, 104.0})
        b.add("RGRUN", {{"ID_JR", jr}, {"OBREB_ID", jr == 102 ? 2 : 1}, {"KOL_OBREB", int(jr) - 100}});
    parcel(b, 1, 101, 1, 12, 3);
    parcel(b, 2, 101, 1, 2);
    parcel(b, 3, 101, 1, 99, nullptr, nullptr, 7.0);
    parcel(b, 4, 102, 2, 7, nullptr, "", 0.0, 501);
    parcel(b, 5, 102, 2, 8, nullptr, "A", nullptr, 501);
    parcel(b, 6, 103, 1, 5);
    parcel(b, 7, 103, 1, 6);
    parcel(b, 8, 104, 1, 9);
    parcel(b, 11, 0, 3, 1);
    parcel(b, 12, 0, 3, 2);
    parcel(b, 13, 0, 3, 3);
    parcel(b, 14, 0, 3, 4);
    parcel(b, 15, 0, 3, 10);
    unitHolder(b, 1, 101, 100001, 1);
    parcelHolder(b, 1, 2, 100001, 2);
    unitHolder(b, 2, 102, 100002, 1, 0.0);
    unitHolder(b, 3, 103, 500000000, 1);
    unitHolder(b, 4, 104, 300000001, 1);
    unitHolder(b, 5, 104, 100002, 1, 9.0);
    parcelHolder(b, 2, 8, 100005, 5);
    parcelHolder(b, 3, 11, 100003, 1);
    parcelHolder(b, 4, 13, 100003, 1);
    parcelHolder(b, 5, 12, 100004, 1);
    parcelHolder(b, 6, 14, 100004, 1);
    parcelHolder(b, 7, 15, 300000001, 1);
    return b;
}

const char *const kKowalski = "Kowalski Jan Adam (Piotr,Anna)";
const char *const kNowak = "Nowak Ewa (-,-)";
const char *const kZajac = "Zając Jan (-,-)";
const char *const kMarek = "Wiśniewski Marek (-,-)";
const char *const kZofia = "Wiśniewska Zofia (-,-)";
const char *const kGmina = "Gmina Dąbrowa Leśna";

void tick(QListWidget *list, const QStringList &captions)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(captions.contains(list->item(i)->text()) ? Qt::Checked : Qt::Unchecked);
}

QStringList captions(const QListWidget *list, bool onlyTicked = false)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (!onlyTicked || list->item(i)->checkState() == Qt::Checked)
            out << list->item(i)->text();
    return out;
}

struct Entry {
    QString osoba, dzialki, adres, pesReg;
    bool operator==(const Entry &) const = default;
};

void PrintTo(const Entry &e, std::ostream *os)
{
    *os << '{' << e.osoba.toStdString() << " | " << e.dzialki.toStdString() << " | " << e.adres.toStdString() << " | "
        << e.pesReg.toStdString() << '}';
}

struct ListFixture {
    explicit ListFixture(const RegisterBuilder &b) : env(b), frm(new TSpisWladFrm(nullptr, &env.db, &env.tempQry, &env.rtf1))
    {
    }
    ~ListFixture() { delete frm; }
    // Ticks every precinct and presses "Wykonaj".
    std::vector<Entry> run(bool allPrecincts = true)
    {
        if (allPrecincts)
            frm->ZazWszObrBtn->click();
        env.removeDocument();
        frm->OkBtn->click();
        return entries();
    }
    std::vector<Entry> entries() const
    {
        // The entries of the last list stay in WynikTbl; WynikMD reads them again in the list's order.
        std::vector<Entry> out;
        jet::Query &md = *frm->WynikMD;
        md.close();
        if (md.sql().isEmpty())
            return out;
        md.open();
        for (; !md.eof(); md.next())
            out.push_back({md.asString(QStringLiteral("Osoba")), md.asString(QStringLiteral("Dzialki")),
                           md.asString(QStringLiteral("Adres")), md.asString(QStringLiteral("PesReg"))});
        return out;
    }
    std::vector<QString> names() const
    {
        std::vector<QString> out;
        for (const Entry &e : entries())
            out.push_back(e.osoba);
        return out;
    }
    reporttest::ReportEnvironment env;
    TSpisWladFrm *frm;
};

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

TEST(SpisWladTest, SetUpFillsTheListsAndTheCommuneRefillsThePrecincts)
{
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    EXPECT_EQ(reports::SpisWladFrm, w);
    EXPECT_EQ(w->windowTitle(), u("Alfabetyczny spis władających"));
    EXPECT_EQ(w->minimumSize(), QSize(420, 360));
    ASSERT_EQ(w->JEwidCbx->count(), 3);
    EXPECT_EQ(w->JEwidCbx->itemText(0), u("wszystkie"));
    EXPECT_EQ(w->JEwidCbx->currentIndex(), 0);
    EXPECT_EQ(w->JEwidCbx->itemText(1), u("Bystra"));
    EXPECT_EQ(captions(w->ObrebClb), QStringList({u("Antoniów"), u("Śródmieście"), u("Zalesie")}));
    EXPECT_TRUE(captions(w->ObrebClb, true).isEmpty());
    EXPECT_EQ(captions(w->FwladClb, true),
              QStringList({u("Własność"), u("Władanie samoistne"), u("Użytkowanie wieczyste")}));
    EXPECT_EQ(captions(w->MiejscClb), QStringList({u("Dąbrowa"), u("Zalesie")}));
    EXPECT_TRUE(captions(w->MiejscClb, true).isEmpty());
    EXPECT_TRUE(w->OsFizChb->isChecked() && w->OsPrawChb->isChecked() && w->DzialkiChb->isChecked());
    EXPECT_TRUE(w->OsWszystkieRB->isChecked());
    EXPECT_TRUE(w->SortNazwiskoRB->isChecked());
    EXPECT_EQ(w->OkBtn->text(), u("Wykonaj"));
    EXPECT_EQ(w->AnulujBtn->text(), u("Zamknij"));
    EXPECT_EQ(w->OsZamiejscRB->toolTip(), u("Osoby zamieszkałe poza obszarem ewidencji"));

    w->JEwidCbx->setCurrentIndex(2);
    w->JEwidCbxChange();
    EXPECT_EQ(captions(w->ObrebClb), QStringList({u("Antoniów"), u("Śródmieście")}));
    w->JEwidCbx->setCurrentIndex(0);
    w->JEwidCbxChange();
    EXPECT_EQ(w->ObrebClb->count(), 3);
    EXPECT_TRUE(f.env.recording.messages.empty());
}

TEST(SpisWladTest, ButtonsKindsOfPersonsAndResidenceRule)
{
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    for (const auto &[ticks, inverts, unticks, list] :
         {std::tuple{w->ZazWszObrBtn, w->OdwZazObrBtn, w->OdzWszObrBtn, w->ObrebClb},
          std::tuple{w->ZazWszWlBtn, w->OdwZazWlBtn, w->OdzWszWlBtn, w->FwladClb}}) {
        unticks->click();
        EXPECT_TRUE(captions(list, true).isEmpty());
        list->item(0)->setCheckState(Qt::Checked);
        inverts->click();
        EXPECT_EQ(captions(list, true), captions(list).mid(1));
        ticks->click();
        EXPECT_EQ(captions(list, true), captions(list));
    }

    // Localities: usable only with "Osoby miejscowe".
    EXPECT_FALSE(w->MiejscClb->isEnabled());
    EXPECT_FALSE(w->ZaznWszMscBtn->isEnabled());
    const QColor greyBackground = w->MiejscClb->palette().color(QPalette::Base);
    w->OsMiejscRB->click();
    EXPECT_TRUE(w->MiejscClb->isEnabled());
    EXPECT_TRUE(w->OdwZazMscBtn->isEnabled());
    EXPECT_NE(w->MiejscClb->palette().color(QPalette::Base), greyBackground);
    w->ZaznWszMscBtn->click();
    EXPECT_EQ(captions(w->MiejscClb, true).size(), 2);
    w->OsZamiejscRB->click();
    EXPECT_FALSE(w->MiejscClb->isEnabled());
    EXPECT_EQ(w->MiejscClb->palette().color(QPalette::Base), greyBackground);

    // At least one kind of person stays ticked.
    w->OsFizChb->click();
    EXPECT_FALSE(w->OsFizChb->isChecked());
    w->OsPrawChb->click();
    EXPECT_TRUE(w->OsFizChb->isChecked());
    EXPECT_FALSE(w->OsPrawChb->isChecked());
}

TEST(SpisWladTest, TwoPrecinctsUntickAndDisableTheParcelsBox)
{
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    tick(w->ObrebClb, {u("Zalesie")});
    EXPECT_TRUE(w->DzialkiChb->isEnabled());
    EXPECT_TRUE(w->DzialkiChb->isChecked());
    tick(w->ObrebClb, {u("Zalesie"), u("Antoniów")});
    EXPECT_FALSE(w->DzialkiChb->isEnabled());
    EXPECT_FALSE(w->DzialkiChb->isChecked());
    tick(w->ObrebClb, {u("Antoniów")});
    EXPECT_TRUE(w->DzialkiChb->isEnabled());
    EXPECT_FALSE(w->DzialkiChb->isChecked()) << "not ticked again by itself";
    w->DzialkiChb->setChecked(true);
    w->ZazWszObrBtn->click();
    EXPECT_FALSE(w->DzialkiChb->isEnabled());
    EXPECT_FALSE(w->DzialkiChb->isChecked());
    w->OdzWszObrBtn->click();
    EXPECT_TRUE(w->DzialkiChb->isEnabled());
    // A new commune brings unticked precincts.
    w->ZazWszObrBtn->click();
    w->JEwidCbx->setCurrentIndex(1);
    w->JEwidCbxChange();
    EXPECT_TRUE(w->DzialkiChb->isEnabled());
}

// One entry per run of one person id, in the query's order: legal persons first, then by name
// and parcel number.
TEST(SpisWladTest, EntriesGroupCouplesWithTheSpousesOwnParcelsAndAlternateNamesakes)
{
    ListFixture f(listRegister());
    const std::vector<Entry> expected = {
        {u(kGmina), u("9, 10"), u("bez ulicy"), u("123456785")},
        {u(kKowalski), u("2, 12/3"), u("ul. Lipowa 1, Dąbrowa"), u("70010112345")},
        {u(kNowak), u("7 ark.3, 8-A ark.3"), u("ul. Floriańska 3, Kraków"), u("80020223456")},
        {u(kZofia), u("5, 6"), u("ul. Lipowa 1, Dąbrowa"), u("62050556789")},
        {u(kMarek), u("5, 6, 9"), u("ul. Lipowa 1, Dąbrowa"), u("60050556789")},
        {u(kZajac), u("1"), u("ul. Leśna 2, Zalesie"), u("90030334567")},
        {u(kZajac), u("2"), u("ul. Leśna 2, Zalesie"), u("91030334567")},
        {u(kZajac), u("3"), u("ul. Leśna 2, Zalesie"), u("90030334567")},
        {u(kZajac), u("4"), u("ul. Leśna 2, Zalesie"), u("91030334567")},
    };
    EXPECT_EQ(f.run(), expected);
    EXPECT_TRUE(f.env.recording.messages.empty());
    ASSERT_EQ(f.env.recording.editorLaunches.size(), 1u);
    EXPECT_EQ(f.frm->ProgBar->value(), 0);
    EXPECT_EQ(f.frm->ProgBar->maximum(), int(expected.size()));
}

struct FilterCase {
    const char *name;
    bool fizyczne, prawne;
    int residence; // 0 all, 1 non-local, 2 local
    QStringList localities;
    int selects;
    std::set<QString> persons;
};

TEST(SpisWladTest, QueryTextAndResultForKindsOfPersonsAndResidence)
{
    const std::vector<FilterCase> cases = {
        {"both kinds, everybody", true, true, 0, {}, 6,
         {u(kGmina), u(kKowalski), u(kNowak), u(kZofia), u(kMarek), u(kZajac)}},
        {"natural persons only", true, false, 0, {}, 4, {u(kKowalski), u(kNowak), u(kZofia), u(kMarek), u(kZajac)}},
        {"legal persons only", false, true, 0, {}, 2, {u(kGmina)}},
        // The commune has no locality: not "zamiejscowa" either.
        {"non-local", true, true, 1, {}, 6, {u(kNowak)}},
        {"local, Dąbrowa", true, true, 2, {u("Dąbrowa")}, 6, {u(kKowalski), u(kZofia), u(kMarek)}},
        {"local, both", true, true, 2, {u("Dąbrowa"), u("Zalesie")}, 6,
         {u(kKowalski), u(kZofia), u(kMarek), u(kZajac)}},
    };
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    for (const FilterCase &c : cases) {
        SCOPED_TRACE(c.name);
        w->OsFizChb->setChecked(c.fizyczne);
        w->OsPrawChb->setChecked(c.prawne);
        (c.residence == 0 ? w->OsWszystkieRB : c.residence == 1 ? w->OsZamiejscRB : w->OsMiejscRB)->click();
        tick(w->MiejscClb, c.localities);
        std::set<QString> persons;
        for (const Entry &e : f.run())
            persons.insert(e.osoba);
        EXPECT_EQ(persons, c.persons);
        EXPECT_TRUE(f.env.recording.messages.empty());

        const QString sql = w->MainQry->sql();
        EXPECT_EQ(sql, w->BudujSql());
        EXPECT_EQ(sql.count(QStringLiteral("SELECT")), c.selects);
        EXPECT_EQ(sql.count(QStringLiteral("'F' as TYP")), c.fizyczne ? 4 : 0);
        EXPECT_EQ(sql.count(QStringLiteral("'P' as TYP")), c.prawne ? 2 : 0);
        EXPECT_EQ(sql.count(QStringLiteral("UNION")), c.selects - 1);
        EXPECT_TRUE(sql.endsWith(QStringLiteral(" ORDER BY 1 desc, 3, nr_l, nr_m"))) << sql.right(60).toStdString();
        EXPECT_FALSE(sql.contains(QStringLiteral("UNION  ORDER")));
        QString residence;
        if (c.residence == 1)
            residence = QStringLiteral(" AND slo_miejsc.miejsc_id not in (select miejsc_id from obr_miejsc)");
        else if (c.residence == 2)
            residence = QStringLiteral(" AND slo_miejsc.miejsc_id in (%1)")
                            .arg(c.localities.size() == 2 ? QStringLiteral("10,12") : QStringLiteral("10"));
        const QString condition =
            QStringLiteral("AND kdzialka.obreb_id in (2,1,3) AND lw.wlad_id in (1,5,2) ") + residence;
        EXPECT_EQ(sql.count(condition + QLatin1Char('\n')) + sql.count(condition + QStringLiteral(" UNION ")) +
                      sql.count(condition + QStringLiteral(" ORDER BY")),
                  c.selects)
            << "every select ends with the whole condition";
    }
}

TEST(SpisWladTest, FormsOfHoldingAndRetiredRowsLimitTheList)
{
    ListFixture f(listRegister());
    tick(f.frm->FwladClb, {u("Użytkowanie wieczyste")});
    EXPECT_EQ(f.run(), std::vector<Entry>({{u(kKowalski), u("2"), u("ul. Lipowa 1, Dąbrowa"), u("70010112345")}}));
    tick(f.frm->FwladClb, {u("Władanie samoistne")});
    tick(f.frm->ObrebClb, {u("Śródmieście")});
    EXPECT_EQ(f.run(false), std::vector<Entry>({{u(kMarek), u("9"), u("ul. Lipowa 1, Dąbrowa"), u("60050556789")}}));
}

TEST(SpisWladTest, SortByAddressIgnoresCaseInPolishOrder)
{
    RegisterBuilder b = listRegister();
    // Case does not matter and ł comes after l.
    b.add("ADRES", {{"ADRES_ID", 5.0}, {"ULICA_ID", 1}, {"ADR_FULL", "UL. Łąkowa 1"}});
    b.add("ADRES", {{"ADRES_ID", 6.0}, {"ULICA_ID", 1}, {"ADR_FULL", "ul. lipowa 9"}});
    b.add("OSFIZ", {{"OSFIZ_ID", 100007.0}, {"NAZWISKO_ID", 6}, {"IMIE_ID", 1}, {"ADRES_ID", 5.0}});
    b.add("OSFIZ", {{"OSFIZ_ID", 100008.0}, {"NAZWISKO_ID", 6}, {"IMIE_ID", 2}, {"ADRES_ID", 6.0}});
    parcelHolder(b, 20, 11, 100007, 1);
    parcelHolder(b, 21, 11, 100008, 1);
    ListFixture f(b);
    f.frm->SortAdresRB->setChecked(true);
    QStringList adresy;
    for (const Entry &e : f.run())
        adresy << e.adres;
    EXPECT_EQ(adresy, QStringList({u("bez ulicy"), u("ul. Floriańska 3, Kraków"), u("ul. Leśna 2, Zalesie"),
                                   u("ul. Leśna 2, Zalesie"), u("ul. Leśna 2, Zalesie"), u("ul. Leśna 2, Zalesie"),
                                   u("ul. Lipowa 1, Dąbrowa"), u("ul. Lipowa 1, Dąbrowa"),
                                   u("ul. Lipowa 1, Dąbrowa"), u("ul. lipowa 9"), u("UL. Łąkowa 1")}));
}

// One person with 833 parcels numbered 1000..1832 and one more parcel: "12" makes the text
// exactly 5000 characters, "123" one more.
TEST(SpisWladTest, ParcelTextLongerThanTheFieldEndsInIInne)
{
    for (const auto &[first, cut] : {std::pair{12, false}, std::pair{123, true}}) {
        RegisterBuilder b;
        places(b);
        osfiz(b, 100001, 1, 1, 0, 0, 0, "70010112345", 1);
        b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 1}});
        unitHolder(b, 1, 101, 100001, 1);
        parcel(b, 1, 101, 1, first);
        for (int i = 0; i < 833; ++i)
            parcel(b, 10 + i, 101, 1, 1000 + i);
        ListFixture f(b);
        const std::vector<Entry> entries = f.run();
        ASSERT_EQ(entries.size(), 1u);
        const QString &dzialki = entries[0].dzialki;
        EXPECT_EQ(dzialki.size(), 5000);
        EXPECT_TRUE(dzialki.startsWith(QString::number(first) + QStringLiteral(", 1000, 1001, ")));
        if (cut) {
            EXPECT_TRUE(dzialki.endsWith(QStringLiteral(", 1829, 1830,... I INNE"))) << dzialki.right(30).toStdString();
        } else {
            EXPECT_TRUE(dzialki.endsWith(QStringLiteral(", 1831, 1832")));
        }
    }
}

TEST(SpisWladTest, CriteriaText)
{
    struct Case {
        bool fizyczne, prawne;
        int residence;
        const char *zakres;
    } cases[] = {
        {true, true, 0, "Osoby prawne, Osoby fizyczne"},
        {false, true, 0, "Osoby prawne"},
        {true, false, 1, "Osoby fizyczne, Osoby zamiejscowe"},
        {true, true, 2, "Osoby prawne, Osoby fizyczne, Osoby miejscowe"},
    };
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    w->NazwyObrebow = u("Antoniów, Zalesie");
    w->NazwyFormWlad = u("Własność");
    for (const Case &c : cases) {
        w->OsFizChb->setChecked(c.fizyczne);
        w->OsPrawChb->setChecked(c.prawne);
        (c.residence == 0 ? w->OsWszystkieRB : c.residence == 1 ? w->OsZamiejscRB : w->OsMiejscRB)->setChecked(true);
        EXPECT_EQ(w->ValueRequest(QStringLiteral("kryteria")).toString(),
                  u("OBRĘBY: Antoniów, Zalesie\r\nFORMY WŁADANIA: Własność\r\nZAKRES: ") + u(c.zakres));
    }
}

TEST(SpisWladTest, RequestsOfTheTemplate)
{
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    jet::Dataset *dataset = nullptr;
    w->DataSetRequest(QStringLiteral("SpisWladDS"), dataset);
    EXPECT_EQ(dataset, nullptr);
    w->DataSetRequest(QStringLiteral("spiswladds"), dataset);
    EXPECT_EQ(dataset, w->WynikMD);
    EXPECT_EQ(w->ValueRequest(QStringLiteral("Kryteria")), QVariant(QString()));
    EXPECT_TRUE(QDate::fromString(w->ValueRequest(QStringLiteral("current_date")).toString(), QStringLiteral("dd.MM.yyyy"))
                    .isValid());
    w->ProgBar->setRange(0, 3);
    w->ProgBar->setValue(0);
    EXPECT_EQ(w->ValueRequest(QStringLiteral("dodajdlk")), QVariant(true));
    w->DzialkiChb->setChecked(false);
    EXPECT_EQ(w->ValueRequest(QStringLiteral("dodajdlk")), QVariant(false));
    EXPECT_EQ(w->ProgBar->value(), 2);
}

TEST(SpisWladTest, TheDocumentListsEveryEntryWithItsParcelsWhenAsked)
{
    ListFixture f(listRegister());
    tick(f.frm->ObrebClb, {u("Zalesie")});
    f.run(false);
    ASSERT_TRUE(f.env.recording.messages.empty());
    ASSERT_EQ(f.env.recording.editorLaunches.size(), 1u);
    EXPECT_EQ(f.env.recording.editorLaunches[0].document, f.env.documentPath());
    QString text = f.env.documentText();
    for (const char *expected :
         {"Alfabetyczny spis władających\nSporządzono dnia ",
          "Kryteria spisu\nOBRĘBY: Zalesie\nFORMY WŁADANIA: Własność, Władanie samoistne, Użytkowanie wieczyste\n"
          "ZAKRES: Osoby prawne, Osoby fizyczne\n",
          "Władający, adres\nPESEL / REGON\n\n"
          "Gmina Dąbrowa Leśna\nbez ulicy\nDziałki: 10\n123456785\n\n"
          "Zając Jan (-,-)\nul. Leśna 2, Zalesie\nDziałki: 1\n90030334567\n\n"
          "Zając Jan (-,-)\nul. Leśna 2, Zalesie\nDziałki: 2\n91030334567\n\n",
          "Działki: 4\n91030334567\n\nKoniec spisu."}) {
        EXPECT_TRUE(text.contains(u(expected))) << expected << "\n---\n" << text.toStdString();
    }

    // Two precincts: the parcels box is off and the entries come without parcels.
    f.frm->ZazWszObrBtn->click();
    f.run();
    text = f.env.documentText();
    EXPECT_TRUE(text.contains(u("OBRĘBY: Antoniów, Śródmieście, Zalesie\n")));
    EXPECT_TRUE(text.contains(u("Kowalski Jan Adam (Piotr,Anna)\nul. Lipowa 1, Dąbrowa\n70010112345\n"))) << text.toStdString();
    EXPECT_FALSE(text.contains(u("Działki:")));
    EXPECT_EQ(reporttest::occurrences(text, u(kZajac)), 4);
}

// The program's own start-up: the menu item works once the reports layer registered the window;
// the window is modal, fills its lists on the main window's scratch query and is freed on closing.
TEST(SpisWladTest, MenuOpensTheModalWindowAndClosingFreesIt)
{
    test::ensureApplication();
    test::RecordingInteraction recording;
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Program"));
    auto main = std::make_unique<app::TMainFrm>(nullptr, root.filePath(QStringLiteral("Program")));
    app::MainFrm = main.get();
    EXPECT_FALSE(main->SpisWladMi->isEnabled());
    reports::zarejestrujSpisWladajacych();
    EXPECT_TRUE(main->SpisWladMi->isEnabled());
    listRegister().toDatabase(main->baza());

    int opened = 0;
    for (int round = 0; round < 2; ++round) {
        QTimer::singleShot(0, [&] {
            TSpisWladFrm *w = reports::SpisWladFrm;
            ASSERT_NE(w, nullptr);
            ++opened;
            EXPECT_TRUE(w->isModal());
            EXPECT_EQ(main->okno(app::OknoProgramu::SpisWladajacych), w);
            EXPECT_EQ(w->ObrebClb->count(), 3);
            EXPECT_EQ(w->JEwidCbx->itemText(0), u("wszystkie"));
            w->AnulujBtn->click();
        });
        main->SpisWladMi->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(reports::SpisWladFrm, nullptr);
        EXPECT_EQ(main->okno(app::OknoProgramu::SpisWladajacych), nullptr);
    }
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(recording.messages.empty());
    app::zarejestrujOkno(app::OknoProgramu::SpisWladajacych, nullptr);
    main.reset();
    app::MainFrm = nullptr;
    app::UstawieniaFrm = nullptr;
}

TEST(SpisWladTest, WarningsAndErrorsLeaveTheListAsItWas)
{
    ListFixture f(listRegister());
    TSpisWladFrm *w = f.frm;
    auto &rec = f.env.recording;
    const QString title = app::TytulAplikacji();

    // Each step leaves one more choice missing; "Osoby miejscowe" without a locality would run
    // an empty IN list.
    const std::vector<std::pair<std::function<void()>, const char *>> steps = {
        {[] {}, "Wybierz jakieś obręby."},
        {[w] { w->ZazWszObrBtn->click(); w->OdzWszWlBtn->click(); }, "Określ jakieś formy władania."},
        {[w] { w->ZazWszWlBtn->click(); w->OsMiejscRB->click(); }, "Zaznacz jakieś miejscowości."},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        w->OkBtn->click();
        ASSERT_EQ(rec.messages.size(), i + 1);
        EXPECT_EQ(rec.messages[i].text, u(steps[i].second));
        EXPECT_EQ(rec.messages[i].caption, title);
        EXPECT_EQ(rec.messages[i].flags, app::mb::IconWarning);
    }
    EXPECT_TRUE(rec.editorLaunches.empty());
    EXPECT_TRUE(w->MainQry->sql().isEmpty()) << "no query ran";

    // A database error: its message in an error box, no document.
    w->OsWszystkieRB->click();
    f.env.db.execNative(QStringLiteral("DROP TABLE slo_miejsc"));
    w->OkBtn->click();
    ASSERT_EQ(rec.messages.size(), 4u);
    EXPECT_EQ(rec.messages[3].caption, title);
    EXPECT_EQ(rec.messages[3].flags, app::mb::IconError);
    EXPECT_TRUE(rec.messages[3].text.contains(u("slo_miejsc"), Qt::CaseInsensitive)) << rec.messages[3].text.toStdString();
    EXPECT_TRUE(rec.editorLaunches.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// "Anuluj" while the list is read: no document, no message, the cursor back; "Wykonaj" works at
// once again.
TEST(SpisWladTest, AnulujWhileTheListIsReadLeavesNoDocument)
{
    ListFixture f(listRegister());
    f.env.recording.cancelWhen = [](const test::RecordingInteraction::ProgressUpdate &update) {
        return update.detail.startsWith(u("Wiersze listy władających"));
    };
    f.frm->ZazWszObrBtn->click();
    f.env.removeDocument();
    f.frm->OkBtn->click();
    EXPECT_TRUE(f.env.documentRtf().isEmpty());
    EXPECT_TRUE(f.env.recording.editorLaunches.empty());
    EXPECT_TRUE(f.env.recording.messages.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ASSERT_EQ(f.env.recording.progresses.size(), 1u);
    EXPECT_EQ(f.env.recording.progresses[0].updates.front().detail, u("Wiersze listy władających: 1"));

    f.env.recording.cancelWhen = nullptr;
    EXPECT_EQ(f.run().size(), 9u);
    EXPECT_EQ(f.env.recording.editorLaunches.size(), 1u);
}

} // namespace
