// The main window: start-up, captions, screen check, menu and toolbar, child windows, closing.
#include "app/AboutFrm.h"
#include "app/IniFile.h"
#include "app/MainFrm.h"
#include "app/UstawieniaFrm.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "support/TestWindows.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QMenuBar>
#include <QMenu>
#include <QStatusTipEvent>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::app;
using katarix::test::RecordingInteraction;

namespace {

void processDeferredDeletes()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class MainFrmTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApplication(); }
    void TearDown() override { ustawZrodloWersji(nullptr); }

    std::unique_ptr<TMainFrm> createMainFrm()
    {
        auto frm = std::make_unique<TMainFrm>(nullptr, folder.program);
        frm->resize(1000, 700);
        return frm;
    }

    RecordingInteraction recording;
    test::ProgramFolder folder;
};

TEST_F(MainFrmTest, StartUpCreatesTheLongLivedFormsInOrderAfterSettingTheTitle)
{
    UstawTytulAplikacji(QStringLiteral("stary tytuł"));
    QStringList steps;
    ustawZrodloWersji([&steps] {
        if (steps.isEmpty())
            steps << QStringLiteral("MainFrm.FormCreate, title ") + TytulAplikacji();
        return QStringLiteral("2.5.1");
    });
    ustawTworzenieWypisyDM([&steps] {
        steps << QStringLiteral("WypisyDM, MainFrm %1, UstawieniaFrm %2, AboutFrm %3")
                     .arg(MainFrm != nullptr)
                     .arg(UstawieniaFrm != nullptr)
                     .arg(AboutFrm != nullptr);
    });

    UtworzFormularze();
    ustawTworzenieWypisyDM(nullptr);

    EXPECT_EQ(steps, QStringList({QStringLiteral("MainFrm.FormCreate, title Katarix"),
                                  QStringLiteral("WypisyDM, MainFrm 1, UstawieniaFrm 1, AboutFrm 0")}));
    ASSERT_NE(MainFrm, nullptr);
    ASSERT_NE(AboutFrm, nullptr);
    EXPECT_EQ(UstawieniaFrm->plikIni(), MainFrm->PlikIni);
    EXPECT_EQ(UstawieniaFrm->katalogi().szablony, MainFrm->Katalogi.szablony);
    EXPECT_EQ(UstawieniaFrm->katalogi().wyniki, MainFrm->Katalogi.wyniki);
    EXPECT_EQ(TytulAplikacji(), QStringLiteral("Katarix 2.5.1"));
    EXPECT_TRUE(recording.calls.isEmpty()) << recording.calls.join(QLatin1Char(',')).toStdString();

    ZwolnijFormularze();
    EXPECT_EQ(MainFrm, nullptr);
    EXPECT_EQ(UstawieniaFrm, nullptr);
    EXPECT_EQ(AboutFrm, nullptr);
}

