// The parcel file: rows, counts and sums, sorting, removing, selecting, keys, the jump to the
// land register, the report buttons' checks and the buildings tool window.
#include "app/AppError.h"
#include "browsers/Rejestracja.h"
#include "browsers/RgFrm.h"
#include "browsers/ToolWindows.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "app/support/Child.h"
#include "support/ParcelsTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QHeaderView>
#include <QTreeWidget>

using namespace katarix;
using parcels::TKarDzFrm;

namespace {

TEST(PorownajWierszeTest, ParcelNumbersNumbersAndTexts)
{
    const test::SeparatorGuard comma(QLatin1Char(','));
    const struct {
        int column;
        const char *a, *b;
        int ascending; // sign of the comparison of a with b
    } cases[] = {
        {0, "12", "12/3", -1},      {0, "12/3", "12/10", -1}, {0, "9/1", "10", -1},
        {0, "12/3-A", "13", -1},    {0, "10/2", "2", 1},      {0, "12/3", "12/3", 0},
        {0, "12/3/1", "12/4", -1},  // the denominator is cut at a further "/"
        {0, "12/3", "12/3-A", -1},  // a denominator with an addition: the captions as texts
        {0, "12-A", "9", -1},       // a numerator with an addition: texts, "1" before "9"
        {4, "10,0000", "9,5000", 1}, {4, "0,5000", "1,2500", -1},
        {5, "Akt", "Hist", -1},     {1, "", "3", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        QTreeWidgetItem a, b;
        a.setText(c.column, QString::fromUtf8(c.a));
        b.setText(c.column, QString::fromUtf8(c.b));
        EXPECT_EQ(parcels::PorownajWiersze(a, b, c.column, true), c.ascending);
        EXPECT_EQ(parcels::PorownajWiersze(a, b, c.column, false), -c.ascending);
    }
}

class KarDzFrmTest : public parceltest::ParcelsTest {
protected:
    // Adds rows as one search batch: caption, area text, state (0 current), mslink, id_jr.
    struct Row {
        const char *numer;
        const char *pow;
        double kas;
        double mslink;
        double idJr;
        double dzialkaId = 0;
    };
    void add(std::initializer_list<Row> batch)
    {
        const int n = file->iloscWierszy();
        file->RozpocznijWsad();
        for (const Row &r : batch)
            file->DodajDzialke({QString::fromUtf8(r.numer), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Rynek"),
                                QString::fromUtf8(r.pow), {r.mslink, r.dzialkaId, 0, r.idJr, 10, 1, r.kas}},
                               n);
        file->ZakonczWsad();
    }
    QStringList captions() const
    {
        QStringList out;
        for (const QString &row : rows())
            out << row.section(QLatin1Char('|'), 0, 0);
        return out;
    }
    void expectMessage(const QString &text)
    {
        ASSERT_FALSE(recording.messages.empty());
        EXPECT_EQ(recording.messages.back().text, text);
        EXPECT_EQ(recording.messages.back().caption, QStringLiteral("Kartoteka działek"));
        EXPECT_EQ(recording.messages.back().flags, app::mb::IconWarning);
        EXPECT_EQ(recording.beeps, 0);
    }
};

TEST_F(KarDzFrmTest, OpensEmptyWithItsColumnsAndToolbars)
{
    openFile();
    EXPECT_EQ(file->windowTitle(), QStringLiteral("Kartoteka działek"));
    EXPECT_EQ(parcels::KarDzFrm, file);
    ASSERT_NE(parcels::DodDlkFrm, nullptr);
    EXPECT_EQ(parcels::DodDlkFrm->parent(), file);
    QStringList headers;
    for (int i = 0; i < lista()->columnCount(); ++i)
        headers << lista()->headerItem()->text(i);
    EXPECT_EQ(headers, QStringList({"Nr działki", "Ark", "JR", "Obręb", "Pow.ewid.", "Stan"}));
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 0/0"));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 0,0000 / 0,0000  [ha]"));
    EXPECT_EQ(akcja("DodajTBtn")->toolTip(), QStringLiteral("Dodaj działkę (+)"));
    EXPECT_EQ(akcja("DodajTBtn")->statusTip(), QStringLiteral("Dodaje działki do kartoteki"));
    EXPECT_EQ(akcja("WkzDlkWladBtn")->toolTip(), QStringLiteral("Wykaz działek z władającymi"));
    EXPECT_FALSE(file->BudTW->isVisible());
}

