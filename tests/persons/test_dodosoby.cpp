// The natural-person and legal-person searches: the SQL they build, what it finds on a real
// register, the change flag, the question and the messages.
#include "app/Komunikaty.h"
#include "app/support/Child.h"
#include "persons/AdresGrp.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/PolaTekstowe.h"
#include "support/OsobyTestSupport.h"
#include "widgets/LookupCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QCompleter>
#include <QRadioButton>
#include <QPushButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

using namespace katarix;
using namespace katarix::test;
using persons::TDodFizFrm;
using persons::TDodPrawFrm;

namespace {

const QString fizStala = QStringLiteral("WHERE OSFIZ.OSFIZ_ID <> 0\r\n");
const QString prawStala = QStringLiteral("WHERE OSPRAW.OSPRAW_ID between 300000000 and 499999999\r\n");

struct Przypadek {
    const char *name;
    std::function<void()> ustaw;
    QString koniecSql;            // the query ends with the fixed part's last line and this
    std::vector<double> znalezione; // persons added, in the query's order
};

// Searches a cleared dialog into an empty person file for each case: the SQL built, the persons
// found, and the message when there are none.
class SelekcjaTest : public OsobyTest {
protected:
    template <std::size_t N>
    void sprawdz(persons::TDodOsobyFrm *dlg, const Przypadek (&przypadki)[N], const QString &stala,
                 const std::function<void()> &czyscReszte = nullptr)
    {
        for (const Przypadek &p : przypadki) {
            SCOPED_TRACE(p.name);
            dlg->CzyscBtnClick();
            if (czyscReszte)
                czyscReszte();
            frm->WyczyscTBtnClick();
            recording.messages.clear();
            p.ustaw();
            const QString sql = dlg->SqlSelekcji();
            EXPECT_TRUE(sql.endsWith(stala + p.koniecSql)) << sql.toStdString();
            dlg->Zmieniono = true;
            dlg->DodajBtnClick();
            EXPECT_EQ(wiersze(frm), p.znalezione);
            if (p.znalezione.empty()) {
                ASSERT_EQ(recording.messages.size(), 1u);
                EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie znaleziono żadnych osób."));
            } else {
                EXPECT_TRUE(recording.messages.empty());
            }
        }
    }
};

class DodFizTest : public SelekcjaTest {
protected:
    void SetUp() override
    {
        OsobyTest::SetUp();
        dlg = frm->DodFizFrm;
        dlg->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        dlg->hide();
        OsobyTest::TearDown();
    }
    TDodFizFrm *dlg = nullptr;
};

class DodPrawTest : public SelekcjaTest {
protected:
    void SetUp() override
    {
        OsobyTest::SetUp();
        dlg = frm->DodPrawFrm;
        dlg->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        dlg->hide();
        OsobyTest::TearDown();
    }
    // Types text into the name field as a person does.
    void wpiszNazwe(const QString &text)
    {
        test::child<QComboBox>(dlg, "NazwaLke")->lineEdit()->clear();
        pisz(test::child<QComboBox>(dlg, "NazwaLke")->lineEdit(), text);
    }
    TDodPrawFrm *dlg = nullptr;
};


TEST_F(DodFizTest, CriteriaBuildTheQueryAndFindTheirPersons)
{
    auto klucz = [](widgets::LookupCombo *lookup, const char *key) { ASSERT_TRUE(lookup->setValue(QString::fromLatin1(key))); };
    const Przypadek przypadki[] = {
        {"surname and first name with AND",
         [&] {
             klucz(test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx"), "12");
             klucz(test::child<widgets::LookupCombo>(dlg, "ImieLcbx"), "7");
         },
         QStringLiteral(" AND (OSFIZ.NAZWISKO_ID = 12 AND OSFIZ.IMIE_ID = 7)"), {osoby::Kowalski}},
        {"the same with OR; the base condition still keeps out the row with id 0",
         [&] {
             klucz(test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx"), "12");
             klucz(test::child<widgets::LookupCombo>(dlg, "ImieLcbx"), "7");
             test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
         },
         QStringLiteral(" AND (OSFIZ.NAZWISKO_ID = 12 OR OSFIZ.IMIE_ID = 7)"),
         {osoby::Kowalski, osoby::Lukasz, osoby::Nowak}},
        {"second, father's and mother's names",
         [&] {
             klucz(test::child<widgets::LookupCombo>(dlg, "Imie2Lcbx"), "8");
             klucz(test::child<widgets::LookupCombo>(dlg, "OjciecLcbx"), "9");
             klucz(test::child<widgets::LookupCombo>(dlg, "MatkaLcbx"), "10");
             test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
         },
         QStringLiteral(" AND (OSFIZ.IMIE2_ID = 8 OR OSFIZ.OJCIEC_ID = 9 OR OSFIZ.MATKA_ID = 10)"), {osoby::Kowalski}},
        {"PESEL compares the whole text", [&] { pisz(test::child<QLineEdit>(dlg, "PeselMsk"), QStringLiteral("9")); },
         QStringLiteral(" AND (OSFIZ.PESEL = '9')"), {osoby::Lukasz}},
        {"NIP typed into its mask keeps the digits only",
         [&] { pisz(test::child<QLineEdit>(dlg, "NipMsk"), QStringLiteral("1234563218")); },
         QStringLiteral(" AND (OSFIZ.NIP = '1234563218')"), {osoby::Kowalski}},
        {"postal code pattern", [&] { test::child<QLineEdit>(dlg, "KodMsk")->setText(QStringLiteral("30-%")); },
         QStringLiteral(" AND (ADRES.KOD_ID in (select kod_id from kod_poczt where kod like '30-%') )"),
         {osoby::Kowalski, osoby::Lukasz}},
        {"place and street",
         [&] {
             klucz(test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx"), "1");
             klucz(test::child<widgets::LookupCombo>(dlg, "UlicaLcbx"), "502");
         },
         QStringLiteral(" AND (SLO_ULICE.MIEJSC_ID = 1 AND ADRES.ULICA_ID = 502)"), {osoby::Lukasz}},
        {"a quote in the house number is quoted and finds its address",
         [&] { test::child<QLineEdit>(dlg, "NumerEdt")->setText(QStringLiteral("5'A")); },
         QStringLiteral(" AND (ADRES.NUMER = '5' + Chr$(39) + 'A')"), {osoby::Lukasz}},
        {"a quote cannot widen the query",
         [&] { test::child<QLineEdit>(dlg, "NumerEdt")->setText(QStringLiteral("x' OR 'a'='a")); },
         QStringLiteral(" AND (ADRES.NUMER = 'x' + Chr$(39) + ' OR ' + Chr$(39) + 'a' + Chr$(39) + '=' + Chr$(39) + 'a')"),
         {}},
        {"flat number", [&] { test::child<QLineEdit>(dlg, "Numer2Edt")->setText(QStringLiteral("2")); },
         QStringLiteral(" AND (ADRES.NUMER2 = '2')"), {osoby::Kowalski}},
    };
    sprawdz(dlg, przypadki, fizStala);
}

TEST_F(DodFizTest, FoundPersonsCarryTheirDisplayTextAddressAndPesel)
{
    test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->setValue(QStringLiteral("12"));
    dlg->DodajBtnClick();
    ASSERT_EQ(frm->iloscWierszy(), 2);
    EXPECT_EQ(frm->wiersz(0)->text(0), QStringLiteral("Kowalski Jan Maria (Piotr,-)"));
    EXPECT_EQ(frm->wiersz(0)->text(1), QStringLiteral("Kraków, ul. Długa 5/2"));
    EXPECT_EQ(frm->wiersz(0)->text(2), QStringLiteral("80010112345"));
    EXPECT_EQ(frm->wiersz(0)->Ident.adres_id, 1001.0);
    EXPECT_EQ(frm->wiersz(1)->text(0), QStringLiteral("Kowalski Łukasz (-,-)"));
}

TEST_F(DodFizTest, ChangeFlagDecidesWhetherDodajSearches)
{
    test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->setValue(QStringLiteral("12"));
    dlg->DodajBtnClick();
    ASSERT_EQ(frm->iloscWierszy(), 2);
    EXPECT_FALSE(dlg->Zmieniono);

    // Unchanged criteria: nothing runs, the cleared list stays empty.
    frm->WyczyscTBtnClick();
    dlg->DodajBtnClick();
    EXPECT_EQ(frm->iloscWierszy(), 0);

    // Switching AND to OR alone searches again.
    test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
    EXPECT_TRUE(dlg->Zmieniono);
    dlg->DodajBtnClick();
    EXPECT_EQ(frm->iloscWierszy(), 2);

    // Each kind of control counts.
    const std::pair<const char *, std::function<void()>> zmiany[] = {
        {"name list", [&] { test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->setValue(QStringLiteral("7")); }},
        {"PESEL", [&] { pisz(test::child<QLineEdit>(dlg, "PeselMsk"), QStringLiteral("1")); }},
        {"postal code", [&] { test::child<QLineEdit>(dlg, "KodMsk")->setText(QStringLiteral("3")); }},
        {"place", [&] { test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->setValue(QStringLiteral("2")); }},
        {"showing the dialog", [&] {
             dlg->hide();
             dlg->show();
         }},
    };
    for (const auto &[name, zmien] : zmiany) {
        SCOPED_TRACE(name);
        dlg->Zmieniono = false;
        zmien();
        EXPECT_TRUE(dlg->Zmieniono);
    }

    // An empty result leaves the flag set: the next press searches (and reports) again.
    dlg->CzyscBtnClick();
    pisz(test::child<QLineEdit>(dlg, "PeselMsk"), QStringLiteral("55555"));
    recording.messages.clear();
    recording.beeps = 0;
    dlg->DodajBtnClick();
    dlg->DodajBtnClick();
    ASSERT_EQ(recording.messages.size(), 2u);
    EXPECT_EQ(recording.messages[1].text, QStringLiteral("Nie znaleziono żadnych osób."));
    EXPECT_EQ(recording.messages[1].caption, app::TytulAplikacji());
    EXPECT_EQ(recording.messages[1].flags, app::mb::IconInformation);
    EXPECT_EQ(recording.beeps, 2);
    EXPECT_TRUE(dlg->Zmieniono);
}

TEST_F(DodFizTest, ADatabaseErrorIsShownAndLosesNothing)
{
    test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->setValue(QStringLiteral("13"));
    dlg->DodajBtnClick();
    ASSERT_EQ(wiersze(frm), (std::vector<double>{osoby::Nowak}));
    test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->setValue(QStringLiteral("12"));
    main->baza().close();
    test::child<QPushButton>(dlg, "DodajBtn")->click();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconError);
    EXPECT_FALSE(recording.messages[0].text.isEmpty());
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Nowak}));
    EXPECT_TRUE(dlg->Zmieniono);
}