TEST_F(MainFrmTest, CaptionAndTitleCarryTheVersionAndAFailingStepStopsFormCreate)
{
    folder.writeIni("[Baza]\nPath=/rejestry/gmina.mdb\n");
    struct Case {
        const char *name;
        std::function<QString()> version;
        QString caption, title, path;
        bool errorBox;
    } cases[] = {
        {"build version", nullptr, QStringLiteral("Przeglądarka danych Katarix ") + QStringLiteral(KATARIX_VERSION),
         QStringLiteral("Katarix ") + QStringLiteral(KATARIX_VERSION), QStringLiteral("/rejestry/gmina.mdb"), false},
        {"no version", [] { return QString(); }, QStringLiteral("Przeglądarka danych Katarix "),
         QStringLiteral("Katarix "), QStringLiteral("/rejestry/gmina.mdb"), false},
        {"version unreadable", [] () -> QString { throw AppError(QStringLiteral("Brak zasobu wersji programu.")); },
         QStringLiteral("Przeglądarka danych Katarix"), QStringLiteral("Katarix"), QString(), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        recording.messages.clear();
        UstawTytulAplikacji(QStringLiteral("Katarix"));
        ustawZrodloWersji(c.version);
        auto frm = createMainFrm();
        EXPECT_EQ(frm->windowTitle(), c.caption);
        EXPECT_EQ(TytulAplikacji(), c.title);
        EXPECT_EQ(frm->SciezkaBazy, c.path);
        // The steps before the failure have run.
        EXPECT_EQ(frm->KatalogGlowny, folder.root.path() + QLatin1Char('/'));
        EXPECT_EQ(frm->PlikIni, folder.ini());
        if (c.errorBox) {
            ASSERT_EQ(recording.messages.size(), 1u);
            EXPECT_EQ(recording.messages[0].text, QStringLiteral("Brak zasobu wersji programu."));
            EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd podczas tworzenia głównego formularza"));
            EXPECT_EQ(recording.messages[0].flags, 16);
        } else {
            EXPECT_TRUE(recording.messages.empty());
        }
        EXPECT_FALSE(frm->polaczono());
    }
}

TEST_F(MainFrmTest, ClosingTheWindowWritesTheDatabasePathAndKeepsTheRestOfTheFile)
{
    struct Case {
        const char *name;
        QByteArray before;
        QString path;
        QByteArray after;
    } cases[] = {
        {"no file", QByteArray(), QStringLiteral("/dane/Bazy/gmina.mdb"), "[Baza]\nPath=/dane/Bazy/gmina.mdb\n"},
        {"key replaced, other lines kept", "; ustawienia\r\n[wydruk]\r\nwynik=/tmp\r\n[baza]\r\npath=/stara.mdb\r\n",
         QStringLiteral("/nowa ścieżka/gmina.mdb"),
         "; ustawienia\r\n[wydruk]\r\nwynik=/tmp\r\n[baza]\r\npath=/nowa ścieżka/gmina.mdb\r\n"},
        {"empty path written as empty value", "[Baza]\nPath=/stara.mdb\n", QString(), "[Baza]\nPath=\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder.ini());
        if (!c.before.isNull())
            folder.writeIni(c.before);
        auto frm = createMainFrm();
        frm->SciezkaBazy = c.path;
        frm->show();
        frm->close();
        EXPECT_EQ(folder.readIni(), c.after);
        EXPECT_TRUE(recording.messages.empty());
    }
}

TEST_F(MainFrmTest, ScreensLowerThan600PixelsAreWarnedAboutOnceWhenShown)
{
    struct Case {
        QSize screen;
        bool warned;
    } cases[] = {{{1024, 599}, true}, {{800, 600}, false}, {{640, 480}, true}, {{320, 1080}, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(c.screen.width()).arg(c.screen.height()).toStdString());
        recording.messages.clear();
        recording.screen = c.screen;
        auto frm = createMainFrm();
        frm->show();
        frm->hide();
        frm->show();
        if (!c.warned) {
            EXPECT_TRUE(recording.messages.empty());
            continue;
        }
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text,
                  QStringLiteral("UWAGA: Jest ustawiona bardzo niska rozdzielczość ekranu (%1x%2).\n"
                                 "Niektóre formularze mogą nie być w całości widoczne.\n"
                                 "Zaleca się ustawienie rozdzielczości przynajmniej na 800x600.")
                      .arg(c.screen.width())
                      .arg(c.screen.height()));
        EXPECT_EQ(recording.messages[0].caption, TytulAplikacji());
        EXPECT_EQ(recording.messages[0].flags, 48);
    }
}

TEST_F(MainFrmTest, MenuToolbarAndHintsCarryTheirTexts)
{
    auto frm = createMainFrm();
    struct Item {
        QAction *action;
        QString text;
        QKeySequence shortcut;
    } items[] = {
        {frm->WybierzDbMi, QStringLiteral("&Wybierz bazę danych"), {}},
        {frm->UstawieniaMi, QStringLiteral("&Ustawienia"), {}},
        {frm->ZakonczMi, QStringLiteral("&Zakończ"), {}},
        {frm->KartotekaDzialekMi, QStringLiteral("Kartoteka &działek"), QKeySequence(Qt::Key_F5)},
        {frm->KartotekaOsobMi, QStringLiteral("Kartoteka &osób"), QKeySequence(Qt::Key_F6)},
        {frm->RejestrGruntMi, QStringLiteral("Rejestr &gruntów"), QKeySequence(Qt::Key_F7)},
        {frm->Rejestrlokali1, QStringLiteral("Rejestr &lokali"), QKeySequence(Qt::Key_F8)},
        {frm->SpisWladMi, QStringLiteral("&Alfabetyczny spis władających"), {}},
        {frm->PasekNarzedziMi, QStringLiteral("&Pasek narzędzi"), {}},
        {frm->KaskadaMi, QStringLiteral("&Kaskada"), {}},
        {frm->OknoPoziomoMi, QStringLiteral("Rozmieść p&oziomo"), {}},
        {frm->OknoPionowoMi, QStringLiteral("Rozmieść pio&nowo"), {}},
        {frm->PodrecznikMi, QStringLiteral("&Podręcznik użytkownika"), QKeySequence(Qt::Key_F1)},
        {frm->AboutMi, QStringLiteral("&O programie..."), {}},
    };
    for (const Item &item : items) {
        EXPECT_EQ(item.action->text(), item.text);
        EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.text.toStdString();
    }
    EXPECT_TRUE(frm->PasekNarzedziMi->isChecked());
    QStringList menus;
    for (QMenu *menu : {frm->SystemMi, frm->DaneMi, frm->RaportyMi, frm->OknaMi, frm->PomocMi})
        menus << menu->title();
    EXPECT_EQ(menus, QStringList({"&System", "&Dane", "&Raporty", "&Okna", "&Pomoc"}));

    // Every menu and item is reached with Alt and a letter of its own within its menu.
    const auto mnemonik = [](const QString &text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
    };
    std::vector<std::pair<QString, QList<QAction *>>> levels{{QStringLiteral("menu bar"), frm->menuBar()->actions()}};
    for (QMenu *menu : {frm->SystemMi, frm->DaneMi, frm->RaportyMi, frm->OknaMi, frm->PomocMi})
        levels.emplace_back(menu->title(), menu->actions());
    for (const auto &[level, actions] : levels) {
        QSet<QChar> letters;
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            const QChar letter = mnemonik(action->text());
            EXPECT_FALSE(letter.isNull()) << level.toStdString() << ": " << action->text().toStdString();
            EXPECT_FALSE(letters.contains(letter)) << level.toStdString() << ": " << action->text().toStdString();
            letters << letter;
        }
    }
    EXPECT_EQ(frm->PomocMi->actions(), QList<QAction *>({frm->PodrecznikMi, frm->AboutMi}));

    // Toolbar: buttons and separators from left to right; short hint as tooltip, long one for
    // the status bar.
    QStringList toolbar;
    for (QAction *action : frm->MainTlb->actions())
        toolbar << (action->isSeparator() ? QStringLiteral("-") : action->toolTip() + "|" + action->statusTip());
    EXPECT_EQ(toolbar, QStringList({
                           QStringLiteral("Wybierz bazę danych|Pozwala na wybór innej bazy danych (*.mdb)"),
                           QStringLiteral("-"),
                           QStringLiteral("Kartoteka osób|Otwiera okno kartoteki osób"),
                           QStringLiteral("Kartoteka działek|Otwiera okno kartoteki działek"),
                           QStringLiteral("-"),
                           QStringLiteral("Rejestr gruntów|Otwiera okno rejestru gruntów"),
                           QStringLiteral("Rejestr lokali|Otwiera okno rejestru lokali"),
                           QStringLiteral("-"),
                           QStringLiteral("Ustawienia|Otwiera okno ustawień"),
                       }));
    EXPECT_TRUE(frm->MainTlb->isMovable());
    EXPECT_EQ(frm->MainTlb->allowedAreas(), Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);

    // The hint of whatever is under the mouse goes to the first status panel.
    QStatusTipEvent tip(frm->RejLokTBtn->statusTip());
    QCoreApplication::sendEvent(frm.get(), &tip);
    EXPECT_EQ(frm->StatPanele[0]->text(), QStringLiteral("Otwiera okno rejestru lokali"));
    EXPECT_EQ(frm->StatPanele[0]->width(), 500);
    // Panel 1 says where the register stands: 120 wide, or wider when its longest text needs it.
    EXPECT_GE(frm->StatPanele[1]->width(), 120);
    EXPECT_GT(frm->StatPanele[1]->width(),
              frm->StatPanele[1]->fontMetrics().horizontalAdvance(QStringLiteral("Wczytywanie bazy: 100%")));
    EXPECT_EQ(frm->StatPanele[2]->width(), 200);
    EXPECT_EQ(DlugaPodpowiedz(QStringLiteral("bez kreski")), QStringLiteral("bez kreski"));
    EXPECT_EQ(KrotkaPodpowiedz(QStringLiteral("krótka|długa|dalej")), QStringLiteral("krótka"));
    EXPECT_EQ(DlugaPodpowiedz(QStringLiteral("krótka|długa|dalej")), QStringLiteral("długa|dalej"));
}

