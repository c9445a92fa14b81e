// The units of persons window and its settings window over a register built for the purpose.
#include "app/AppError.h"
#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/RejestrOkien.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "persons/TWjrOsobyFrm.h"
#include "persons/TWjrOsUstFrm.h"
#include "registergen/RegisterBuilder.h"
#include "support/Child.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "support/TestWindows.h"

#include <QApplication>
#include <QEvent>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

using namespace katarix;
using persons::TTWjrOsobyFrm;
using persons::TTWjrOsUstFrm;
using registergen::RegisterBuilder;

namespace {

// The locale the program takes its decimal separator from.
const bool polskieUstawienia = qputenv("LC_ALL", "pl_PL.UTF-8");

constexpr double Kowalski = 100001, Kowalska = 100002, Nowak = 100003, Obcy = 100009;
constexpr double Malzenstwo = 500000001, Grupa = 300000007;

void holder(RegisterBuilder &b, const char *table, double mslink, double idJr, double osoba, int wlad, int l, int m,
            registergen::FieldValue nr, double kas = 0)
{
    b.add(table, {{"MSLINK", mslink}, {"ID_JR", idJr}, {"OSOBA_ID", osoba}, {"WLAD_ID", wlad}, {"L_UDZIAL", l},
                  {"M_UDZIAL", m}, {"NR_UDZIALU", nr}, {"ZMIANA_KAS_ID", kas}});
}

// Precincts "Antoniów" (2, listed first) and "Śródmieście" (1). Kowalski holds land unit 5
// (Śródmieście, land book KW 111/1) himself, 1/2, and once held it under "wd" 1/4 (historical);
// his marriage with Kowalska holds land unit 7 (Antoniów) and, with the same row as his own, unit
// 5 again; the group of which Kowalski and Nowak are members holds land unit 9 (Śródmieście) by a
// share given as text; Kowalski holds premises unit 3 (Śródmieście) 1/3 under "uw".
RegisterBuilder unitsRegister()
{
    RegisterBuilder b;
    b.add("SLO_WLAD", {{"MSLINK", 1}, {"SKROT", "wł"}, {"OPIS", "Własność"}, {"RODZAJ", 1}});
    b.add("SLO_WLAD", {{"MSLINK", 2}, {"SKROT", "uw"}, {"OPIS", "Użytkowanie wieczyste"}, {"RODZAJ", 2}});
    b.add("SLO_WLAD", {{"MSLINK", 5}, {"SKROT", "wd"}, {"OPIS", "Władanie samoistne"}, {"RODZAJ", 1}});
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    b.add("OBREB", {{"MSLINK", 2}, {"NAZWA", "Antoniów"}});
    b.add("SLO_KW", {{"KW_ID", 1.0}, {"NAZWA", "KW 111/1"}});
    b.add("RGRUN", {{"ID_JR", 11.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 5}, {"KW_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 12.0}, {"OBREB_ID", 2}, {"KOL_OBREB", 7}});
    b.add("RGRUN", {{"ID_JR", 13.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 9}});
    b.add("RLOK", {{"ID_JR", 21.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 3}});
    b.add("MALZ", {{"MALZ_ID", Malzenstwo}, {"ON_ID", Kowalski}, {"ONA_ID", Kowalska}});
    b.add("PDM_GR_SKL", {{"OSPRAW_ID", Grupa}, {"OSOBA_ID", Kowalski}});
    b.add("PDM_GR_SKL", {{"OSPRAW_ID", Grupa}, {"OSOBA_ID", Nowak}});
    holder(b, "LWRGRUN", 1, 11, Kowalski, 1, 1, 2, nullptr);
    holder(b, "LWRGRUN", 2, 11, Kowalski, 5, 1, 4, nullptr, 77);
    holder(b, "LWRGRUN", 3, 12, Malzenstwo, 1, 1, 1, nullptr);
    holder(b, "LWRGRUN", 4, 11, Malzenstwo, 1, 1, 2, nullptr);
    holder(b, "LWRGRUN", 5, 13, Grupa, 2, 0, 0, "udz. 3");
    holder(b, "LWRGRUN", 6, 12, Obcy, 1, 1, 1, nullptr);
    holder(b, "LWRLOK", 1, 21, Kowalski, 2, 1, 3, nullptr);
    return b;
}

const QColor Czerwony(255, 0, 0);

class TWjrOsobyFrmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(polskieUstawienia);
        test::ensureApplication();
        jet::useSystemDecimalSeparator();
        QDir(root.path()).mkpath(QStringLiteral("Program"));
        main = std::make_unique<app::TMainFrm>(nullptr, root.filePath(QStringLiteral("Program")));
        app::MainFrm = main.get();
        unitsRegister().toDatabase(main->baza());
        owner = std::make_unique<QWidget>();
        frm = new TTWjrOsobyFrm(owner.get());
        ust = frm->TWjrOsUstFrm;
        ust->installEventFilter(&answers);
    }
    void TearDown() override
    {
        owner.reset();
        main.reset();
        app::MainFrm = nullptr;
        jet::setDecimalSeparator(QLatin1Char('.'));
    }

    // Answers the settings window each time it is shown: the next queued action runs on it
    // once it is up (none queued: cancel), and the showing is counted.
    struct SettingsAnswers : QObject {
        std::deque<std::function<void(TTWjrOsUstFrm *)>> queue;
        int shown = 0;
        QPoint position;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show) {
                auto *dialog = static_cast<TTWjrOsUstFrm *>(watched);
                ++shown;
                auto action = queue.empty() ? std::function<void(TTWjrOsUstFrm *)>([](TTWjrOsUstFrm *d) { d->reject(); })
                                            : queue.front();
                if (!queue.empty())
                    queue.pop_front();
                QTimer::singleShot(0, dialog, [this, dialog, action] {
                    position = dialog->pos();
                    action(dialog);
                });
            }
            return false;
        }
    };
    static void ok(TTWjrOsUstFrm *d) { test::child<QPushButton>(d, "OkBtn")->click(); }