TEST_F(DodFizTest, NoCriterionAsksBeforeTakingEveryNaturalPerson)
{
    recording.messageAnswers = {app::mb::IdNo, app::mb::IdYes};
    dlg->DodajBtnClick();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text,
              QStringLiteral("Nie określono żadnego atrybutu.\nCzy chcesz wybrać wszystkie osoby fizyczne?"));
    EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(recording.messages[0].flags, app::mb::YesNo | app::mb::IconWarning);
    EXPECT_EQ(recording.beeps, 1);
    EXPECT_EQ(frm->iloscWierszy(), 0);
    EXPECT_TRUE(dlg->Zmieniono);
    EXPECT_EQ(dlg->SqlSelekcji().right(fizStala.size()), fizStala);

    dlg->DodajBtnClick();
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Kowalski, osoby::Lukasz, osoby::Nowak}));
}

TEST_F(DodFizTest, ClearingResetsEveryCriterionAndChecksAnd)
{
    test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->setValue(QStringLiteral("12"));
    test::child<widgets::LookupCombo>(dlg, "MatkaLcbx")->setValue(QStringLiteral("8"));
    test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->setValue(QStringLiteral("1"));
    test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->setValue(QStringLiteral("501"));
    pisz(test::child<QLineEdit>(dlg, "PeselMsk"), QStringLiteral("123"));
    pisz(test::child<QLineEdit>(dlg, "NipMsk"), QStringLiteral("123"));
    for (QLineEdit *edit : {test::child<QLineEdit>(dlg, "KodMsk"), test::child<QLineEdit>(dlg, "NumerEdt"), test::child<QLineEdit>(dlg, "Numer2Edt")})
        edit->setText(QStringLiteral("1"));
    test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
    ASSERT_FALSE(dlg->Warunki().isEmpty());

    dlg->CzyscBtnClick();
    EXPECT_TRUE(dlg->Warunki().isEmpty());
    EXPECT_TRUE(test::child<QRadioButton>(dlg, "AndRB")->isChecked());
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->currentText(), QStringLiteral("wszystkie"));
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->currentText(), QStringLiteral("wszystkie"));
}