TEST_F(MainFrmTest, CommandsOfWindowsNotYetRegisteredAreDisabled)
{
    auto frm = createMainFrm();
    const std::pair<OknoProgramu, std::vector<QAction *>> commands[] = {
        {OknoProgramu::KartotekaDzialek, {frm->KartotekaDzialekMi, frm->KarDzTBtn}},
        {OknoProgramu::KartotekaOsob, {frm->KartotekaOsobMi, frm->KarOsTBtn}},
        {OknoProgramu::RejestrGruntow, {frm->RejestrGruntMi, frm->RejGruntTBtn}},
        {OknoProgramu::RejestrLokali, {frm->Rejestrlokali1, frm->RejLokTBtn}},
        {OknoProgramu::SpisWladajacych, {frm->SpisWladMi}},
    };
    for (const auto &[window, actions] : commands) {
        for (QAction *action : actions)
            EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        zarejestrujOkno(window, [] { return new test::TestWindow(QStringLiteral("okno")); });
        for (QAction *action : actions)
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        zarejestrujOkno(window, nullptr);
        for (QAction *action : actions)
            EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
    for (QAction *action : {frm->WybierzDbMi, frm->WybierzDbTBtn, frm->UstawieniaMi, frm->UstawieniaBtn,
                            frm->ZakonczMi, frm->AboutMi, frm->KaskadaMi, frm->PasekNarzedziMi})
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
}

TEST_F(MainFrmTest, EachChildWindowHasOneInstanceCreatedOnDemand)
{
    test::TestWindowFactories factories;
    auto frm = createMainFrm();
    frm->show();
    frm->baza().openInMemory();
    const std::pair<OknoProgramu, QAction *> windows[] = {
        {OknoProgramu::KartotekaDzialek, frm->KartotekaDzialekMi},
        {OknoProgramu::KartotekaOsob, frm->KartotekaOsobMi},
        {OknoProgramu::RejestrGruntow, frm->RejestrGruntMi},
        {OknoProgramu::RejestrLokali, frm->Rejestrlokali1},
    };
    for (const auto &[window, action] : windows) {
        SCOPED_TRACE(action->text().toStdString());
        const int created = test::TestWindow::created;
        action->trigger();
        QWidget *first = frm->okno(window);
        ASSERT_NE(first, nullptr);
        auto *sub = qobject_cast<QMdiSubWindow *>(first->parentWidget());
        ASSERT_NE(sub, nullptr);
        EXPECT_TRUE(sub->isVisible());
        sub->showMinimized();
        action->trigger();
        EXPECT_EQ(frm->okno(window), first);
        EXPECT_EQ(test::TestWindow::created, created + 1);
        EXPECT_FALSE(sub->isMinimized());
        EXPECT_EQ(frm->MdiArea->activeSubWindow(), sub);

        sub->close();
        processDeferredDeletes();
        EXPECT_EQ(frm->okno(window), nullptr);
        action->trigger();
        EXPECT_NE(frm->okno(window), nullptr);
        EXPECT_EQ(test::TestWindow::created, created + 2);
    }
    EXPECT_EQ(frm->MdiArea->subWindowList().size(), 4);
    EXPECT_TRUE(recording.calls.filter(QStringLiteral("messageBox")).isEmpty());

    // The window menu lists the open children after its own items, the active one checked.
    for (int shown = 0; shown < 2; ++shown)
        emit frm->OknaMi->aboutToShow();
    QStringList listed;
    for (QAction *action : frm->OknaMi->actions().mid(5))
        listed << (action->isSeparator() ? QStringLiteral("-")
                                         : action->text() + (action->isChecked() ? QStringLiteral(" *") : QString()));
    EXPECT_EQ(listed, QStringList({"-", "&1 Kartoteka działek", "&2 Kartoteka osób", "&3 Rejestr gruntów",
                                   "&4 Rejestr lokali *"}));
    frm->OknaMi->actions().at(6)->trigger();
    EXPECT_EQ(frm->MdiArea->activeSubWindow()->widget(), frm->okno(OknoProgramu::KartotekaDzialek));
}

TEST_F(MainFrmTest, TheListOfHoldersDialogIsModalAndCreatedForEachRequest)
{
    int created = 0;
    zarejestrujOkno(OknoProgramu::SpisWladajacych, [&created] {
        ++created;
        auto *dialog = new QDialog;
        dialog->setWindowTitle(QStringLiteral("Alfabetyczny spis władających"));
        QTimer::singleShot(0, dialog, [dialog] {
            EXPECT_TRUE(dialog->isModal());
            dialog->accept();
        });
        return dialog;
    });
    auto frm = createMainFrm();
    frm->show();
    frm->SpisWladMi->trigger(); // no database: the file dialog is cancelled, nothing opens
    EXPECT_EQ(created, 0);
    EXPECT_EQ(recording.calls.filter(QStringLiteral("openFileName")).size(), 1);
    frm->baza().openInMemory();
    for (int request = 1; request <= 2; ++request) {
        frm->SpisWladMi->trigger();
        EXPECT_EQ(created, request);
        processDeferredDeletes();
        EXPECT_EQ(frm->okno(OknoProgramu::SpisWladajacych), nullptr);
    }
    zarejestrujOkno(OknoProgramu::SpisWladajacych, nullptr);
}

TEST_F(MainFrmTest, PokazRejestrOpensTheRegisterWindowAtAUnitWithoutCheckingTheConnection)
{
    test::TestWindowFactories factories;
    auto frm = createMainFrm();
    frm->show();
    const std::pair<OknoProgramu, void (TMainFrm::*)(double)> operations[] = {
        {OknoProgramu::RejestrGruntow, &TMainFrm::PokazRejestrGruntow},
        {OknoProgramu::RejestrLokali, &TMainFrm::PokazRejestrLokali},
    };
    for (const auto &[window, operation] : operations) {
        (frm.get()->*operation)(0);
        auto *opened = dynamic_cast<test::TestWindow *>(frm->okno(window));
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->shownUnits.empty());
        qobject_cast<QMdiSubWindow *>(opened->parentWidget())->showMaximized();
        (frm.get()->*operation)(1234567.0);
        EXPECT_EQ(frm->okno(window), opened);
        EXPECT_EQ(opened->shownUnits, std::vector<double>{1234567.0});
        EXPECT_FALSE(qobject_cast<QMdiSubWindow *>(opened->parentWidget())->isMaximized());

        // The hourglass goes back also when the window fails.
        opened->throwInPokazJr = true;
        EXPECT_THROW((frm.get()->*operation)(5), std::exception);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_FALSE(frm->polaczono());
    EXPECT_EQ(recording.calls, QStringList({"screenSize"}));
}

TEST_F(MainFrmTest, CascadeAndTileArrangeTheOpenChildren)
{
    test::TestWindowFactories factories;
    auto frm = createMainFrm();
    frm->show();
    // With no children every arrangement does nothing.
    for (int tag : {1, 2, 3, 0})
        frm->KaskadaMiClick(tag);
    frm->OknoPionowoMi->trigger();

    frm->baza().openInMemory();
    frm->KarDzTBtnClick();
    frm->KarOsTBtnClick();
    frm->RejGruntTBtnClick();
    const QList<QMdiSubWindow *> subs = frm->MdiArea->subWindowList();
    ASSERT_EQ(subs.size(), 3);
    const QRect area = frm->MdiArea->viewport()->rect();

    frm->OknoPionowoMi->trigger(); // side by side
    for (QMdiSubWindow *sub : subs) {
        EXPECT_EQ(sub->geometry().top(), 0);
        EXPECT_EQ(sub->geometry().height(), area.height());
        EXPECT_NEAR(sub->geometry().width(), area.width() / 3, 2);
    }
    frm->OknoPoziomoMi->trigger(); // one above another
    for (QMdiSubWindow *sub : subs) {
        EXPECT_EQ(sub->geometry().left(), 0);
        EXPECT_EQ(sub->geometry().width(), area.width());
        EXPECT_NEAR(sub->geometry().height(), area.height() / 3, 2);
    }
    QList<QRect> before;
    for (QMdiSubWindow *sub : subs)
        before << sub->geometry();
    frm->KaskadaMiClick(7);
    for (int i = 0; i < subs.size(); ++i)
        EXPECT_EQ(subs[i]->geometry(), before[i]);
    // Cascade steps the windows by a title bar from the corner and keeps their sizes; a maximised
    // one comes back to its own size; the active one stays on top.
    const QSize sizes[] = {{300, 200}, {320, 220}, {250, 160}};
    for (int i = 0; i < subs.size(); ++i)
        subs[i]->resize(sizes[i]);
    frm->MdiArea->setActiveSubWindow(subs[1]);
    subs[1]->showMaximized();
    frm->KaskadaMi->trigger();
    const int step = subs[0]->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs[0]);
    QSet<int> lefts;
    for (int i = 0; i < subs.size(); ++i) {
        EXPECT_FALSE(subs[i]->isMaximized());
        EXPECT_EQ(subs[i]->size(), sizes[i]) << i;
        EXPECT_EQ(subs[i]->pos().x(), subs[i]->pos().y()) << i;
        EXPECT_EQ(subs[i]->pos().x() % step, 0) << i;
        lefts << subs[i]->pos().x();
    }
    EXPECT_EQ(lefts, QSet<int>({0, step, 2 * step}));
    EXPECT_EQ(frm->MdiArea->activeSubWindow(), subs[1]);
    EXPECT_EQ(subs[1]->pos(), QPoint(2 * step, 2 * step)); // on top of the stack
}

