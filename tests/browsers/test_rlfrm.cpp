#include "app/IniFile.h"
#include "app/support/Child.h"
#include "browsers/Rejestracja.h"
#include "browsers/RlFrm.h"
#include "browsers/support/RegisterWindowTest.h"
#include "browsers/ToolWindows.h"
#include "browsers/ZmianyFrm.h"
#include "jet/Query.h"
#include "widgets/HtmlViewer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolBar>

using namespace katarix;
using browsers::TRlFrm;
using widgets::DataGrid;

namespace {

// Commune "Zielona" with the precincts "Aleja" (11, sorts first: land register units only) and
// "Rynek" (10): premises units 601 (three current premises and a retired one, two holders),
// 602 (none, with a comment) and 603 (retired).
class RlFrmTest : public test::RegisterWindowTest {
protected:
    void SetUp() override
    {
        RegisterWindowTest::SetUp();
        auto &b = builder;
        b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
        b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
        b.add("OBREB", {{"MSLINK", 11}, {"NAZWA", "Aleja"}, {"GMINA_ID", 1.0}});
        b.add("RGRUN", {{"ID_JR", 501.0}, {"OBREB_ID", 11}, {"KOL_OBREB", 1}});
        b.add("RLOK", {{"ID_JR", 601.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}, {"KW_ID", 900.0}});
        b.add("RLOK", {{"ID_JR", 602.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 2}, {"KOMENT", 700.0}});
        b.add("RLOK", {{"ID_JR", 603.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 3}, {"ZMIANA_KAS_ID", 5.0}});
        b.add("SLO_KW", {{"KW_ID", 900.0}, {"KW_TXT", "KA1K/00000601/1"}});
        b.add("SLO_KW", {{"KW_ID", 901.0}, {"KW_TXT", "KA1K/00000081/3"}, {"WYDZKW_ID", 4}});
        b.add("SLO_WYDZKW", {{"MSLINK", 4}, {"NAZWA", "Sąd Rejonowy"}});
        b.add("KOMENTARZ", {{"MSLINK", 700.0}, {"TEKST", "Wspólnota w sporze"}});
        b.add("SLO_FUNLOK", {{"MSLINK", 1}, {"NAZWA", "mieszkalny"}});
        // Buildings: current (0), never retired (NULL) and retired (5).
        b.add("KBUDYNEK", {{"MSLINK", 1.0}, {"BUDYNEK_ID", 7001.0}, {"NIERUCH_ID", "B2"}, {"ZMIANA_KAS_ID", 0.0}});
        b.add("KBUDYNEK", {{"MSLINK", 2.0}, {"BUDYNEK_ID", 7002.0}, {"NIERUCH_ID", "B3"}});
        b.add("KBUDYNEK", {{"MSLINK", 3.0}, {"BUDYNEK_ID", 7003.0}, {"NIERUCH_ID", "B4"}, {"ZMIANA_KAS_ID", 5.0}});
        struct Lokal {
            double mslink, budynek, pow, wartosc, zmiana, kas;
            const char *nr, *uwagi;
        } lokale[] = {
            {1, 7001, 54.5, 120000.5, 1, 0, "1", "Lokal po remoncie"},
            {2, 7002, 38.25, 0, 2, 0, "2", nullptr},
            {3, 7003, 71, 0, 999, 0, "3", nullptr},
            {4, 7001, 20, 0, 1, 3, "4", nullptr}, // retired
        };
        for (const Lokal &l : lokale)
            b.add("KLOKAL", {{"MSLINK", l.mslink}, {"LOKAL_ID", 80 + l.mslink}, {"ID_JR", 601.0}, {"BUDYNEK_ID", l.budynek},
                             {"NRIMPORTED", l.nr}, {"FUN_ID", 1}, {"LICZBA_IZB", 3}, {"POW_ZAB", l.pow},
                             {"WARTOSC", l.wartosc}, {"UWAGI", l.uwagi ? registergen::FieldValue(l.uwagi) : registergen::FieldValue()},
                             {"ZMIANA_ID", l.zmiana}, {"ZMIANA_KAS_ID", l.kas}});
        b.add("KW_LOK", {{"LOKAL_ID", 81.0}, {"KW_ID", 901.0}, {"STATUS", "P"}});
        b.add("SLO_WLAD", {{"MSLINK", 1}, {"SKROT", "wl"}, {"RODZAJ", 1}});
        for (double mslink : {1.0, 2.0})
            b.add("LWRLOK", {{"MSLINK", mslink}, {"ID_JR", 601.0}, {"OSOBA_ID", 10 + mslink}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                             {"M_UDZIAL", 2}, {"OSOBA_TXT", "Osoba"}, {"ZMIANA_ID", 2.0}});
        // The changes that created the records: 1 by Anna, 2 by Bogdan; 999 names none.
        b.add("EW_USER", {{"ID", 1}, {"USER_NAME", "anna"}, {"FULL_NAME2", "Anna"}});
        b.add("EW_USER", {{"ID", 2}, {"USER_NAME", "bogdan"}, {"FULL_NAME2", "Bogdan"}});
        b.add("ZMIANY", {{"ID", 1.0}, {"USER_ID", 1}, {"DATA_D", 20100512}, {"CZAS_D", 140305}});
        b.add("ZMIANY", {{"ID", 2.0}, {"USER_ID", 2}, {"DATA_D", 20110101}, {"CZAS_D", 120000}});
    }
    void zamknijOkna() override { delete rl; }
    TRlFrm *open()
    {
        load();
        return rl = new TRlFrm;
    }
    // The user shown in the change window's page ("" for a page with empty cells).
    QString userShown() const
    {
        const QString page = rl->ZmianyTW->Html->tekst();
        for (const char *user : {"Anna", "Bogdan"})
            if (page.contains(QStringLiteral("<td> %1 </td>").arg(QLatin1String(user))))
                return QLatin1String(user);
        return {};
    }
    QString currentPremises() const { return rl->LokQry->asString(QStringLiteral("nrimported")); }
    QString cell(const DataGrid *grid, int row, const char *field) const
    {
        const int column = grid->columnOfField(QLatin1String(field));
        return column < 0 ? QStringLiteral("<no column>") : grid->model()->index(row, column).data().toString();
    }