TEST_F(DodFizTest, ListsShowCapitalsAndTheStreetListFollowsThePlace)
{
    QStringList imiona;
    for (int i = 0; i < test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->count(); ++i)
        imiona << test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->itemText(i);
    EXPECT_EQ(imiona, (QStringList{QStringLiteral("wszystkie"), QStringLiteral("JAN"), QStringLiteral("ŁUKASZ"),
                                   QStringLiteral("MARIA"), QStringLiteral("PIOTR")}));
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->count(), 1);
    test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->setValue(QStringLiteral("1"));
    QStringList ulice;
    for (int i = 0; i < test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->count(); ++i)
        ulice << test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->itemText(i);
    EXPECT_EQ(ulice, (QStringList{QStringLiteral("wszystkie"), QStringLiteral("Długa ul."), QStringLiteral("Krótka ul.")}));
    test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->setValue(QStringLiteral("502"));
    test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->setValue(QStringLiteral("2"));
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->value(), QString());
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "UlicaLcbx")->count(), 2);

    // Criteria survive a new showing even though the lists are reloaded.
    test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->setValue(QStringLiteral("10"));
    dlg->hide();
    dlg->show();
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->value(), QStringLiteral("10"));
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->value(), QStringLiteral("2"));
}

TEST_F(DodFizTest, SmallPolishLettersBecomeCapitalsOnlyInTheNameLists)
{
    dlg->activateWindow();
    test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->setFocus();
    EXPECT_EQ(dlg->FormKeyPress(QStringLiteral("ł")), QStringLiteral("Ł"));
    EXPECT_EQ(dlg->FormKeyPress(QStringLiteral("ź")), QStringLiteral("Ź"));
    EXPECT_EQ(dlg->FormKeyPress(QStringLiteral("a")), QStringLiteral("a"));
    test::child<QLineEdit>(dlg, "NumerEdt")->setFocus();
    EXPECT_EQ(dlg->FormKeyPress(QStringLiteral("ł")), QStringLiteral("ł"));

    // Typing ł into the focused first-name list picks ŁUKASZ.
    test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->setFocus();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ł"));
    QApplication::sendEvent(test::child<widgets::LookupCombo>(dlg, "ImieLcbx"), &key);
    EXPECT_EQ(test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->currentText(), QStringLiteral("ŁUKASZ"));
}

