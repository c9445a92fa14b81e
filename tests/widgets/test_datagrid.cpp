#include "jet/MemTable.h"
#include "widgets/DataGrid.h"

#include "app/support/TestApplication.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace katarix;
using widgets::DataGrid;

namespace {

class DataGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        katarix::test::ensureApplication();
        table.addField(QStringLiteral("ID"), jet::FieldType::Integer);
        table.addField(QStringLiteral("NAZWA"), jet::FieldType::Text);
        table.open();
        for (int i = 0; i < 6; ++i)
            table.append({i * 10, QStringLiteral("w%1").arg(i)});
        table.first();
        grid.setColumns({{QStringLiteral("nazwa"), QStringLiteral("Nazwa"), 90, Qt::AlignHCenter, true},
                         {QStringLiteral("ID"), QString(), -1, Qt::AlignRight}});
        grid.setDataset(&table);
        grid.resize(300, 250);
        grid.show();
        QApplication::processEvents();
    }
    QPoint cell(int row) const
    {
        return grid.visualRect(grid.model()->index(row, 0)).center();
    }
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF pos = cell(row);
        const QPointF global = grid.viewport()->mapToGlobal(pos);
        QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(grid.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton, modifiers);
        QApplication::sendEvent(grid.viewport(), &release);
    }
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(&grid, &press);
    }
    struct AppFirst {
        AppFirst() { katarix::test::ensureApplication(); }
    } appFirst; // the application exists before the grid
    jet::MemTable table;
    DataGrid grid;
};

TEST_F(DataGridTest, DesignedColumnsGiveTitlesWidthsAndAlignment)
{
    QAbstractItemModel *model = grid.model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nazwa"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ID")); // the field's own name
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), 90);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), DataGrid::DefaultColumnWidth);
    EXPECT_EQ(model->data(model->index(2, 0)).toString(), QStringLiteral("w2"));
    EXPECT_EQ(model->data(model->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(grid.columnOfField(QStringLiteral("NAZWA")), 0);
    // Reopening keeps a width the user changed.
    grid.horizontalHeader()->resizeSection(0, 150);
    table.close();
    table.open();
    table.append({1, QStringLiteral("x")});
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), 150);
}

TEST_F(DataGridTest, CurrentRowAndDatasetFollowEachOther)
{
    click(3);
    EXPECT_EQ(table.recNo(), 4);
    key(Qt::Key_Down);
    EXPECT_EQ(table.recNo(), 5);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table.recNo(), 1);
    table.setRecNo(6);
    EXPECT_EQ(grid.currentIndex().row(), 5);
    EXPECT_EQ(grid.selectedRows(), QList<int>({5})); // single selection follows the current row
}

TEST_F(DataGridTest, MultiSelectTakesCtrlAndShiftClicks)
{
    grid.setMultiSelect(true);
    struct Step {
        int row;
        Qt::KeyboardModifiers modifiers;
        QList<int> selected;
    } steps[] = {
        {1, Qt::NoModifier, {1}},
        {4, Qt::ShiftModifier, {1, 2, 3, 4}},
        {2, Qt::ControlModifier, {1, 3, 4}},
        {0, Qt::ControlModifier, {0, 1, 3, 4}},
        {5, Qt::NoModifier, {5}},
    };
    for (const Step &step : steps) {
        click(step.row, step.modifiers);
        EXPECT_EQ(grid.selectedRows(), step.selected) << step.row;
        EXPECT_EQ(table.recNo(), step.row + 1);
    }
    // The program moving the dataset keeps the selection of a multi-select grid.
    table.setRecNo(2);
    EXPECT_EQ(grid.selectedRows(), QList<int>({5}));
    EXPECT_EQ(grid.currentIndex().row(), 1);
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.selectedRows().size(), 6);

    // Copy gives the selected rows in the shown column order, hidden columns left out.
    grid.selectRows({4, 1});
    grid.horizontalHeader()->moveSection(1, 0);
    EXPECT_EQ(grid.selectionText(), QStringLiteral("10\tw1\n40\tw4"));
    grid.horizontalHeader()->setSectionHidden(1, true);
    EXPECT_EQ(grid.selectionText(), QStringLiteral("w1\nw4"));
}

TEST_F(DataGridTest, ColouringCallbackSeesTheCellAndPaintsItsBackground)
{
    std::vector<DataGrid::CellParams> seen;
    grid.GetCellParams = [&seen](const DataGrid::CellParams &cell) -> std::optional<QColor> {
        seen.push_back(cell);
        if (cell.text == QLatin1String("w1"))
            return QColor(0, 200, 0);
        return std::nullopt;
    };
    grid.selectRows({1});
    const QImage image = grid.viewport()->grab().toImage();
    const QRect green = grid.visualRect(grid.model()->index(1, 0));
    EXPECT_EQ(image.pixelColor(green.left() + 2, green.top() + 2), QColor(0, 200, 0)); // wins over selection
    const QRect other = grid.visualRect(grid.model()->index(1, 1));
    EXPECT_EQ(image.pixelColor(other.left() + 2, other.top() + 2), grid.palette().color(QPalette::Highlight));
    const auto it = std::find_if(seen.begin(), seen.end(), [](const auto &c) { return c.row == 1 && c.column == 1; });
    ASSERT_NE(it, seen.end());
    EXPECT_EQ(it->field, QStringLiteral("ID"));
    EXPECT_EQ(it->text, QStringLiteral("10"));
    EXPECT_TRUE(it->selected);
}

// Whether any pixel of the cell's text area has exactly the colour.
bool cellHasColour(const DataGrid &grid, const QImage &image, int row, int column, const QColor &colour)
{
    const QRect cell = grid.visualRect(grid.model()->index(row, column)).adjusted(1, 1, -1, -1);
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

TEST_F(DataGridTest, FontCallbackColoursTheTextAlsoInTheHighlightedRow)
{
    const QColor red(255, 0, 0);
    grid.GetCellFont = [red](const DataGrid::CellParams &cell) {
        DataGrid::CellFont font;
        font.bold = cell.selected;
        if (cell.row == 1 || cell.row == 3)
            font.colour = red;
        return font;
    };
    grid.selectRows({3});
    const QImage image = grid.viewport()->grab().toImage();
    EXPECT_TRUE(cellHasColour(grid, image, 1, 0, red));
    EXPECT_TRUE(cellHasColour(grid, image, 3, 1, red)); // highlighted, still red
    EXPECT_FALSE(cellHasColour(grid, image, 2, 0, red));
    EXPECT_FALSE(cellHasColour(grid, image, 2, 1, red));
}

} // namespace