    TRlFrm *rl = nullptr;
};

TEST_F(RlFrmTest, OpensOnAnEmptyPrecinctAndShowsPremisesUnits)
{
    open();
    EXPECT_EQ(rl->windowTitle(), QStringLiteral("Rejestr lokali"));
    // "Aleja" sorts first and has land register units only.
    EXPECT_EQ(rl->ObrebCbx->currentText(), QStringLiteral("Aleja"));
    EXPECT_EQ(rl->JrLcbx->count(), 0);
    EXPECT_EQ(rl->IleLokPnl->text(), QStringLiteral("Ilość lokali:")); // no unit, nothing opened
    EXPECT_TRUE(recording.messages.empty());

    rl->PokazJr(601);
    EXPECT_EQ(rl->ObrebCbx->currentText(), QStringLiteral("Rynek"));
    EXPECT_EQ(rl->JrLcbx->count(), 2); // 603 is retired
    EXPECT_EQ(rl->JrKlucz(), QStringLiteral("601"));
    EXPECT_EQ(rl->JrKwPnl->text(), QStringLiteral(" KA1K/00000601/1"));
    EXPECT_EQ(rl->IleLokPnl->text(), QStringLiteral(" Ilość lokali: 3"));
    EXPECT_EQ(rl->UdzWlaPnl->text(), QStringLiteral("wl + si: 2      udział: 1"));

    // Two buttons only, both enabled; no group column, a narrower left-aligned share column.
    QStringList buttons;
    for (QAction *action : rl->MainTlbr->actions()) {
        buttons << action->objectName();
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    }
    EXPECT_EQ(buttons, QStringList({"KomentTBtn", "ZmianyTBtn"}));
    EXPECT_EQ(rl->OsobyGrd->columnOfField(QStringLiteral("GRUPA")), -1);
    const int udzial = rl->OsobyGrd->columnOfField(QStringLiteral("UDZIAL"));
    EXPECT_EQ(rl->OsobyGrd->horizontalHeader()->sectionSize(udzial), 65);
    EXPECT_EQ(rl->OsobyGrd->model()->index(0, udzial).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
              int(Qt::AlignLeft));

    rl->PokazJr(602);
    EXPECT_EQ(rl->IleLokPnl->text(), QStringLiteral(" Ilość lokali: 0"));
    EXPECT_FALSE(rl->JrImg->isHidden());
}

TEST_F(RlFrmTest, PremisesJoinOnlyACurrentBuildingAndShowRegionalNumbers)
{
    open();
    rl->PokazJr(601);
    ASSERT_EQ(rl->LokQry->recordCount(), 3);
    struct Expected {
        const char *bud, *pow, *wartosc, *kw, *sad;
    };
    const std::map<QString, Expected> expected{
        {QStringLiteral("1"), {"B2", "54,5", "120000,5", "KA1K/00000081/3", "Sąd Rejonowy"}},
        {QStringLiteral("2"), {"", "38,25", "0", "", ""}}, // building's zmiana_kas_id NULL
        {QStringLiteral("3"), {"", "71", "0", "", ""}},    // building retired
    };
    for (int row = 0; row < rl->LokQry->recordCount(); ++row) {
        const QString nr = cell(rl->LokGrd, row, "nrimported");
        ASSERT_TRUE(expected.count(nr)) << nr.toStdString();
        const Expected &e = expected.at(nr);
        EXPECT_EQ(cell(rl->LokGrd, row, "BUD"), QString::fromUtf8(e.bud)) << nr.toStdString();
        EXPECT_EQ(cell(rl->LokGrd, row, "pow_zab"), QString::fromUtf8(e.pow)) << nr.toStdString();
        EXPECT_EQ(cell(rl->LokGrd, row, "wartosc"), QString::fromUtf8(e.wartosc)) << nr.toStdString();
        EXPECT_EQ(cell(rl->LokGrd, row, "KW"), QString::fromUtf8(e.kw)) << nr.toStdString();
        EXPECT_EQ(cell(rl->LokGrd, row, "SAD"), QString::fromUtf8(e.sad)) << nr.toStdString();
    }
    // The comment column: red "!" wins over the selection; other selected cells take the highlight.
    DataGrid::CellParams params;
    params.field = QStringLiteral("Kom");
    params.text = QStringLiteral("!");
    params.selected = true;
    EXPECT_EQ(rl->LokGrdGetCellParams(params), QColor(255, 0, 0));
    params.field = QStringLiteral("FUN");
    EXPECT_EQ(rl->LokGrdGetCellParams(params), QApplication::palette().color(QPalette::Highlight));
    params.selected = false;
    EXPECT_EQ(rl->LokGrdGetCellParams(params), std::nullopt);
}

TEST_F(RlFrmTest, CommentAndChangeWindowsFollowTheFocusedList)
{
    open();
    rl->PokazJr(601);
    const std::map<QString, QString> creator{{"1", "Anna"}, {"2", "Bogdan"}, {"3", ""}};
    ASSERT_TRUE(rl->ZmianyTBtn->isEnabled());
    rl->ZmianyTBtn->trigger();
    ASSERT_TRUE(rl->ZmianyTW->isVisible());
    EXPECT_EQ(rl->ZmianyTW->windowTitle(), QStringLiteral("Zmiany"));
    // The premises are the source at start; the page follows the current premises.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(userShown(), creator.at(currentPremises())) << currentPremises().toStdString();
        EXPECT_EQ(rl->PrzedmiotImg->isHidden(), currentPremises() != QStringLiteral("1"));
        rl->LokQry->next();
    }

