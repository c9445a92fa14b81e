// The parcel search: the condition built from the criteria, the lists that depend on each
// other, the keystroke filters, the search itself and its hand-over to the parcel file.
#include "parcels/WarunekSelekcji.h"
#include "app/support/Child.h"
#include "support/ParcelsTestSupport.h"
#include "widgets/LookupCombo.h"

#include "app/AppError.h"
#include "app/Komunikaty.h"
#include "jet/Query.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using namespace katarix;
using parcels::KryteriaDzialek;

namespace {

// The criteria alone, as the builder joins them.
TEST(WarunekSelekcjiTest, CriteriaJoinInTheirFixedOrder)
{
    const struct {
        const char *name;
        KryteriaDzialek k;
        const char *expected;
    } cases[] = {
        {"nothing filled", {}, ""},
        {"quote in the location is escaped and upper-cased", {.polozenie = "o'brien%"},
         "UCase(kdzialka.polozenie) like 'O' + Chr$(39) + 'BRIEN%'"},
        {"area in hectares becomes square metres", {.powOd = "2"}, "kdzialka.area >= 20000"},
        {"area with a comma or a full stop", {.powOd = "0,5", .powDo = "1.25"},
         "kdzialka.area >= 5000 AND kdzialka.area <= 12500"},
        {"precinct wins over commune", {.gmina = "1", .obreb = "10"}, "kdzialka.obreb_id = 10"},
        {"commune alone", {.gmina = "2"}, "kdzialka.obreb_id in (SELECT mslink FROM obreb WHERE gmina_id = 2)"},
        {"street wins over place", {.miejscowosc = "1", .ulica = "100"},
         "kdzialka.dzialka_id in (SELECT dzialka_id FROM ew_adres WHERE adres_id in (SELECT adres_id FROM adres "
         "WHERE ulica_id = 100) and ZMIANA_KAS_ID is null)"},
        {"place with a house number",
         {.miejscowosc = "1", .numer = "1%"},
         "kdzialka.dzialka_id in (SELECT dzialka_id FROM ew_adres WHERE adres_id in (SELECT adres_id FROM adres "
         "WHERE ulica_id in (SELECT ulica_id FROM slo_ulice WHERE miejsc_id = 1) AND UCase(numer) like '1%') and "
         "ZMIANA_KAS_ID is null)"},
        {"house number alone", {.numer = "12a"},
         "kdzialka.dzialka_id in (SELECT dzialka_id FROM ew_adres WHERE adres_id in (SELECT adres_id FROM adres "
         "WHERE UCase(numer) like '12A') and ZMIANA_KAS_ID is null)"},
        {"no-address ignores street and number", {.bezAdresu = true, .ulica = "100", .numer = "4"},
         "IIf(IsNull(kdzialka.adres_id), 0,kdzialka.adres_id) < 1"},
        {"parcel number parts; the addition keeps its case", {.licznik = "12", .mianownik = "3", .nrAdd = "a'%"},
         "kdzialka.nr_l = 12 AND kdzialka.nr_m = 3 AND kdzialka.nr_add like 'a' + Chr$(39) + '%'"},
        {"class-use sub-condition", {.klasa = "11", .uzytek = "1", .powKlauzOd = "0.1", .powKlauzDo = "1"},
         "kdzialka.mslink in (SELECT obszar_id FROM klasouz WHERE klasa_id = 11 AND uzytek_id = 1 AND area >= 1000 "
         "AND area <= 10000)"},
        {"every criterion in table order",
         {.gmina = "1", .obreb = "10", .jr = "101", .arkusz = "5", .licznik = "1", .mianownik = "2", .nrAdd = "B",
          .powOd = "1", .powDo = "3", .kw = "900", .aw = "akt%", .polozenie = "pole", .miejscowosc = "1",
          .ulica = "100", .numer = "1", .klasa = "11", .uzytek = "2", .powKlauzOd = "0.5", .powKlauzDo = "2"},
         "kdzialka.obreb_id = 10 AND kdzialka.id_jr = 101 AND kdzialka.arkusz_id = 5 AND kdzialka.nr_l = 1 AND "
         "kdzialka.nr_m = 2 AND kdzialka.nr_add like 'B' AND kdzialka.area >= 10000 AND kdzialka.area <= 30000 AND "
         "kw_dlk.kw_id = 900 AND UCase(kdzialka.aw) like 'AKT%' AND UCase(kdzialka.polozenie) like 'POLE' AND "
         "kdzialka.dzialka_id in (SELECT dzialka_id FROM ew_adres WHERE adres_id in (SELECT adres_id FROM adres "
         "WHERE ulica_id = 100 AND UCase(numer) like '1') and ZMIANA_KAS_ID is null) AND kdzialka.mslink in (SELECT "
         "obszar_id FROM klasouz WHERE klasa_id = 11 AND uzytek_id = 2 AND area >= 5000 AND area <= 20000)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parcels::WarunekSelekcji(c.k), QString::fromUtf8(c.expected));
    }
}

TEST(WarunekSelekcjiTest, TextThatWouldGoIntoTheSqlUnquotedIsRefused)
{
    EXPECT_THROW(parcels::WarunekSelekcji({.licznik = "1 OR 1=1"}), app::AppError);
    EXPECT_THROW(parcels::WarunekSelekcji({.mianownik = "3-A"}), app::AppError);
    EXPECT_THROW(parcels::WarunekSelekcji({.powOd = "dwa"}), app::AppError);
    EXPECT_THROW(parcels::WarunekSelekcji({.powKlauzDo = "1;DROP"}), app::AppError);
}

// Only digits with one separator are an area: what the number reader would also take is refused
// with the message naming the text, in the dialog also when pasted.
TEST(WarunekSelekcjiTest, AreasRefuseInfinityNotANumberAndExponents)
{
    for (const char *text :
         {"inf", "nan", "INF", "Infinity", "-inf", "1e5", "1E-2", "2,5e1", " 1", "1 ", "1,2,3", ",", "-1", "+1"}) {
        SCOPED_TRACE(text);
        for (KryteriaDzialek k : {KryteriaDzialek{.powOd = text}, KryteriaDzialek{.powDo = text},
                                  KryteriaDzialek{.powKlauzOd = text}, KryteriaDzialek{.powKlauzDo = text}}) {
            try {
                parcels::WarunekSelekcji(k);
                ADD_FAILURE() << "accepted";
            } catch (const app::AppError &error) {
                EXPECT_EQ(
                    error.message(),
                    QStringLiteral("'%1' nie jest poprawną wartością zmiennoprzecinkową").arg(QString::fromUtf8(text)));
            }
        }
    }
    for (const auto &[text, metres] : {std::pair{"1", "10000"}, std::pair{"0,5", "5000"}, std::pair{"1.", "10000"},
                                       std::pair{",25", "2500"}, std::pair{"007", "70000"}}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parcels::PowierzchniaSql(QString::fromUtf8(text)), QString::fromUtf8(metres));
    }
}

TEST(WarunekSelekcjiTest, HistoryConditions)
{
    EXPECT_EQ(parcels::WarunekHistorii(parcels::StanHistorii::Aktualne),
              QStringLiteral(" AND (kdzialka.zmiana_kas_id = 0 OR kdzialka.zmiana_kas_id is null)"));
    EXPECT_EQ(parcels::WarunekHistorii(parcels::StanHistorii::Archiwalne),
              QStringLiteral(" AND kdzialka.zmiana_kas_id <> 0 "));
    EXPECT_EQ(parcels::WarunekHistorii(parcels::StanHistorii::Wszystkie), QString());
}

class DodDlkFrmTest : public parceltest::ParcelsTest {
protected:
    parcels::TDodDlkFrm *dialog()
    {
        openFile();
        return parcels::DodDlkFrm;
    }
    static QStringList items(const QComboBox *combo)
    {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    static void choose(widgets::LookupCombo *combo, const QString &key)
    {
        ASSERT_TRUE(combo->setValue(key)) << combo->objectName().toStdString() << " " << key.toStdString();
    }
    // Shows the dialog as the parcel file does (without waiting) and presses "Dodaj".
    void search(parcels::TDodDlkFrm *d)
    {
        d->show();
        test::child<QPushButton>(d, "DodajBtn")->click();
        d->hide();
    }
};

TEST_F(DodDlkFrmTest, ListsDependOnCommunePrecinctPlaceAndCourtDivision)
{
    parcels::TDodDlkFrm *d = dialog();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Selekcja działek"));
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "GminaLcbx")),
              QStringList({"wszystkie", "Bystra", "Zielona"}));
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "ObrebLcbx")),
              QStringList({"wszystkie", "Łąki", "Rynek", "Zawodzie"}));
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "JrLcbx")), QStringList({"wszystkie"}));
    EXPECT_EQ(items(test::child<QComboBox>(d, "KlasaCbx")), QStringList({"wszystkie", "RIIIa"}));
    EXPECT_EQ(items(test::child<QComboBox>(d, "UzytekCbx")), QStringList({"wszystkie", "B", "R"}));
    EXPECT_EQ(items(test::child<QComboBox>(d, "WydzialKwCbx")), QStringList({"Sąd Rejonowy w Dąbrowie"}));
    EXPECT_EQ(test::child<QComboBox>(d, "WydzialKwCbx")->currentIndex(), -1);
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "MiejscLcbx")), QStringList({"wszystkie", "Zielona Wieś"}));

    choose(test::child<widgets::LookupCombo>(d, "GminaLcbx"), QStringLiteral("1"));
    d->GminaLcbxChange();
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "ObrebLcbx")), QStringList({"wszystkie", "Łąki", "Rynek"}));
    choose(test::child<widgets::LookupCombo>(d, "ObrebLcbx"), QStringLiteral("10"));
    d->ObrebLcbxChange();
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "JrLcbx")), QStringList({"wszystkie", "1"}));
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "ArkuszLcbx")), QStringList({"wszystkie", "1", "3"}));
    choose(test::child<widgets::LookupCombo>(d, "JrLcbx"), QStringLiteral("101"));
    // Another commune resets the precinct and closes the unit and sheet lists.
    choose(test::child<widgets::LookupCombo>(d, "GminaLcbx"), QStringLiteral("2"));
    d->GminaLcbxChange();
    EXPECT_FALSE(test::child<widgets::LookupCombo>(d, "ObrebLcbx")->chosen());
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "JrLcbx")), QStringList({"wszystkie"}));
    EXPECT_FALSE(d->JrQry->active());

    test::child<QComboBox>(d, "WydzialKwCbx")->setCurrentIndex(0);
    d->WydzialKwCbxChange();
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "NrKwLcbx")),
              QStringList({"wszystkie", "KA1K/00000007/1", "KA1K/00012345/6"}));
    // Esc in the court division list clears it and the land books with it.
    test::child<QComboBox>(d, "WydzialKwCbx")->setFocus();
    QTest::keyClick(test::child<QComboBox>(d, "WydzialKwCbx"), Qt::Key_Escape);
    EXPECT_EQ(test::child<QComboBox>(d, "WydzialKwCbx")->currentIndex(), -1);
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "NrKwLcbx")), QStringList({"wszystkie"}));

    choose(test::child<widgets::LookupCombo>(d, "MiejscLcbx"), QStringLiteral("1"));
    d->MiejscLcbxChange();
    EXPECT_EQ(items(test::child<widgets::LookupCombo>(d, "UlicaLcbx")),
              QStringList({"wszystkie", "Długa ul.", "Krótka "}));

    test::child<QCheckBox>(d, "BezAdrChb")->click();
    EXPECT_FALSE(test::child<widgets::LookupCombo>(d, "MiejscLcbx")->isEnabled());
    EXPECT_FALSE(test::child<widgets::LookupCombo>(d, "UlicaLcbx")->isEnabled());
    EXPECT_FALSE(test::child<QLineEdit>(d, "NumerEdt")->isEnabled());
    EXPECT_TRUE(test::child<widgets::LookupCombo>(d, "MiejscLcbx")->chosen()); // contents stay
    test::child<QCheckBox>(d, "BezAdrChb")->click();
    EXPECT_TRUE(test::child<QLineEdit>(d, "NumerEdt")->isEnabled());
}