TEST_F(MainFrmTest, ToolbarToggleHidesAndShowsTheToolbarWhereItWasDocked)
{
    auto frm = createMainFrm();
    frm->show();
    frm->addToolBar(Qt::LeftToolBarArea, frm->MainTlb);
    frm->PasekNarzedziMi->trigger();
    EXPECT_FALSE(frm->PasekNarzedziMi->isChecked());
    EXPECT_FALSE(frm->MainTlb->isVisible());
    frm->PasekNarzedziMi->trigger();
    EXPECT_TRUE(frm->PasekNarzedziMi->isChecked());
    EXPECT_TRUE(frm->MainTlb->isVisible());
    EXPECT_EQ(frm->toolBarArea(frm->MainTlb), Qt::LeftToolBarArea);
}

TEST_F(MainFrmTest, KomunikatBeepsFirstAndDefaultsTheCaptionToTheTitle)
{
    UstawTytulAplikacji(QStringLiteral("Katarix 1.0"));
    struct Case {
        QString caption;
        int flags;
        bool beep;
        int answer;
        QString shownCaption;
        QStringList calls;
    } cases[] = {
        {QString(), 48, true, mb::IdOk, QStringLiteral("Katarix 1.0"), {"beep", "messageBox"}},
        {QStringLiteral("Błąd w funkcji 'WypisSort'"), 16, false, mb::IdOk, QStringLiteral("Błąd w funkcji 'WypisSort'"),
         {"messageBox"}},
        {QString(), mb::YesNo | mb::IconQuestion, false, mb::IdNo, QStringLiteral("Katarix 1.0"), {"messageBox"}},
    };
    for (const Case &c : cases) {
        recording.calls.clear();
        recording.messages.clear();
        recording.messageAnswers = {c.answer};
        EXPECT_EQ(Komunikat(QStringLiteral("Nie wybrano działki."), c.caption, c.flags, c.beep), c.answer);
        EXPECT_EQ(recording.calls, c.calls);
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie wybrano działki."));
        EXPECT_EQ(recording.messages[0].caption, c.shownCaption);
        EXPECT_EQ(recording.messages[0].flags, c.flags);
    }
    recording.messages.clear();
    PokazWyjatek(AppError(QStringLiteral("Coś poszło źle")));
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix 1.0"));
    EXPECT_EQ(recording.messages[0].flags, 16);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Coś poszło źle"));
}

} // namespace