    rl->DBGridsEnter(rl->OsobyGrd);
    EXPECT_EQ(rl->ZmianyTW->windowTitle(), QStringLiteral("Zmiany - osoba"));
    EXPECT_EQ(userShown(), QStringLiteral("Bogdan"));
    rl->KomentTBtn->trigger();
    EXPECT_EQ(rl->KomentTW->windowTitle(), QStringLiteral("Komentarz - osoba"));

    rl->KomentImgClick(browsers::ZnacznikKomentarza::Przedmiot);
    EXPECT_EQ(rl->ZmianyTW->windowTitle(), QStringLiteral("Zmiany - lokal"));
    EXPECT_EQ(rl->KomentTW->windowTitle(), QStringLiteral("Komentarz - lokal"));
    rl->LokQry->first();
    EXPECT_EQ(userShown(), creator.at(currentPremises()));

    // A unit without premises leaves both windows as they were.
    const QString page = rl->ZmianyTW->Html->tekst();
    const QString comment = rl->KomentTW->Memo->toPlainText();
    rl->PokazJr(602);
    EXPECT_EQ(rl->ZmianyTW->Html->tekst(), page);
    EXPECT_EQ(rl->KomentTW->Memo->toPlainText(), comment);

    // The close box raises the button and leaves the blank page; the comment window stays.
    rl->ZmianyTW->close();
    EXPECT_FALSE(rl->ZmianyTBtn->isChecked());
    EXPECT_EQ(rl->ZmianyTW->Html->tekst().count(QStringLiteral("<td> &nbsp </td>")), 6);
    EXPECT_TRUE(rl->KomentTW->isVisible());
    rl->ZmianyTBtn->trigger();
    EXPECT_TRUE(rl->ZmianyTW->isVisible());
}