// The user choosing in a list: the entry, then the list's activation, as a click does.
void userChooses(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

TEST_F(DodDlkFrmTest, APastedAreaThatIsNoPlainNumberIsRefused)
{
    parcels::TDodDlkFrm *d = dialog();
    for (QLineEdit *edit : {test::child<QLineEdit>(d, "PowDz1Edt"), test::child<QLineEdit>(d, "PowDz2Edt"),
                            test::child<QLineEdit>(d, "PowKlauz1Edt"), test::child<QLineEdit>(d, "PowKlauz2Edt")}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        d->CzyscBtnClick();
        QApplication::clipboard()->setText(QStringLiteral("inf"));
        edit->setFocus();
        edit->paste();
        ASSERT_EQ(edit->text(), QStringLiteral("inf"));
        recording.messages.clear();
        search(d);
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, QStringLiteral("'inf' nie jest poprawną wartością zmiennoprzecinkową"));
        EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd podczas selekcji działek"));
        EXPECT_EQ(rows().size(), 0);
    }
}

TEST_F(DodDlkFrmTest, ChoosingTheSameEntryAgainKeepsWhatDependsOnIt)
{
    parcels::TDodDlkFrm *d = dialog();
    userChooses(test::child<widgets::LookupCombo>(d, "GminaLcbx"),
                test::child<widgets::LookupCombo>(d, "GminaLcbx")->findData(QStringLiteral("1")));
    userChooses(test::child<widgets::LookupCombo>(d, "ObrebLcbx"),
                test::child<widgets::LookupCombo>(d, "ObrebLcbx")->findData(QStringLiteral("10")));
    choose(test::child<widgets::LookupCombo>(d, "JrLcbx"), QStringLiteral("101"));
    userChooses(test::child<QComboBox>(d, "WydzialKwCbx"), 0);
    test::child<widgets::LookupCombo>(d, "NrKwLcbx")->setCurrentIndex(1);
    userChooses(test::child<widgets::LookupCombo>(d, "MiejscLcbx"),
                test::child<widgets::LookupCombo>(d, "MiejscLcbx")->findData(QStringLiteral("1")));
    test::child<widgets::LookupCombo>(d, "UlicaLcbx")->setCurrentIndex(1);
    const QString kw = test::child<widgets::LookupCombo>(d, "NrKwLcbx")->value(),
                  ulica = test::child<widgets::LookupCombo>(d, "UlicaLcbx")->value();
    ASSERT_TRUE(test::child<widgets::LookupCombo>(d, "NrKwLcbx")->chosen());
    ASSERT_TRUE(test::child<widgets::LookupCombo>(d, "UlicaLcbx")->chosen());

    for (QComboBox *list : std::initializer_list<QComboBox *>{
             test::child<widgets::LookupCombo>(d, "GminaLcbx"), test::child<widgets::LookupCombo>(d, "ObrebLcbx"),
             test::child<QComboBox>(d, "WydzialKwCbx"), test::child<widgets::LookupCombo>(d, "MiejscLcbx")}) {
        SCOPED_TRACE(list->objectName().toStdString());
        d->Zmieniono = false;
        userChooses(list, list->currentIndex());
        EXPECT_EQ(test::child<widgets::LookupCombo>(d, "ObrebLcbx")->value(), QStringLiteral("10"));
        EXPECT_EQ(test::child<widgets::LookupCombo>(d, "JrLcbx")->value(), QStringLiteral("101"));
        EXPECT_EQ(test::child<widgets::LookupCombo>(d, "NrKwLcbx")->value(), kw);
        EXPECT_EQ(test::child<widgets::LookupCombo>(d, "UlicaLcbx")->value(), ulica);
        EXPECT_FALSE(d->Zmieniono);
    }

    // Another entry is a change: what depends on it is reset.
    userChooses(test::child<widgets::LookupCombo>(d, "ObrebLcbx"),
                test::child<widgets::LookupCombo>(d, "ObrebLcbx")->findData(QStringLiteral("11")));
    EXPECT_FALSE(test::child<widgets::LookupCombo>(d, "JrLcbx")->chosen());
    EXPECT_TRUE(d->Zmieniono);
    userChooses(test::child<widgets::LookupCombo>(d, "GminaLcbx"),
                test::child<widgets::LookupCombo>(d, "GminaLcbx")->findData(QStringLiteral("2")));
    EXPECT_FALSE(test::child<widgets::LookupCombo>(d, "ObrebLcbx")->chosen());
    // Back to the empty entry after a programmatic reset is no change either.
    d->CzyscBtnClick();
    d->Zmieniono = false;
    userChooses(test::child<widgets::LookupCombo>(d, "GminaLcbx"), 0);
    EXPECT_FALSE(d->Zmieniono);
}