    // The listed units as "JR|Obręb|F.wł.|Udział|Nr KW", sorted (the union has no order).
    QStringList rows() const
    {
        QStringList out;
        jet::Query *q = frm->JrQry;
        if (!q->active())
            return out;
        for (int r = 0; r < q->recordCount(); ++r) {
            QStringList cells;
            for (const char *f : {"JR", "OBREB", "F_WLAD", "UDZIAL", "KW"})
                cells << jet::Dataset::valueToText(q->valueAt(r, q->fieldIndex(QString::fromLatin1(f))));
            out << cells.join(QLatin1Char('|'));
        }
        out.sort();
        return out;
    }
    // The first listed row whose field shows the text, -1 when none.
    int rowOf(const QString &text, const QString &field = QStringLiteral("JR")) const
    {
        const int column = frm->JrQry->fieldIndex(field);
        for (int r = 0; r < frm->JrQry->recordCount(); ++r)
            if (jet::Dataset::valueToText(frm->JrQry->valueAt(r, column)) == text)
                return r;
        return -1;
    }
    void showPerson(double id, const QString &name = QStringLiteral("Kowalski Jan"))
    {
        answers.queue.push_back(ok);
        ASSERT_EQ(frm->PokazDlaOsoby(true, name, true, id), 1);
    }
    void untickForm(int index) { test::child<QListWidget>(ust, "FwladClb")->item(index)->setCheckState(Qt::Unchecked); }

    QTemporaryDir root;
    test::RecordingInteraction recording;
    std::unique_ptr<app::TMainFrm> main;
    std::unique_ptr<QWidget> owner;
    TTWjrOsobyFrm *frm = nullptr;
    TTWjrOsUstFrm *ust = nullptr;
    SettingsAnswers answers;
};

const QString G5 = QStringLiteral("G-5|Śródmieście|wł|1/2|KW 111/1");
const QString G5wd = QStringLiteral("G-5|Śródmieście|wd|1/4|KW 111/1");
const QString G7 = QStringLiteral("G-7|Antoniów|wł|1/1|");
const QString G9 = QStringLiteral("G-9|Śródmieście|uw|udz. 3|");
const QString L3 = QStringLiteral("L-3|Śródmieście|uw|1/3|");

// The settings window is wide enough for a window manager to show its whole caption in a bold
// title font with three title-bar buttons (it was cut to "Ustawi… kiwania").
TEST_F(TWjrOsobyFrmTest, TheSettingsCaptionFitsItsTitleBar)
{
    EXPECT_EQ(ust->windowTitle(), QStringLiteral("Ustawienia wyszukiwania"));
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    EXPECT_GE(ust->width(), metrics.horizontalAdvance(ust->windowTitle()) + 3 * metrics.height());
}