TEST_F(KarDzFrmTest, SumsOfSelectedAndAllRowsWithTheDecimalComma)
{
    openFile();
    add({{"1", "0,5000", 0, 1, 101}, {"2", "1,2500", 0, 2, 101}, {"3", "0,2500", 7, 3, 102}});
    EXPECT_EQ(rows().last(), QStringLiteral("3|1|1|Rynek|0,2500|Hist"));
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 3/3"));
    selectRows({0, 1});
    file->LvMouseUp();
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 2/3"));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 1,7500 / 2,0000  [ha]"));
    EXPECT_DOUBLE_EQ(file->PowZaznaczonych, 1.75);
    EXPECT_EQ(file->ListaMslink(), QStringLiteral("1,2"));
    selectRows({0, 1, 2});
    EXPECT_EQ(file->ListaIdJr(), QStringLiteral("101,101,102")); // repeated units stay
}

// Each row keeps the number its "Pow.ewid." text stood for when it was added; a text that was no
// number stops the sums with its message, and the sums shown stay as they were.
TEST_F(KarDzFrmTest, AnAreaThatIsNoNumberStopsTheSums)
{
    openFile();
    add({{"1", "0,5000", 0, 1, 101}});
    const QString sumy = panel(1);
    file->RozpocznijWsad();
    file->DodajDzialke({QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Rynek"),
                        QStringLiteral("abc"), {2, 0, 0, 101, 10, 1, 0}},
                       1);
    try {
        file->ZakonczWsad();
        ADD_FAILURE() << "no error";
    } catch (const app::AppError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'abc' nie jest poprawną wartością zmiennoprzecinkową"));
    }
    EXPECT_EQ(panel(1), sumy);
    EXPECT_EQ(selectedCaptions(), QStringList({"2"}));
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 1/2"));

    // From the selection menu the message reaches the standard error display.
    akcja("ZaznaczWszystkoMi")->trigger();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("'abc' nie jest poprawną wartością zmiennoprzecinkową"));
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconError);
    EXPECT_EQ(panel(1), sumy);

    selectRows({1});
    file->UsunSBClick();
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 0,0000 / 0,5000  [ha]"));
    lista()->topLevelItem(0)->setText(4, QStringLiteral("9,0000"));
    file->PokazSumy(true);
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 0,0000 / 0,5000  [ha]"));
}