TEST_F(RlFrmTest, ErrorCaptionsNameThePremisesRegister)
{
    open();
    rl->PokazJr(501); // a land register unit
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie udało się odnaleźć podanej jednostki rejestrowej."));
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd przy szukaniu JR rejestru lokali"));
    EXPECT_EQ(recording.beeps, 1);
}

TEST_F(RlFrmTest, ACommuneWithoutPrecinctsLeavesTheListsEmptyWithoutAMessage)
{
    builder.add("GMINA", {{"MSLINK", 3.0}, {"NAZWA", "Aleksandrów"}});
    open();
    EXPECT_TRUE(recording.messages.empty());
    EXPECT_EQ(rl->GminaCbx->currentText(), QStringLiteral("Aleksandrów"));
    EXPECT_EQ(rl->ObrebCbx->count(), 0);
    EXPECT_EQ(rl->JrLcbx->count(), 0);
    EXPECT_EQ(rl->LokGrd->model()->rowCount(), 0);
    rl->PokazJr(601);
    EXPECT_EQ(rl->JrKlucz(), QStringLiteral("601"));
    EXPECT_EQ(rl->LokGrd->model()->rowCount(), 3);
    rl->GminaCbx->setCurrentIndex(rl->GminaCbx->findText(QStringLiteral("Aleksandrów")));
    rl->GminaCbxChange();
    EXPECT_EQ(rl->JrLcbx->count(), 0);
    EXPECT_EQ(rl->LokGrd->model()->rowCount(), 0);
    EXPECT_EQ(rl->OsobyGrd->model()->rowCount(), 0);
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(RlFrmTest, EmptyCommuneTableShowsTheCreationError)
{
    builder = registergen::RegisterBuilder();
    open();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd przy tworzeniu okna rejestru lokali"));
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconError);
}

TEST_F(RlFrmTest, MainWindowCommandsOpenOneWindowThatKeepsItsLayout)
{
    load();
    main->show();
    browsers::zarejestrujOknaRejestrow();
    EXPECT_TRUE(test::child<QAction>(main, "Rejestrlokali1")->isEnabled());
    EXPECT_TRUE(test::child<QAction>(main, "RejLokTBtn")->isEnabled());
    EXPECT_EQ(test::child<QAction>(main, "Rejestrlokali1")->shortcut(), QKeySequence(Qt::Key_F8));
    main->PokazRejestrLokali(602);
    auto *opened = qobject_cast<TRlFrm *>(app::okno(app::OknoProgramu::RejestrLokali));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->JrKlucz(), QStringLiteral("602"));
    main->PokazRejestrLokali(601);
    EXPECT_EQ(app::okno(app::OknoProgramu::RejestrLokali), opened);
    EXPECT_EQ(opened->JrKlucz(), QStringLiteral("601"));

    QApplication::processEvents();
    opened->RxSplitter1->setSizes({150, 200});
    opened->ZmianyTBtn->trigger();
    opened->ZmianyTW->move(40, 50);
    opened->parentWidget()->close(); // the MDI sub-window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app::okno(app::OknoProgramu::RejestrLokali), nullptr);
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, nullptr);
    app::zarejestrujOkno(app::OknoProgramu::RejestrLokali, nullptr);

    const app::IniFile ini(main->PlikIni);
    const QString section = QStringLiteral("KATARIX.REJESTR_LOKALI");
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("Panel2.Height"), QString()), QStringLiteral("150"));
    EXPECT_TRUE(ini.ValueExists(section, QStringLiteral("OsobyGrd.Columns")));
    EXPECT_FALSE(ini.ValueExists(section, QStringLiteral("LokGrd.Columns")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("RejLok.KATARIX.ZmianyFrm"), QStringLiteral("Left"), QString()), QStringLiteral("40"));
}

} // namespace