TEST_F(TWjrOsobyFrmTest, UnitsHeldDirectlyThroughAMarriageAndThroughAGroup)
{
    struct Case {
        const char *name;
        double person;
        QStringList expected;
    } cases[] = {
        // The marriage's row for unit 5 equals his own: the union keeps one.
        {"husband: own land and premises, marriage, group", Kowalski, {G5, G7, G9, L3}},
        {"wife: the marriage's units only", Kowalska, {G5, G7}},
        {"group member", Nowak, {G9}},
        {"holder of nothing", 999999, {}},
    };
    answers.queue.push_back(ok);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(frm->PokazDlaOsoby(true, QStringLiteral("Osoba"), true, c.person), 1);
        EXPECT_EQ(rows(), c.expected);
    }
    EXPECT_EQ(answers.shown, 1) << "asked only while the window was hidden";
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(TWjrOsobyFrmTest, SettingsLimitFormsPrecinctRegistersAndHistory)
{
    showPerson(Kowalski);
    EXPECT_EQ(frm->WarunekFormWlad(), QString());
    struct Case {
        const char *name;
        std::function<void()> change;
        QStringList expected;
        const char *forms;
    } cases[] = {
        {"one form unticked", [&] { untickForm(2); }, {G5, G7}, " and lw.wlad_id in(1,5) "},
        {"one precinct", [&] { test::child<QComboBox>(ust, "ObrebCbx")->setCurrentIndex(1); }, {G7}, ""},
        {"with history", [&] { test::child<QCheckBox>(ust, "ArchChb")->setChecked(true); }, {G5wd, G5, G7, G9, L3}, ""},
        {"premises register only", [&] { test::child<QCheckBox>(ust, "RgrunChb")->setChecked(false); }, {L3}, ""},
        // Without the union his own and the marriage's identical rows both show.
        {"land register only", [&] { test::child<QCheckBox>(ust, "RlokChb")->setChecked(false); }, {G5, G5, G7, G9}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ust->DomyslneSBClick();
        c.change();
        ASSERT_TRUE(frm->CzytajJr());
        EXPECT_EQ(rows(), c.expected);
        EXPECT_EQ(frm->WarunekFormWlad(), QString::fromLatin1(c.forms));
    }
    EXPECT_EQ(test::child<QComboBox>(ust, "ObrebCbx")->itemText(0), QStringLiteral("* wszystkie obręby *"));
    EXPECT_EQ(test::child<QComboBox>(ust, "ObrebCbx")->itemText(1), QStringLiteral("Antoniów"));
    EXPECT_EQ(frm->IdObrebu(), -1);
}

TEST_F(TWjrOsobyFrmTest, FirstUseAsksTheSettingsAtThePointerAndCancelKeepsTheWindowHidden)
{
    recording.screen = QSize(150, 150); // smaller than the settings window: pushed to the corner
    EXPECT_EQ(frm->PokazDlaOsoby(true, QStringLiteral("Kowalski Jan"), true, Kowalski), 0);
    EXPECT_EQ(answers.shown, 1);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_FALSE(frm->JrQry->active());
    EXPECT_EQ(answers.position, QPoint(150, 150) - QPoint(ust->frameGeometry().width(), ust->frameGeometry().height()));

    showPerson(Kowalski);
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(frm->TopPnl->text(), QStringLiteral(" Kowalski Jan"));
    EXPECT_EQ(frm->IdOsoby, Kowalski);

    // Another person while visible: no question; hiding closes the list.
    EXPECT_EQ(frm->PokazDlaOsoby(true, QStringLiteral("Nowak Piotr"), true, Nowak), 1);
    EXPECT_EQ(answers.shown, 2);
    EXPECT_EQ(rows(), QStringList({G9}));
    EXPECT_EQ(frm->PokazDlaOsoby(false, QString(), true, Nowak), 0);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_FALSE(frm->JrQry->active());
    EXPECT_EQ(frm->TopPnl->text(), QString());
}

TEST_F(TWjrOsobyFrmTest, CancelRestoresFormsPrecinctAndHistoryButKeepsTheRegisters)
{
    showPerson(Kowalski);
    answers.queue.push_back([](TTWjrOsUstFrm *d) {
        test::child<QListWidget>(d, "FwladClb")->item(0)->setCheckState(Qt::Unchecked);
        test::child<QComboBox>(d, "ObrebCbx")->setCurrentIndex(2);
        test::child<QCheckBox>(d, "ArchChb")->setChecked(true);
        test::child<QCheckBox>(d, "RlokChb")->click();
        test::child<QPushButton>(d, "AnulujBtn")->click();
    });
    frm->UstawieniaSBClick();
    for (int i = 0; i < test::child<QListWidget>(ust, "FwladClb")->count(); ++i)
        EXPECT_EQ(test::child<QListWidget>(ust, "FwladClb")->item(i)->checkState(), Qt::Checked) << i;
    EXPECT_EQ(test::child<QComboBox>(ust, "ObrebCbx")->currentIndex(), 0);
    EXPECT_FALSE(test::child<QCheckBox>(ust, "ArchChb")->isChecked());
    EXPECT_FALSE(test::child<QCheckBox>(ust, "RlokChb")->isChecked());
    EXPECT_EQ(rows(), QStringList({G5, G7, G9, L3})) << "not read again after a cancel";

    // OK keeps the changes and reads again; the window's close box is a cancel too.
    answers.queue.push_back([](TTWjrOsUstFrm *d) {
        test::child<QComboBox>(d, "ObrebCbx")->setCurrentIndex(2);
        test::child<QPushButton>(d, "OkBtn")->click();
    });
    frm->UstawieniaSBClick();
    EXPECT_EQ(rows(), QStringList({G5, G5, G9})); // land register alone: no union, no merging
    answers.queue.push_back([](TTWjrOsUstFrm *d) {
        test::child<QComboBox>(d, "ObrebCbx")->setCurrentIndex(0);
        d->close();
    });
    frm->UstawieniaSBClick();
    EXPECT_EQ(test::child<QComboBox>(ust, "ObrebCbx")->currentIndex(), 2);

    // Unticking both registers ticks the land register again; defaults restore everything.
    test::child<QCheckBox>(ust, "RgrunChb")->click();
    EXPECT_TRUE(test::child<QCheckBox>(ust, "RgrunChb")->isChecked());
    test::child<QCheckBox>(ust, "ArchChb")->setChecked(true);
    test::child<QListWidget>(ust, "FwladClb")->item(2)->setCheckState(Qt::Unchecked);
    ust->DomyslneSBClick();
    EXPECT_EQ(test::child<QComboBox>(ust, "ObrebCbx")->currentIndex(), 0);
    EXPECT_FALSE(test::child<QCheckBox>(ust, "ArchChb")->isChecked());
    EXPECT_TRUE(test::child<QCheckBox>(ust, "RgrunChb")->isChecked() && test::child<QCheckBox>(ust, "RlokChb")->isChecked());
    EXPECT_TRUE(ust->WszystkieFormy());
}

TEST_F(TWjrOsobyFrmTest, NoFormOfHoldingTickedWarnsInsteadOfSearching)
{
    showPerson(Kowalski);
    // The settings window does not close on OK with nothing ticked.
    answers.queue.push_back([this](TTWjrOsUstFrm *d) {
        for (int i = 0; i < test::child<QListWidget>(d, "FwladClb")->count(); ++i)
            test::child<QListWidget>(d, "FwladClb")->item(i)->setCheckState(Qt::Unchecked);
        test::child<QPushButton>(d, "OkBtn")->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(recording.messages.size(), 1u);
        test::child<QPushButton>(d, "AnulujBtn")->click();
    });
    frm->UstawieniaSBClick();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Zaznacz przynajmniej jedną formę władania."));
    EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconWarning);
    EXPECT_EQ(recording.beeps, 1);
    EXPECT_TRUE(ust->WszystkieFormy()) << "cancel restored the forms";

    // Reached by the program: the same warning, no query.
    for (int i = 0; i < test::child<QListWidget>(ust, "FwladClb")->count(); ++i)
        untickForm(i);
    const QString sqlBefore = frm->JrQry->sql();
    EXPECT_FALSE(frm->CzytajJr());
    EXPECT_FALSE(frm->JrQry->active());
    EXPECT_EQ(frm->JrQry->sql(), sqlBefore);
    ASSERT_EQ(recording.messages.size(), 2u);
    EXPECT_EQ(recording.messages[1].text, recording.messages[0].text);
}