TEST_F(DodDlkFrmTest, UnitAndSheetListsNeedAPrecinct)
{
    parcels::TDodDlkFrm *d = dialog();
    d->show();
    QTest::mouseClick(test::child<widgets::LookupCombo>(d, "JrLcbx"), Qt::LeftButton);
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Musisz wybrać jakiś obręb."));
    EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconInformation);
    EXPECT_EQ(recording.beeps, 1);
    choose(test::child<widgets::LookupCombo>(d, "ObrebLcbx"), QStringLiteral("10"));
    d->ObrebLcbxChange();
    EXPECT_FALSE(d->Jr_Ark_LcbxMouseDown());
    EXPECT_EQ(recording.messages.size(), 1u);
    d->hide();
}

TEST_F(DodDlkFrmTest, KeystrokesMoveBetweenTheNumberPartsAndDigitsOnly)
{
    parcels::TDodDlkFrm *d = dialog();
    d->show();
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    test::child<QLineEdit>(d, "LicznikEdt")->setFocus();
    QTest::keyClicks(test::child<QLineEdit>(d, "LicznikEdt"), QStringLiteral("1x2/"));
    EXPECT_EQ(QApplication::focusWidget(), test::child<QLineEdit>(d, "MianownikEdt"));
    QTest::keyClicks(test::child<QLineEdit>(d, "MianownikEdt"), QStringLiteral("3-"));
    EXPECT_EQ(QApplication::focusWidget(), test::child<QLineEdit>(d, "NrAddEdt"));
    QTest::keyClicks(test::child<QLineEdit>(d, "NrAddEdt"), QStringLiteral("A"));
    EXPECT_EQ(test::child<QLineEdit>(d, "LicznikEdt")->text(), QStringLiteral("12"));
    EXPECT_EQ(test::child<QLineEdit>(d, "MianownikEdt")->text(), QStringLiteral("3"));
    EXPECT_EQ(test::child<QLineEdit>(d, "NrAddEdt")->text(), QStringLiteral("A"));
    EXPECT_EQ(recording.beeps, 1); // the "x"
    EXPECT_TRUE(
        d->TekstZapytania().contains(QStringLiteral("WHERE\nkdzialka.nr_l = 12 AND kdzialka.nr_m = 3 AND "
                                                    "kdzialka.nr_add like 'A'\n AND (kdzialka.zmiana_kas_id = 0")));

    // Backspace in an empty part goes back to the one before.
    test::child<QLineEdit>(d, "NrAddEdt")->clear();
    test::child<QLineEdit>(d, "NrAddEdt")->setFocus();
    QTest::keyClick(test::child<QLineEdit>(d, "NrAddEdt"), Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), test::child<QLineEdit>(d, "MianownikEdt"));
    test::child<QLineEdit>(d, "MianownikEdt")->clear();
    QTest::keyClick(test::child<QLineEdit>(d, "MianownikEdt"), Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), test::child<QLineEdit>(d, "LicznikEdt"));

    test::child<QLineEdit>(d, "PowDz1Edt")->setFocus();
    QTest::keyClicks(test::child<QLineEdit>(d, "PowDz1Edt"), QStringLiteral("0,5a.2"));
    EXPECT_EQ(test::child<QLineEdit>(d, "PowDz1Edt")->text(), QStringLiteral("0,5.2"));
    EXPECT_EQ(recording.beeps, 2);
    d->hide();
}

