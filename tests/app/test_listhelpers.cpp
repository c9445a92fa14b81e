#include "app/Interaction.h"
#include "jet/MemTable.h"
#include "widgets/DataGrid.h"
#include "app/ListHelpers.h"

#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::app;
using namespace katarix::widgets;

namespace {

class ListHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        table.addField(QStringLiteral("MSLINK"), jet::FieldType::Integer);
        table.addField(QStringLiteral("NAZWA"), jet::FieldType::Text, 40);
        table.open();
        table.append({30, QStringLiteral("Żabno")});
        table.append({10, QStringLiteral("Łąki")});
        table.append({20, QStringLiteral("lipno")});
    }
    QStringList captions(const QComboBox &combo) const
    {
        QStringList out;
        for (int i = 0; i < combo.count(); ++i)
            out << combo.itemText(i);
        return out;
    }
    jet::MemTable table;
    test::RecordingInteraction recorder;
};

TEST_F(ListHelpersTest, ComboBoxGetsTheFirstEntryThenEveryRowWithTheirIds)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("stare"));
    EXPECT_EQ(WypelnijComboBox(&combo, table, QStringLiteral("nazwa"), true, QStringLiteral("wszystkie"),
                               QStringLiteral("mslink")),
              4);
    EXPECT_EQ(captions(combo), QStringList({"wszystkie", "Żabno", "Łąki", "lipno"}));
    EXPECT_EQ(IdZComboBox(&combo), IdWszystkie);
    EXPECT_TRUE(table.eof()); // left after its last row
    combo.setCurrentIndex(2);
    EXPECT_EQ(IdZComboBox(&combo), 10);
    EXPECT_EQ(IndeksIdWComboBox(&combo, 20), 3);
    EXPECT_EQ(IndeksIdWComboBox(&combo, 99), -1);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ListHelpersTest, SortedComboBoxFollowsPolishOrderNotTheQueryOrder)
{
    QComboBox combo;
    UstawSortowanie(&combo, true);
    EXPECT_EQ(WypelnijComboBox(&combo, table, QStringLiteral("NAZWA"), true, QString(), QStringLiteral("MSLINK")), 3);
    EXPECT_EQ(captions(combo), QStringList({"lipno", "Łąki", "Żabno"}));
    EXPECT_EQ(IdZComboBox(&combo), 20);
}

TEST_F(ListHelpersTest, ComboBoxFillErrorIsReportedAndKeepsWhatWasLoaded)
{
    QComboBox combo;
    const int count = WypelnijComboBox(&combo, table, QStringLiteral("NAZWA"), false, QStringLiteral("wszystkie"),
                                       QStringLiteral("BRAK"));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(combo.count(), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Błąd podczas wypełniania ComboBox'a"));
    EXPECT_EQ(recorder.messages[0].flags, app::mb::IconError);
    EXPECT_FALSE(recorder.messages[0].text.isEmpty());
}

TEST_F(ListHelpersTest, CheckListFillsChecksAndReadsBack)
{
    QListWidget clb;
    EXPECT_EQ(WypelnijCheckListBox(&clb, table, QStringLiteral("NAZWA"), false, QStringLiteral("MSLINK")), 3);
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(ListaIdZaznaczonych(&clb, true), QString());
    EXPECT_EQ(ListaIdZaznaczonych(&clb, false), QStringLiteral("30,10,20"));

    struct Case {
        int tryb;
        QString checkedIds;
    } cases[] = {{1, "30,10,20"}, {0, ""}, {7, ""}, {2, "30,10,20"}};
    for (const Case &c : cases) {
        ZaznaczCheckListBox(&clb, c.tryb);
        EXPECT_EQ(ListaIdZaznaczonych(&clb, true), c.checkedIds) << "tryb " << c.tryb;
    }
    clb.item(1)->setCheckState(Qt::Unchecked);
    ZaznaczCheckListBox(&clb, 2);
    EXPECT_EQ(ListaIdZaznaczonych(&clb, true), QStringLiteral("10"));

    QString tekst;
    EXPECT_EQ(TekstyZaznaczonych(&clb, tekst, false), 2);
    EXPECT_EQ(tekst, QStringLiteral("Żabno, lipno"));
    QString nic;
    ZaznaczCheckListBox(&clb, 1);
    EXPECT_EQ(TekstyZaznaczonych(&clb, nic, false), 0);
    EXPECT_EQ(nic, QString());

    table.open();
    table.append({5, QStringLiteral("x")});
    EXPECT_EQ(WypelnijCheckListBox(&clb, table, QStringLiteral("NAZWA"), true, QStringLiteral("MSLINK")), 1);
    EXPECT_EQ(ListaIdZaznaczonych(&clb, true), QStringLiteral("5"));
}

TEST_F(ListHelpersTest, SelectedGridRowsGiveTheFieldListAndLeaveTheDatasetOnTheLastOne)
{
    DataGrid grid;
    grid.setMultiSelect(true);
    grid.setColumns({{QStringLiteral("NAZWA"), QString(), 80}});
    grid.setDataset(&table);
    QString tekst = QStringLiteral("stare");
    EXPECT_EQ(ListaZaznaczonychDBGrid(&grid, QStringLiteral("MSLINK"), tekst), QString());
    EXPECT_EQ(tekst, QString());

    grid.selectRows({2, 0});
    EXPECT_EQ(ListaZaznaczonychDBGrid(&grid, QStringLiteral("MSLINK"), tekst), QStringLiteral("30,20"));
    EXPECT_EQ(table.recNo(), 3);

    EXPECT_EQ(ListaZaznaczonychDBGrid(&grid, QStringLiteral("BRAK"), tekst), QString());
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Błąd podczas odczytywania listy DBGrid'a"));
    EXPECT_FALSE(table.controlsDisabled());
}

} // namespace