TEST_F(KarDzFrmTest, ColumnClicksSortOnceAndInvertOnTheSameColumn)
{
    openFile();
    add({{"10", "1,0000", 0, 1, 1}, {"2", "0,1000", 7, 2, 1}, {"10/11", "0,2000", 0, 3, 1}, {"11", "3,0000", 0, 4, 1},
         {"10/2", "0,3000", 7, 5, 1}});
    // The header shows the indicator of the last sort only.
    QHeaderView *header = lista()->header();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    file->LvColumnClick(0);
    EXPECT_EQ(captions(), QStringList({"2", "10", "10/2", "10/11", "11"}));
    EXPECT_TRUE(lista()->rosnaco());
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    file->LvColumnClick(0);
    EXPECT_EQ(captions(), QStringList({"11", "10/11", "10/2", "10", "2"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    file->LvColumnClick(4);
    EXPECT_EQ(captions(), QStringList({"2", "10/11", "10/2", "10", "11"})); // areas as numbers
    file->LvColumnClick(5);
    EXPECT_EQ(rows().first().section(QLatin1Char('|'), 5), QStringLiteral("Akt"));
    EXPECT_EQ(rows().last().section(QLatin1Char('|'), 5), QStringLiteral("Hist"));
    // A later search batch still refreshes the right rows and selects them.
    add({{"10/2", "0,3000", 0, 5, 1}});
    EXPECT_EQ(selectedCaptions(), QStringList({"10/2"}));
    EXPECT_EQ(rows().size(), 5);
}

TEST_F(KarDzFrmTest, RemovingClearingAndSelectingByMenuAndKeys)
{
    openFile();
    add({{"1", "0,5000", 0, 1, 1}, {"2", "1,2500", 0, 2, 1}, {"3", "0,2500", 0, 3, 1}});
    selectRows({0, 2});
    QTest::keyClick(lista(), Qt::Key_Delete);
    EXPECT_EQ(captions(), QStringList({"2"}));
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 0/1"));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 0,0000 / 1,2500  [ha]"));
    file->UsunSBClick(); // nothing selected: only the sums
    EXPECT_EQ(captions().size(), 1);

    add({{"4", "1,0000", 0, 4, 1}, {"5", "1,0000", 0, 5, 1}});
    QTest::keyClick(lista(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedCaptions().size(), 3);
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 3,2500 / 3,2500  [ha]"));
    selectRows({0});
    akcja("OdwrocZaznaczenieMi")->trigger();
    EXPECT_EQ(selectedCaptions(), QStringList({"4", "5"}));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 2,0000 / 3,2500  [ha]"));
    QTest::keyClick(lista(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(selectedCaptions(), QStringList({"2"}));
    akcja("OdznaczWszystkoMi")->trigger();
    EXPECT_TRUE(selectedCaptions().isEmpty());
    akcja("ZaznaczWszystkoMi")->trigger();
    QTest::keyClick(lista(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_TRUE(rows().isEmpty());

    add({{"6", "1,0000", 0, 6, 1}});
    akcja("WyczyscTBtn")->trigger();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(panel(0), QStringLiteral("Ilość: 0/0"));
    EXPECT_EQ(panel(1), QStringLiteral("Suma pow: 0,0000 / 0,0000  [ha]"));

    // Numpad plus opens the search dialog modally.
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        shown = parcels::DodDlkFrm->isVisible();
        test::child<QPushButton>(parcels::DodDlkFrm, "ZamknijBtn")->click();
    });
    QTest::keyClick(lista(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(parcels::DodDlkFrm->isVisible());
}

TEST_F(KarDzFrmTest, JumpToTheLandRegisterNeedsExactlyOneRow)
{
    openFile();
    browsers::zarejestrujOknaRejestrow();
    add({{"12/3", "0,5000", 0, 1, 101}, {"7", "0,2600", 0, 4, 102}});
    selectRows({});
    akcja("PrzejscieRGTBtn")->trigger();
    expectMessage(QStringLiteral("Wskaż jakąś działkę."));
    selectRows({0, 1});
    akcja("PrzejscieRGTBtn")->trigger();
    expectMessage(QStringLiteral("Wybierz tylko jedną działkę."));
    EXPECT_EQ(app::okno(app::OknoProgramu::RejestrGruntow), nullptr);

    selectRows({1});
    akcja("PrzejscieRGTBtn")->trigger();
    auto *rg = qobject_cast<browsers::TRgFrm *>(app::okno(app::OknoProgramu::RejestrGruntow));
    ASSERT_NE(rg, nullptr);
    EXPECT_EQ(rg->JrKlucz(), QStringLiteral("102"));
    EXPECT_EQ(recording.messages.size(), 2u);
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, nullptr);
}

TEST_F(KarDzFrmTest, ReportButtonsRefuseAnEmptySelection)
{
    openFile();
    for (QAction *button : {akcja("JrRaportTBtn"), akcja("WypisSkrTBtn"), akcja("WkzDlkWladBtn")}) {
        SCOPED_TRACE(button->objectName().toStdString());
        recording.messages.clear();
        button->trigger();
        expectMessage(QStringLiteral("Nie zaznaczono działek."));
        EXPECT_EQ(recording.messages.size(), 1u);
        EXPECT_TRUE(recording.fileDialogs.empty());
    }
}

TEST_F(KarDzFrmTest, BuildingsWindowFollowsASingleSelectedParcel)
{
    openFile();
    add({{"12/3", "0,5000", 0, 1, 101, 11}, {"12/3-A", "1,2500", 0, 2, 101, 12}});
    selectRows({0});
    akcja("BudTBtn")->trigger();
    ASSERT_TRUE(file->BudTW->isVisible());
    EXPECT_TRUE(akcja("BudTBtn")->isChecked());
    EXPECT_EQ(file->BudTW->windowTitle(), QStringLiteral("Budynki na działce 12/3"));
    ASSERT_TRUE(file->BudTW->BudQry->active());
    EXPECT_EQ(file->BudTW->BudQry->recordCount(), 1);

    selectRows({0, 1});
    EXPECT_FALSE(file->BudTW->BudQry->active()); // several rows: the list is empty
    selectRows({0});
    ASSERT_TRUE(file->BudTW->BudQry->active());
    EXPECT_EQ(file->BudTW->BudQry->recordCount(), 1);
    selectRows({1});
    EXPECT_EQ(file->BudTW->BudQry->recordCount(), 0);

    file->BudTW->close();
    EXPECT_FALSE(akcja("BudTBtn")->isChecked());
    EXPECT_FALSE(file->BudTW->BudQry->active());
}

TEST_F(KarDzFrmTest, ClosingClearsBothReferences)
{
    openFile();
    file->show();
    file->close();
    EXPECT_EQ(parcels::KarDzFrm, nullptr);
    EXPECT_EQ(parcels::DodDlkFrm, nullptr);
}

} // namespace