TEST_F(DodDlkFrmTest, SearchFillsTheFileAndRunsOnlyAfterAChange)
{
    parcels::TDodDlkFrm *d = dialog();
    choose(test::child<widgets::LookupCombo>(d, "ObrebLcbx"), QStringLiteral("10"));
    d->ObrebLcbxChange();
    search(d);
    EXPECT_EQ(rows(), QStringList({"12/3|3|1|Rynek|0,5000|Akt", "12/3-A|1|1|Rynek|1,2500|Akt"}));
    EXPECT_EQ(selectedCaptions(), QStringList({"12/3", "12/3-A"}));
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 2/2"));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 1,7500 / 1,7500  [ha]"));
    EXPECT_FALSE(d->Zmieniono);
    EXPECT_FALSE(d->MainQry->active());

    // "Dodaj" again without a change does nothing; the rows removed stay removed.
    file->ClearSBClick();
    d->DodajBtnClick();
    EXPECT_TRUE(rows().isEmpty());
    // Showing the dialog again counts as a change.
    search(d);
    EXPECT_EQ(rows().size(), 2);
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(DodDlkFrmTest, SearchesOfHistoryQuotesAddressesAndLandBooks)
{
    parcels::TDodDlkFrm *d = dialog();
    const auto found = [&](const std::function<void()> &fill) {
        d->CzyscBtnClick();
        file->ClearSBClick();
        fill();
        search(d);
        QStringList out;
        for (const QString &row : rows())
            out << row.section(QLatin1Char('|'), 0, 0) + QLatin1Char(' ') + row.section(QLatin1Char('|'), 5, 5);
        return out;
    };
    EXPECT_EQ(found([&] { test::child<QLineEdit>(d, "PolozenieEdt")->setText(QStringLiteral("o'brien%")); }),
              QStringList({"12/3 Akt"}));
    EXPECT_EQ(found([&] { test::child<QLineEdit>(d, "AwzEdt")->setText(QStringLiteral("AKT 15%")); }),
              QStringList({"12/3-A Akt"}));
    EXPECT_EQ(found([&] { test::child<QLineEdit>(d, "PowDz1Edt")->setText(QStringLiteral("1")); }),
              QStringList({"12/3-A Akt", "30/1 Akt"}));
    EXPECT_EQ(found([&] {
                  test::child<QLineEdit>(d, "LicznikEdt")->setText(QStringLiteral("7"));
                  test::child<QRadioButton>(d, "HistoAllRB")->setChecked(true);
              }),
              QStringList({"7 Hist", "7 Akt", "7 Akt"})); // two land books: the current parcel twice
    EXPECT_EQ(found([&] {
                  test::child<QLineEdit>(d, "LicznikEdt")->setText(QStringLiteral("7"));
                  test::child<QRadioButton>(d, "HistoArchRB")->setChecked(true);
              }),
              QStringList({"7 Hist"}));
    EXPECT_EQ(found([&] { test::child<QLineEdit>(d, "NumerEdt")->setText(QStringLiteral("12A")); }),
              QStringList({"12/3 Akt"}));
    EXPECT_EQ(found([&] {
                  test::child<widgets::LookupCombo>(d, "GminaLcbx")->setValue(QStringLiteral("1"));
                  d->GminaLcbxChange();
                  test::child<QCheckBox>(d, "BezAdrChb")->setChecked(true);
              }),
              QStringList({"12/3-A Akt", "7 Akt", "7 Akt"}));
    EXPECT_EQ(found([&] {
                  test::child<QComboBox>(d, "WydzialKwCbx")->setCurrentIndex(0);
                  d->WydzialKwCbxChange();
                  test::child<widgets::LookupCombo>(d, "NrKwLcbx")->setValue(QStringLiteral("900"));
              }),
              QStringList({"12/3 Akt", "7 Akt"}));
    EXPECT_EQ(found([&] { test::child<QComboBox>(d, "UzytekCbx")->setCurrentIndex(1); }),
              QStringList({"12/3 Akt"})); // use "B"
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(DodDlkFrmTest, AParcelFoundAgainIsRefreshedAndOnlyTheRowsFoundAreSelected)
{
    parcels::TDodDlkFrm *d = dialog();
    test::child<QLineEdit>(d, "LicznikEdt")->setText(QStringLiteral("12"));
    search(d);
    EXPECT_EQ(rows().size(), 2);
    // The second search finds 12/3 again and 30/1 for the first time.
    test::child<QLineEdit>(d, "LicznikEdt")->clear();
    test::child<QLineEdit>(d, "PowDz1Edt")->setText(QStringLiteral("0.4"));
    test::child<QLineEdit>(d, "PowDz2Edt")->setText(QStringLiteral("0,6"));
    search(d);
    test::child<QLineEdit>(d, "PowDz1Edt")->setText(QStringLiteral("2"));
    test::child<QLineEdit>(d, "PowDz2Edt")->clear();
    search(d);
    EXPECT_EQ(rows(),
              QStringList({"12/3|3|1|Rynek|0,5000|Akt", "12/3-A|1|1|Rynek|1,2500|Akt", "30/1||1|Zawodzie|2,0000|Akt"}));
    EXPECT_EQ(selectedCaptions(), QStringList({"30/1"}));
    test::child<QLineEdit>(d, "PowDz1Edt")->setText(QStringLiteral("0.4"));
    test::child<QLineEdit>(d, "PowDz2Edt")->setText(QStringLiteral("0,6"));
    search(d);
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(selectedCaptions(), QStringList({"12/3"}));
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 1/3"));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 0,5000 / 3,7500  [ha]"));
}