TEST_F(DodPrawTest, CriteriaBuildTheQueryAndFindTheirPersons)
{
    const Przypadek przypadki[] = {
        {"a name chosen from the list gives its key",
         [&] {
             const int indeks = test::child<QComboBox>(dlg, "NazwaLke")->findText(QStringLiteral("PRZEDSIĘBIORSTWO BUDOWLANE 'ZGODA'"));
             ASSERT_GE(indeks, 0);
             test::child<QComboBox>(dlg, "NazwaLke")->setCurrentIndex(indeks);
             emit test::child<QComboBox>(dlg, "NazwaLke")->activated(indeks);
         },
         QStringLiteral(" AND (OSPRAW.OSPRAW_ID = 300000001)"), {osoby::Zgoda}},
        {"a typed name is a pattern in capitals", [&] { wpiszNazwe(QStringLiteral("przedsiębiorstwo%")); },
         QStringLiteral(" AND (OSPRAW.NAZWA like 'PRZEDSIĘBIORSTWO%')"), {osoby::Zgoda, osoby::Handlowe}},
        {"a typed quote is quoted and matches",
         [&] { wpiszNazwe(QStringLiteral("%'zgoda'")); },
         QStringLiteral(" AND (OSPRAW.NAZWA like '%' + Chr$(39) + 'ZGODA' + Chr$(39) + '')"), {osoby::Zgoda}},
        {"only the abbreviation, typed small, with OR",
         [&] {
             pisz(test::child<QLineEdit>(dlg, "SkrotEdt"), QStringLiteral("abc"));
             test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
         },
         QStringLiteral(" AND (OSPRAW.SKROT like 'ABC')"), {osoby::Handlowe}},
        {"abbreviation with a quote", [&] { pisz(test::child<QLineEdit>(dlg, "SkrotEdt"), QStringLiteral("pb'z")); },
         QStringLiteral(" AND (OSPRAW.SKROT like 'PB' + Chr$(39) + 'Z')"), {osoby::Zgoda}},
        {"REGON and NIP",
         [&] {
             pisz(test::child<QLineEdit>(dlg, "RegonMsk"), QStringLiteral("123456785"));
             pisz(test::child<QLineEdit>(dlg, "NipMsk"), QStringLiteral("9876543210"));
         },
         QStringLiteral(" AND (OSPRAW.REGON = '123456785' AND OSPRAW.NIP = '9876543210')"), {osoby::Zgoda}},
        {"address criteria, OR",
         [&] {
             test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->setValue(QStringLiteral("2"));
             test::child<QLineEdit>(dlg, "KodMsk")->setText(QStringLiteral("30-0%"));
             test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
         },
         QStringLiteral(" AND (SLO_ULICE.MIEJSC_ID = 2 OR ADRES.KOD_ID in (select kod_id from kod_poczt where kod "
                        "like '30-0%') )"),
         {osoby::Zgoda, osoby::Handlowe}},
    };
    // "Czyść" keeps the abbreviation: each case starts without it.
    sprawdz(dlg, przypadki, prawStala, [this] { test::child<QLineEdit>(dlg, "SkrotEdt")->clear(); });
    // The legal person's row shows REGON, or nothing without one.
    EXPECT_EQ(frm->wiersz(0)->text(2), QStringLiteral("123456785"));
    EXPECT_EQ(frm->wiersz(1)->text(2), QString());
}

