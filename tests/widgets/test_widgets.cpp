#include "widgets/ColorPanel.h"
#include "widgets/PathEdit.h"
#include "widgets/RadioGroup.h"

#include "app/support/TestApplication.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace katarix::widgets;

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { katarix::test::ensureApplication(); }
};
[[maybe_unused]] const auto *const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// Windows colour values keep red in the low byte; the holder colours of the settings are the
// cases that matter.
TEST(ColorPanel, WindowsColourValuesRoundTrip)
{
    const struct {
        int value;
        QColor color;
    } cases[] = {
        {11795963, QColor(0xFB, 0xFD, 0xB3)}, {12315841, QColor(0xC1, 0xEC, 0xBB)},
        {12704496, QColor(0xF0, 0xDA, 0xC1)}, {16434658, QColor(0xE2, 0xC5, 0xFA)},
        {255, QColor(255, 0, 0)},             {0xFF0000, QColor(0, 0, 255)},
        {0, QColor(0, 0, 0)},                 {0xFFFFFF, QColor(255, 255, 255)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(colorFromWindows(c.value), c.color);
        EXPECT_EQ(colorToWindows(c.color), c.value);
        ColorPanel panel;
        panel.setColorValue(c.value);
        EXPECT_EQ(panel.color(), c.color);
        EXPECT_EQ(panel.colorValue(), c.value);
    }
}

TEST(ColorPanel, LeftClickInsideEmitsClicked)
{
    ColorPanel panel(QString::fromUtf8("Użytkownicy wieczyści:"));
    panel.resize(120, 30);
    int clicks = 0;
    QObject::connect(&panel, &ColorPanel::clicked, [&] { ++clicks; });
    click(&panel, {10, 10});
    EXPECT_EQ(clicks, 1);
    click(&panel, {10, 10}, Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(panel.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(panel.frameShape(), QFrame::NoFrame);
}

TEST(PathEdit, ButtonRunsThePickerAndTakesOnlyAChosenPath)
{
    for (PathEdit *edit : std::initializer_list<PathEdit *>{new FileNameEdit, new DirectoryEdit}) {
        std::unique_ptr<PathEdit> owner(edit);
        edit->setText("/stary");
        QString seen;
        std::optional<QString> answer = QString("/nowy/ścieżka");
        edit->setPicker([&](const QString &current) {
            seen = current;
            return answer;
        });
        QString picked;
        QObject::connect(edit, &PathEdit::picked, [&](const QString &p) { picked = p; });
        edit->button()->click();
        EXPECT_EQ(seen, "/stary");
        EXPECT_EQ(edit->text(), QString::fromUtf8("/nowy/ścieżka"));
        EXPECT_EQ(picked, edit->text());

        answer = std::nullopt; // cancelled
        edit->button()->click();
        answer = QString(); // nothing chosen
        edit->button()->click();
        EXPECT_EQ(edit->lineEdit()->text(), QString::fromUtf8("/nowy/ścieżka"));
    }
}

TEST(RadioGroup, ItemIndexIsClampedLikeAFrameworkRadioGroup)
{
    RadioGroup group("Raport dla jednostki:");
    group.setItems({"pierwsza", "druga"});
    EXPECT_EQ(group.itemIndex(), -1);
    const struct {
        int set, expected;
    } cases[] = {{1, 1}, {0, 0}, {5, 1}, {-1, -1}, {-7, -1}, {0, 0}};
    for (const auto &c : cases) {
        group.setItemIndex(c.set);
        EXPECT_EQ(group.itemIndex(), c.expected) << "set " << c.set;
        for (int i = 0; i < group.count(); ++i)
            EXPECT_EQ(group.button(i)->isChecked(), i == c.expected);
    }
    group.button(1)->click();
    EXPECT_EQ(group.itemIndex(), 1);
    EXPECT_EQ(group.items(), QStringList({"pierwsza", "druga"}));
}

} // namespace