TEST_F(DodDlkFrmTest, MessagesForNoCriterionNothingFoundAndErrors)
{
    parcels::TDodDlkFrm *d = dialog();
    test::child<QRadioButton>(d, "HistoArchRB")->click();
    search(d);
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie określono żadnego atrybutu."));
    EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconWarning);
    EXPECT_EQ(recording.beeps, 1);
    EXPECT_TRUE(d->Zmieniono);

    // Nothing found: the message, and the file's selection is cleared all the same.
    test::child<QRadioButton>(d, "HistoAktRB")->click();
    test::child<QLineEdit>(d, "LicznikEdt")->setText(QStringLiteral("12"));
    search(d);
    EXPECT_EQ(selectedCaptions().size(), 2);
    test::child<QLineEdit>(d, "LicznikEdt")->setText(QStringLiteral("999"));
    search(d);
    ASSERT_EQ(recording.messages.size(), 2u);
    EXPECT_EQ(recording.messages[1].text, QStringLiteral("Nie znaleziono żadnych działek."));
    EXPECT_EQ(recording.messages[1].flags, app::mb::IconInformation);
    EXPECT_EQ(recording.beeps, 2);
    EXPECT_TRUE(selectedCaptions().isEmpty());
    EXPECT_EQ(rows().size(), 2);

    // An area that is no number and a pasted number with SQL in it: the search's error box.
    for (const auto &[edit, text] : {std::pair{test::child<QLineEdit>(d, "PowDz1Edt"), QStringLiteral("1e")},
                                     std::pair{test::child<QLineEdit>(d, "LicznikEdt"), QStringLiteral("1 OR 1=1")}}) {
        d->CzyscBtnClick();
        edit->setText(text);
        search(d);
        EXPECT_EQ(recording.messages.back().caption, QStringLiteral("Błąd podczas selekcji działek"));
        EXPECT_EQ(recording.messages.back().flags, app::mb::IconError);
        EXPECT_TRUE(d->Zmieniono);
        EXPECT_FALSE(d->MainQry->active());
    }
    EXPECT_EQ(recording.beeps, 2);
    EXPECT_EQ(rows().size(), 2);
}