TEST_F(DodPrawTest, EditingAChosenNameTurnsItIntoAPattern)
{
    const int indeks = test::child<QComboBox>(dlg, "NazwaLke")->findText(QStringLiteral("PRZEDSIĘBIORSTWO HANDLOWE"));
    test::child<QComboBox>(dlg, "NazwaLke")->setCurrentIndex(indeks);
    emit test::child<QComboBox>(dlg, "NazwaLke")->activated(indeks);
    EXPECT_EQ(dlg->KluczNazwy(), QStringLiteral("300000002"));
    pisz(test::child<QComboBox>(dlg, "NazwaLke")->lineEdit(), QStringLiteral("%"));
    EXPECT_EQ(dlg->KluczNazwy(), QString());
    EXPECT_EQ(dlg->Warunki(), QStringLiteral("OSPRAW.NAZWA like 'PRZEDSIĘBIORSTWO HANDLOWE%'"));
}

// Two legal persons of one name: Enter on the typed name searches for the text and finds both;
// an entry chosen from the open list or from the completer's list gives that entry's key.
TEST_F(DodPrawTest, EnterOnATypedNameSearchesTheTextAndOnlyAChosenEntryGivesItsKey)
{
    for (const char *id : {"300000010", "300000011"})
        main->baza().execNative(
            QStringLiteral("INSERT INTO OSPRAW (OSPRAW_ID, NAZWA) VALUES (%1, 'SKARB PAŃSTWA')").arg(QLatin1String(id)));
    dlg->hide();
    dlg->show(); // the list is read again at every showing
    dlg->activateWindow();
    QApplication::processEvents();
    const int pierwszy = test::child<QComboBox>(dlg, "NazwaLke")->findText(QStringLiteral("SKARB PAŃSTWA"));
    ASSERT_GE(pierwszy, 0);
    const int drugi = pierwszy + 1; // the list is in name order
    ASSERT_EQ(test::child<QComboBox>(dlg, "NazwaLke")->itemText(drugi), QStringLiteral("SKARB PAŃSTWA"));
    const QString kluczDrugiego = test::child<QComboBox>(dlg, "NazwaLke")->itemData(drugi).toString();

    test::child<QComboBox>(dlg, "NazwaLke")->lineEdit()->setFocus();
    wpiszNazwe(QStringLiteral("skarb państwa"));
    test::child<QComboBox>(dlg, "NazwaLke")->completer()->popup()->hide();
    QTest::keyClick(test::child<QComboBox>(dlg, "NazwaLke")->lineEdit(), Qt::Key_Return); // the dialog's default button
    EXPECT_EQ(dlg->KluczNazwy(), QString());
    EXPECT_EQ(test::child<QComboBox>(dlg, "NazwaLke")->currentText(), QStringLiteral("SKARB PAŃSTWA"));
    EXPECT_EQ(wiersze(frm), (std::vector<double>{300000010, 300000011}));

    // Arrows and Enter in the open list.
    frm->WyczyscTBtnClick();
    test::child<QComboBox>(dlg, "NazwaLke")->showPopup();
    test::child<QComboBox>(dlg, "NazwaLke")->view()->setCurrentIndex(test::child<QComboBox>(dlg, "NazwaLke")->model()->index(drugi, 0));
    QTest::keyClick(test::child<QComboBox>(dlg, "NazwaLke")->view(), Qt::Key_Return);
    EXPECT_EQ(dlg->KluczNazwy(), kluczDrugiego);
    EXPECT_EQ(dlg->Warunki(), QStringLiteral("OSPRAW.OSPRAW_ID = ") + kluczDrugiego);

    // The completer's list offers both; the second one chosen is the second one taken.
    dlg->CzyscBtnClick();
    EXPECT_EQ(dlg->KluczNazwy(), QString());
    QCompleter *podpowiedzi = test::child<QComboBox>(dlg, "NazwaLke")->completer();
    podpowiedzi->setCompletionPrefix(QStringLiteral("SKARB"));
    podpowiedzi->complete();
    ASSERT_EQ(podpowiedzi->completionCount(), 2);
    podpowiedzi->setCurrentRow(1);
    podpowiedzi->popup()->setCurrentIndex(podpowiedzi->currentIndex());
    QTest::keyClick(podpowiedzi->popup(), Qt::Key_Return);
    EXPECT_EQ(dlg->KluczNazwy(), kluczDrugiego);
    EXPECT_EQ(test::child<QComboBox>(dlg, "NazwaLke")->currentText(), QStringLiteral("SKARB PAŃSTWA"));
}

