// The About box: texts, scrolling while shown, closing by Esc or a click.
#include "app/AboutFrm.h"
#include "support/QtPrinters.h"
#include "support/TestApplication.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace katarix::app;

namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override { katarix::test::ensureApplication(); }
};

TEST_F(AboutTest, ShowsTheProgramAndScrollsItsLinesInALoopWhileShown)
{
    TAboutFrm about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O programie..."));
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(about.ProductName->text(), QStringLiteral("Katarix"));
    EXPECT_TRUE(about.ProductName->font().bold());
    EXPECT_FALSE(about.ProgramIcon->pixmap().isNull());
    const QStringList texts = about.ScrollText->lines().filter(QRegularExpression(QStringLiteral(".")));
    EXPECT_EQ(texts.mid(0, 3), QStringList({"Katarix", "Przeglądarka danych ewidencji", "gruntów budynków i lokali"}));
    EXPECT_TRUE(about.ScrollText->lines().first().isEmpty());

    EXPECT_FALSE(about.ScrollText->running());
    about.show();
    EXPECT_TRUE(about.ScrollText->running());
    // The text moves up a pixel a step, runs off the top and comes back to where it started.
    const int start = about.ScrollText->offset();
    EXPECT_EQ(start, about.ScrollText->height()); // first line at the top edge
    const int cycle = about.ScrollText->height() +
                      int(about.ScrollText->lines().size()) * about.ScrollText->fontMetrics().lineSpacing();
    about.ScrollText->step();
    EXPECT_EQ(about.ScrollText->offset(), start + 1);
    for (int i = 1; i < cycle; ++i)
        about.ScrollText->step();
    EXPECT_EQ(about.ScrollText->offset(), start);
    about.close();
    EXPECT_FALSE(about.ScrollText->running());
}

TEST_F(AboutTest, EscReleaseOrAClickAnywhereClosesIt)
{
    TAboutFrm about;
    about.show();
    QTest::keyPress(&about, Qt::Key_Escape);
    EXPECT_TRUE(about.isVisible()) << "closes on release, not on press";
    QTest::keyRelease(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);

    const std::pair<const char *, QWidget *> targets[] = {
        {"dialog", &about}, {"icon", about.ProgramIcon}, {"name", about.ProductName}, {"text", about.ScrollText}};
    for (const auto &[name, target] : targets) {
        about.show();
        ASSERT_TRUE(about.isVisible()) << name;
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_FALSE(about.isVisible()) << name;
        EXPECT_FALSE(about.ScrollText->running()) << name;
    }
}

} // namespace