TEST_F(DodDlkFrmTest, ClearingResetsEveryCriterion)
{
    parcels::TDodDlkFrm *d = dialog();
    choose(test::child<widgets::LookupCombo>(d, "GminaLcbx"), QStringLiteral("1"));
    d->GminaLcbxChange();
    choose(test::child<widgets::LookupCombo>(d, "ObrebLcbx"), QStringLiteral("10"));
    d->ObrebLcbxChange();
    choose(test::child<widgets::LookupCombo>(d, "JrLcbx"), QStringLiteral("101"));
    choose(test::child<widgets::LookupCombo>(d, "MiejscLcbx"), QStringLiteral("1"));
    d->MiejscLcbxChange();
    test::child<QComboBox>(d, "WydzialKwCbx")->setCurrentIndex(0);
    d->WydzialKwCbxChange();
    for (QLineEdit *e : {test::child<QLineEdit>(d, "LicznikEdt"), test::child<QLineEdit>(d, "MianownikEdt"),
                         test::child<QLineEdit>(d, "NrAddEdt"), test::child<QLineEdit>(d, "PowDz1Edt"),
                         test::child<QLineEdit>(d, "PowDz2Edt"), test::child<QLineEdit>(d, "AwzEdt"),
                         test::child<QLineEdit>(d, "NumerEdt"), test::child<QLineEdit>(d, "PolozenieEdt"),
                         test::child<QLineEdit>(d, "PowKlauz1Edt"), test::child<QLineEdit>(d, "PowKlauz2Edt")})
        e->setText(QStringLiteral("1"));
    test::child<QComboBox>(d, "KlasaCbx")->setCurrentIndex(1);
    test::child<QComboBox>(d, "UzytekCbx")->setCurrentIndex(1);
    test::child<QCheckBox>(d, "BezAdrChb")->click();
    test::child<QRadioButton>(d, "HistoAllRB")->click();

    test::child<QToolButton>(d, "CzyscBtn")->click();
    EXPECT_EQ(parcels::WarunekSelekcji(d->Kryteria()), QString());
    EXPECT_EQ(test::child<widgets::LookupCombo>(d, "ObrebLcbx")->count(), 4); // every precinct again
    EXPECT_FALSE(d->JrQry->active());
    EXPECT_FALSE(d->UlicaQry->active());
    EXPECT_FALSE(d->KwQry->active());
    EXPECT_EQ(test::child<QComboBox>(d, "WydzialKwCbx")->currentIndex(), -1);
    EXPECT_EQ(test::child<QComboBox>(d, "KlasaCbx")->currentText(), QStringLiteral("wszystkie"));
    EXPECT_FALSE(test::child<QCheckBox>(d, "BezAdrChb")->isChecked());
    EXPECT_TRUE(test::child<QLineEdit>(d, "NumerEdt")->isEnabled());
    EXPECT_TRUE(test::child<QRadioButton>(d, "HistoAktRB")->isChecked());
}

} // namespace