TEST_F(DodPrawTest, TypingOrClickingAnyCriterionCountsAsAChange)
{
    pisz(test::child<QLineEdit>(dlg, "RegonMsk"), QStringLiteral("123456785"));
    dlg->DodajBtnClick();
    ASSERT_EQ(wiersze(frm), (std::vector<double>{osoby::Zgoda}));
    ASSERT_FALSE(dlg->Zmieniono);

    const std::pair<const char *, std::function<void()>> zmiany[] = {
        {"typing into REGON", [&] { QTest::keyClick(test::child<QLineEdit>(dlg, "RegonMsk"), Qt::Key_Backspace); }},
        {"typing into the business register number", [&] { pisz(test::child<QLineEdit>(dlg, "RejGospEdt"), QStringLiteral("7")); }},
        {"a click into the abbreviation", [&] { QTest::mouseClick(test::child<QLineEdit>(dlg, "SkrotEdt"), Qt::LeftButton); }},
        {"a click on OR", [&] { QTest::mouseClick(test::child<QRadioButton>(dlg, "OrRb"), Qt::LeftButton); }},
        {"typing a name", [&] { pisz(test::child<QComboBox>(dlg, "NazwaLke")->lineEdit(), QStringLiteral("P")); }},
        {"closing the name list", [&] {
             test::child<QComboBox>(dlg, "NazwaLke")->showPopup();
             dlg->Zmieniono = false;
             test::child<QComboBox>(dlg, "NazwaLke")->hidePopup();
         }},
        {"the place", [&] { test::child<widgets::LookupCombo>(dlg, "MiejscowoscLcbx")->setValue(QStringLiteral("1")); }},
    };
    for (const auto &[name, zmien] : zmiany) {
        SCOPED_TRACE(name);
        dlg->Zmieniono = false;
        zmien();
        EXPECT_TRUE(dlg->Zmieniono);
    }
}

