// The table model over a dataset: cells, headers, alignment, and a current row that follows.
#include "jet/DatasetModel.h"
#include "jet/JetFunctions.h"
#include "jet/MemTable.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace katarix::jet;

namespace {

class DatasetModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        table.addField(QStringLiteral("MSLINK"), FieldType::Integer);
        table.addField(QStringLiteral("Numer"), FieldType::Text);
        table.addField(QStringLiteral("Pow"), FieldType::Float);
        table.open();
        table.append({1, QStringLiteral("12/3-A"), 0.1234});
        table.append({2, QStringLiteral("15"), 12.0});
        table.append({3, QVariant(), QVariant()});
        table.first();
        model.setDataset(&table);
        QObject::connect(&model, &DatasetModel::currentRowChanged, [this](int row) { followed << row; });
        QObject::connect(&table, &Dataset::afterScroll, [this] { ++scrolls; });
    }
    QString cell(int row, int column) const { return model.index(row, column).data().toString(); }

    katarix::test::SeparatorGuard comma{QLatin1Char(',')};
    MemTable table;
    DatasetModel model;
    QList<int> followed;
    int scrolls = 0;
};

TEST_F(DatasetModelTest, CellsShowValuesAsTheEngineWritesThem)
{
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(cell(0, 1), QStringLiteral("12/3-A"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("0,1234"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("12"));
    EXPECT_EQ(cell(2, 2), QString());
    EXPECT_EQ(model.index(1, 2).data(Qt::EditRole), QVariant(12.0));
    EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));

    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Numer"));
    model.setCaption(QStringLiteral("numer"), QStringLiteral("Nr działki"));
    model.setColumnCaption(2, QStringLiteral("Pow. [ha]"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nr działki"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Pow. [ha]"));

    auto alignment = [&](int column) {
        return model.index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(1), Qt::AlignLeft);
    EXPECT_EQ(alignment(2), Qt::AlignRight); // numbers to the right unless told otherwise
    model.setColumnAlignment(2, Qt::AlignCenter);
    EXPECT_EQ(alignment(2), Qt::AlignHCenter);
}

TEST_F(DatasetModelTest, ChosenColumnsByNameSurviveReopening)
{
    model.setColumns({QStringLiteral("pow"), QStringLiteral("MSLINK"), QStringLiteral("Brak")});
    model.setCaption(QStringLiteral("POW"), QStringLiteral("Powierzchnia"));
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(cell(1, 0), QStringLiteral("12"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(cell(1, 2), QString());
    EXPECT_EQ(model.fieldOfColumn(0), 2);
    EXPECT_EQ(model.fieldOfColumn(2), -1);
    EXPECT_EQ(model.columnOfField(QStringLiteral("mslink")), 1);

    table.close();
    EXPECT_EQ(model.rowCount(), 0);
    table.open();
    table.append({7, QStringLiteral("1"), 3.5});
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral("3,5"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Powierzchnia"));
}

TEST_F(DatasetModelTest, CurrentRowFollowsTheDatasetBothWays)
{
    EXPECT_EQ(model.currentRow(), 0);
    table.next();
    table.next(); // on the last row: flags only, no new row to follow
    table.next();
    EXPECT_EQ(followed, (QList<int>{1, 2}));

    model.setCurrentRow(0); // the grid moves the dataset, which scrolls once
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(followed, (QList<int>{1, 2, 0}));
    model.setCurrentRow(0);
    model.setCurrentRow(7); // outside the rows
    EXPECT_EQ(scrolls, 4);
    EXPECT_EQ(table.recNo(), 1);

    // A walk with disabled controls shows only where it ended.
    table.disableControls();
    for (table.first(); !table.eof(); table.next()) {
    }
    table.setRecNo(2);
    table.enableControls();
    EXPECT_EQ(followed, (QList<int>{1, 2, 0, 1}));
    EXPECT_EQ(scrolls, 4);
}

TEST_F(DatasetModelTest, ResetsWhenRowsAreReplaced)
{
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    table.append({4, QStringLiteral("20"), 1.0});
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(followed.last(), 3); // the appended row is current

    table.sortOnField(QStringLiteral("numer"), true);
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(cell(0, 1), QStringLiteral("20"));
    EXPECT_EQ(followed.last(), 0);

    // Refilled with disabled controls: one reset when they are enabled again.
    table.disableControls();
    table.emptyTable();
    table.append({5, QStringLiteral("30"), 2.0});
    table.append({6, QStringLiteral("31"), 3.0});
    EXPECT_EQ(resets, 2);
    const int reported = int(followed.size());
    table.enableControls();
    EXPECT_EQ(resets, 3);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(cell(1, 1), QStringLiteral("31"));
    EXPECT_EQ(followed.size(), reported + 1);
    EXPECT_EQ(followed.last(), 1);
}

TEST(DatasetModel, ForgetsADestroyedDataset)
{
    DatasetModel model;
    {
        MemTable table;
        table.addField(QStringLiteral("A"), FieldType::Text);
        table.open();
        table.append({QStringLiteral("x")});
        model.setDataset(&table);
        EXPECT_EQ(model.rowCount(), 1);
    }
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
}

} // namespace
