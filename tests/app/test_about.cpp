// The About box: texts, scrolling while shown, closing by Esc or a click.
#include "app/AboutFrm.h"
#include "support/Child.h"
#include "support/QtPrinters.h"
#include "support/TestApplication.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace katarix::app;
using katarix::test::child;

namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override { katarix::test::ensureApplication(); }
};

TEST_F(AboutTest, ShowsTheProgramAndScrollsItsLinesInALoopWhileShown)
{
    TAboutFrm about;
    auto *productName = child<QLabel>(&about, "ProductName");
    auto *programIcon = child<QLabel>(&about, "ProgramIcon");
    auto *scrollText = child<TScrollingText>(&about, "ScrollText");
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O programie..."));
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(productName->text(), QStringLiteral("Katarix"));
    EXPECT_TRUE(productName->font().bold());
    EXPECT_FALSE(programIcon->pixmap().isNull());
    const QStringList texts = scrollText->lines().filter(QRegularExpression(QStringLiteral(".")));
    EXPECT_EQ(texts.mid(0, 3), QStringList({"Katarix", "Przeglądarka danych ewidencji", "gruntów budynków i lokali"}));
    EXPECT_TRUE(scrollText->lines().first().isEmpty());

    EXPECT_FALSE(scrollText->running());
    about.show();
    EXPECT_TRUE(scrollText->running());
    // The text moves up a pixel a step, runs off the top and comes back to where it started.
    const int start = scrollText->offset();
    EXPECT_EQ(start, scrollText->height()); // first line at the top edge
    const int cycle = scrollText->height() +
                      int(scrollText->lines().size()) * scrollText->fontMetrics().lineSpacing();
    scrollText->step();
    EXPECT_EQ(scrollText->offset(), start + 1);
    for (int i = 1; i < cycle; ++i)
        scrollText->step();
    EXPECT_EQ(scrollText->offset(), start);
    about.close();
    EXPECT_FALSE(scrollText->running());
}

TEST_F(AboutTest, EscReleaseOrAClickAnywhereClosesIt)
{
    TAboutFrm about;
    auto *productName = child<QLabel>(&about, "ProductName");
    auto *programIcon = child<QLabel>(&about, "ProgramIcon");
    auto *scrollText = child<TScrollingText>(&about, "ScrollText");
    about.show();
    QTest::keyPress(&about, Qt::Key_Escape);
    EXPECT_TRUE(about.isVisible()) << "closes on release, not on press";
    QTest::keyRelease(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);

    const std::pair<const char *, QWidget *> targets[] = {
        {"dialog", &about}, {"icon", programIcon}, {"name", productName}, {"text", scrollText}};
    for (const auto &[name, target] : targets) {
        about.show();
        ASSERT_TRUE(about.isVisible()) << name;
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_FALSE(about.isVisible()) << name;
        EXPECT_FALSE(scrollText->running()) << name;
    }
}

} // namespace
