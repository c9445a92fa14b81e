#include "widgets/HtmlViewer.h"

#include "app/support/TestApplication.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace katarix::widgets;

namespace {

// A table in the manner of the change page: a column group, rows without end tags, header cells
// with their own colour, a blank cell written "&nbsp" without its semicolon.
const char *const Strona =
    "<table bgcolor=\"gray\" cellPadding=2 cellSpacing=1 width=100%>\r\n"
    "<colgroup><col align=right width=130><col></colgroup>\r\n"
    "<tr bgcolor=\"silver\"><th></th><td nowrap align=center><b>ZMIANA TWORZĄCA</b></td>\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Nr zmiany</th>   <td> 1/2010<br> 2/2010 </td>\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Opis zmiany</th> <td> &nbsp </td>\r\n"
    "</table>\r\n";

class HtmlViewerTest : public ::testing::Test {
protected:
    void SetUp() override { katarix::test::ensureApplication(); }
};

TEST_F(HtmlViewerTest, ColumnGroupAndEntitiesBecomeWhatRichTextHonours)
{
    struct Case {
        const char *name, *html, *expected;
    } cases[] = {
        {"col gives align and width to its cells, the cell's own align wins",
         "<table><colgroup><col align=right width=130><col></colgroup><tr><th>a</th><td align=center>b</td><tr><th>c</th><td>d</td></table>",
         "<table><tr><th align=\"right\" width=\"130\">a</th><td align=center>b</td><tr><th align=\"right\" width=\"130\">c</th><td>d</td></table>"},
        {"span and colspan move the column",
         "<table><col span=2 width=50><col align=left><tr><td colspan=2>a</td><td>b</td></table>",
         "<table><tr><td colspan=2 width=\"50\">a</td><td align=\"left\">b</td></table>"},
        {"a group without cols stands for its span",
         "<table><colgroup span=2 align=right></colgroup><tr><td>a</td><td>b</td><td>c</td></table>",
         "<table><tr><td align=\"right\">a</td><td align=\"right\">b</td><td>c</td></table>"},
        {"nowrap becomes a style", "<table><tr><td nowrap>a b</td></table>",
         "<table><tr><td nowrap style=\"white-space: nowrap\">a b</td></table>"},
        {"entities without semicolon", "a&nbsp b &nbsp; &amp &lt;x&gt &nbspx", "a&nbsp; b &nbsp; &amp; &lt;x&gt; &nbspx"},
        {"text outside tables is kept", "<p>1 < 2</p>", "<p>1 < 2</p>"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(THTMLViewer::przygotujStrone(QString::fromUtf8(c.html)).toStdString(), c.expected) << c.name;
}

TEST_F(HtmlViewerTest, RendersTheTableWithItsColoursAlignmentAndWidth)
{
    THTMLViewer viewer;
    viewer.resize(481, 230);
    viewer.LoadFromString(QString::fromUtf8(Strona));
    EXPECT_EQ(viewer.tekst(), QString::fromUtf8(Strona));
    viewer.show();

    QTextCursor cursor(viewer.document());
    cursor.movePosition(QTextCursor::NextBlock);
    QTextTable *table = cursor.currentTable();
    for (int i = 0; !table && i < 5; ++i) {
        cursor.movePosition(QTextCursor::NextBlock);
        table = cursor.currentTable();
    }
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 3); // rows without end tags
    EXPECT_EQ(table->columns(), 2);
    const QTextTableFormat format = table->format();
    EXPECT_EQ(format.background().color(), QColor(128, 128, 128));
    EXPECT_EQ(format.cellPadding(), 2);
    EXPECT_EQ(format.cellSpacing(), 1);
    ASSERT_GE(format.columnWidthConstraints().size(), 1);
    EXPECT_EQ(format.columnWidthConstraints().at(0), QTextLength(QTextLength::FixedLength, 130));

    auto alignment = [&](int row, int column) {
        const Qt::Alignment horizontal = Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify;
        return table->cellAt(row, column).firstCursorPosition().blockFormat().alignment() & horizontal;
    };
    auto background = [&](int row, int column) { return table->cellAt(row, column).format().background().color(); };
    EXPECT_EQ(alignment(1, 0), Qt::AlignRight);
    EXPECT_EQ(alignment(2, 0), Qt::AlignRight);
    EXPECT_EQ(alignment(0, 1), Qt::AlignHCenter);
    EXPECT_EQ(background(1, 0), QColor(192, 192, 192));
    EXPECT_EQ(background(1, 1), QColor(255, 255, 224));
    EXPECT_EQ(background(0, 1), QColor(192, 192, 192));
    EXPECT_TRUE(table->cellAt(0, 1).firstCursorPosition().charFormat().fontWeight() >= QFont::Bold);

    const QString text = viewer.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("1/2010\n")) || text.contains(QChar(QChar::LineSeparator)));
    EXPECT_FALSE(text.contains(QLatin1String("nbsp")));
    EXPECT_TRUE(viewer.textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(viewer.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // The first column is 130 pixels wide and its header text ends at its right edge.
    const QImage image = viewer.viewport()->grab().toImage();
    auto rect = [&](int row, int column) {
        return viewer.document()->documentLayout()->blockBoundingRect(table->cellAt(row, column).firstCursorPosition().block());
    };
    const QRectF header = rect(1, 0), value = rect(1, 1);
    EXPECT_GE(value.left(), 130);
    EXPECT_LE(value.left(), 142);
    int rightmostDark = -1;
    for (int x = 0; x < int(value.left()) - 2; ++x)
        for (int y = int(header.top()); y < int(header.bottom()) && y < image.height(); ++y)
            if (image.pixelColor(x, y).lightness() < 80)
                rightmostDark = std::max(rightmostDark, x);
    EXPECT_GT(rightmostDark, int(value.left()) - 12);
}

} // namespace