TEST_F(DodPrawTest, NoCriterionAsksAndClearingKeepsAbbreviationAndRegisterNumber)
{
    pisz(test::child<QLineEdit>(dlg, "SkrotEdt"), QStringLiteral("abc"));
    pisz(test::child<QLineEdit>(dlg, "RejGospEdt"), QStringLiteral("krs1"));
    pisz(test::child<QLineEdit>(dlg, "RegonMsk"), QStringLiteral("12"));
    wpiszNazwe(QStringLiteral("P%"));
    test::child<QRadioButton>(dlg, "OrRb")->setChecked(true);
    dlg->CzyscBtnClick();
    EXPECT_EQ(test::child<QLineEdit>(dlg, "SkrotEdt")->text(), QStringLiteral("ABC"));
    EXPECT_EQ(test::child<QLineEdit>(dlg, "RejGospEdt")->text(), QStringLiteral("KRS1"));
    EXPECT_EQ(test::child<QComboBox>(dlg, "NazwaLke")->currentText(), QString());
    EXPECT_EQ(persons::CyfryMaski(test::child<QLineEdit>(dlg, "RegonMsk")), QString());
    EXPECT_TRUE(test::child<QRadioButton>(dlg, "AndRB")->isChecked());
    EXPECT_EQ(dlg->Warunki(), QStringLiteral("OSPRAW.SKROT like 'ABC'"));

    // The business register number takes part in no criterion.
    test::child<QLineEdit>(dlg, "SkrotEdt")->clear();
    recording.messageAnswers = {app::mb::IdYes};
    dlg->DodajBtnClick();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text,
              QStringLiteral("Nie określono żadnego atrybutu.\nCzy chcesz wybrać wszystkie osoby prawne?"));
    EXPECT_EQ(recording.messages[0].flags, app::mb::YesNo | app::mb::IconWarning);
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Zgoda, osoby::Handlowe}));
}

} // namespace
