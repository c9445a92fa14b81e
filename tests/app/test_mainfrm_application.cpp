// The application object: an exception escaping an event handler reaches the standard display.
#include "app/MainFrm.h"
#include "jet/JetError.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestWindows.h"

#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::app;

namespace {

TApplication &application()
{
    static int argc = 1;
    static char name[] = "katarix-tests";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt's own statics go first at exit.
    static TApplication *app = new TApplication(argc, argv);
    return *app;
}

TEST(TApplicationTest, ExceptionsFromHandlersAreShownAndTheProgramGoesOn)
{
    application();
    test::RecordingInteraction recording;
    test::ProgramFolder folder;
    TMainFrm frm(nullptr, folder.program);
    frm.show();
    frm.baza().openInMemory();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));

    struct Case {
        const char *name;
        std::function<QWidget *()> factory;
        std::function<void()> request;
        QString text;
    } cases[] = {
        {"engine error from a toolbar click",
         []() -> QWidget * { throw jet::JetError(QStringLiteral("Nie można otworzyć tabeli JEDN_REJ.")); },
         [&] { QTest::mouseClick(frm.MainTlb->widgetForAction(frm.RejGruntTBtn), Qt::LeftButton); },
         QStringLiteral("Nie można otworzyć tabeli JEDN_REJ.")},
        {"program error from the F7 key",
         []() -> QWidget * { throw AppError(QStringLiteral("Brak pamięci.")); },
         [&] { QTest::keyClick(&frm, Qt::Key_F7); }, QStringLiteral("Brak pamięci.")},
        {"running out of memory", []() -> QWidget * { throw std::bad_alloc(); },
         [&] { QTest::keyClick(&frm, Qt::Key_F7); },
         QStringLiteral("Brak pamięci: ta operacja wymaga więcej pamięci, niż jest dostępne w komputerze.")},
        {"not an exception object", []() -> QWidget * { throw 42; },
         [&] { QTest::mouseClick(frm.MainTlb->widgetForAction(frm.RejGruntTBtn), Qt::LeftButton); },
         QStringLiteral("Nieznany błąd.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        recording.messages.clear();
        zarejestrujOkno(OknoProgramu::RejestrGruntow, c.factory);
        c.request();
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, c.text);
        EXPECT_EQ(recording.messages[0].caption, TytulAplikacji());
        EXPECT_EQ(recording.messages[0].flags, 16);
        EXPECT_EQ(frm.okno(OknoProgramu::RejestrGruntow), nullptr);
        EXPECT_TRUE(frm.polaczono());
    }
    // The window opens once the failure is gone.
    zarejestrujOkno(OknoProgramu::RejestrGruntow, [] { return new test::TestWindow(QStringLiteral("Rejestr")); });
    QTest::keyClick(&frm, Qt::Key_F7);
    EXPECT_NE(frm.okno(OknoProgramu::RejestrGruntow), nullptr);
    zarejestrujOkno(OknoProgramu::RejestrGruntow, nullptr);
}

} // namespace