TEST_F(TWjrOsobyFrmTest, EnterDoubleClickAndButtonOpenTheUnitInItsRegister)
{
    test::TestWindowFactories factories;
    showPerson(Kowalski);
    auto opened = [&](app::OknoProgramu which) {
        auto *w = dynamic_cast<test::TestWindow *>(app::okno(which));
        return w ? w->shownUnits : std::vector<double>();
    };

    frm->JrGrd->setFocus();
    frm->JrQry->setRecNo(rowOf(QStringLiteral("L-3")) + 1);
    QTest::keyClick(frm->JrGrd, Qt::Key_Return);
    EXPECT_EQ(opened(app::OknoProgramu::RejestrLokali), std::vector<double>({21}));

    frm->JrQry->setRecNo(rowOf(QStringLiteral("G-7")) + 1);
    frm->PrzejscieSB->click();
    const int row = rowOf(QStringLiteral("G-9"));
    const QRect cell = frm->JrGrd->visualRect(frm->JrGrd->model()->index(row, 0));
    QTest::mouseClick(frm->JrGrd->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(frm->JrGrd->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(opened(app::OknoProgramu::RejestrGruntow), std::vector<double>({12, 13}));
    EXPECT_EQ(opened(app::OknoProgramu::RejestrLokali), std::vector<double>({21}));
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(TWjrOsobyFrmTest, RowsAreColouredByRegisterWithHistoricalHoldingsInRed)
{
    frm->resize(420, 200);
    answers.queue.push_back([](TTWjrOsUstFrm *d) {
        test::child<QCheckBox>(d, "ArchChb")->setChecked(true);
        test::child<QPushButton>(d, "OkBtn")->click();
    });
    ASSERT_EQ(frm->PokazDlaOsoby(true, QStringLiteral("Kowalski Jan, ul. Długa 5"), true, Kowalski), 1);
    const int historical = rowOf(QStringLiteral("wd"), QStringLiteral("F_WLAD"));
    ASSERT_GE(historical, 0);
    const int land = rowOf(QStringLiteral("G-7")), premises = rowOf(QStringLiteral("L-3"));

    auto look = [&](int row, bool selected) {
        widgets::DataGrid::CellParams cell;
        cell.row = row;
        cell.column = 1;
        cell.selected = selected;
        return frm->JrGrdGetCellParams(cell);
    };
    const QColor green(197, 242, 181), orange(247, 215, 149);
    EXPECT_EQ(look(land, false).tlo, green);
    EXPECT_EQ(look(premises, false).tlo, orange);
    EXPECT_EQ(look(historical, false).tlo, green);
    EXPECT_FALSE(look(land, false).czcionka.colour.has_value());
    EXPECT_FALSE(look(land, false).czcionka.bold);
    EXPECT_EQ(look(historical, false).czcionka.colour, Czerwony);
    EXPECT_TRUE(look(land, true).czcionka.bold);
    EXPECT_EQ(look(land, true).czcionka.colour, QApplication::palette().color(QPalette::WindowText));
    EXPECT_EQ(look(historical, true).czcionka.colour, Czerwony) << "red also when highlighted";
    EXPECT_TRUE(look(historical, true).czcionka.bold);

    // Painted: red text only in the historical row, the backgrounds as given.
    frm->JrQry->setRecNo(land + 1);
    const QImage image = frm->JrGrd->viewport()->grab().toImage();
    auto hasRed = [&](int row) {
        const QRect rect = frm->JrGrd->visualRect(frm->JrGrd->model()->index(row, 1));
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (image.pixelColor(x, y) == Czerwony)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasRed(historical));
    EXPECT_FALSE(hasRed(land));
    EXPECT_FALSE(hasRed(premises));
    const QRect premisesCell = frm->JrGrd->visualRect(frm->JrGrd->model()->index(premises, 4));
    EXPECT_EQ(image.pixelColor(premisesCell.right() - 2, premisesCell.center().y()), orange);
    // KATARIX_SCREENSHOTS=folder keeps pictures of both windows.
    const QString folder = qEnvironmentVariable("KATARIX_SCREENSHOTS");
    if (!folder.isEmpty()) {
        frm->grab().save(folder + QStringLiteral("/TWjrOsobyFrm.png"));
        ust->grab().save(folder + QStringLiteral("/TWjrOsUstFrm.png"));
    }
}

TEST_F(TWjrOsobyFrmTest, BothRegistersUntickedIsAnError)
{
    showPerson(Kowalski);
    test::child<QCheckBox>(ust, "RgrunChb")->setChecked(false);
    test::child<QCheckBox>(ust, "RlokChb")->setChecked(false);
    try {
        frm->CzytajJr();
        FAIL() << "no error";
    } catch (const app::AppError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Nie określono wszystkich kryteriów - pusty SQL!"));
    }
    // Through the settings button the error goes to the standard display.
    answers.queue.push_back(ok);
    frm->UstawieniaSBClick();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie określono wszystkich kryteriów - pusty SQL!"));
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconError);
}

TEST_F(TWjrOsobyFrmTest, KeepsItsPlaceAndSizeInTheConfigurationFile)
{
    frm->setGeometry(60, 70, 400, 280);
    owner.reset(); // the person file closes
    const app::IniFile ini(main->PlikIni);
    EXPECT_EQ(ini.ReadString(QStringLiteral("KATARIX.TWjrOsobyFrm"), QStringLiteral("Pos"), QString()),
              QStringLiteral("60,70"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("KATARIX.TWjrOsobyFrm"), QStringLiteral("Size"), QString()),
              QStringLiteral("280,400"));

    owner = std::make_unique<QWidget>();
    frm = new TTWjrOsobyFrm(owner.get());
    EXPECT_EQ(frm->size(), QSize(400, 280));
}

} // namespace
