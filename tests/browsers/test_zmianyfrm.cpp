#include "app/IniFile.h"
#include "browsers/RgFrm.h"
#include "browsers/RlFrm.h"
#include "browsers/ZmianyFrm.h"
#include "browsers/support/RegisterWindowTest.h"
#include "jet/Query.h"
#include "widgets/HtmlViewer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QApplication>
#include <QRegularExpression>
#include <QTextDocument>

using namespace katarix;
using browsers::TTWzmianyFrm;

namespace {

// The page as the clerk's other tools know it: fourteen CR LF lines, six cells filled in.
QString page(const QStringList &cells)
{
    const QString row = QStringLiteral("<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">%1</th>%2%3\r\n");
    const char *const headers[] = {"Nr zmiany", "Wprowadził", "Data zmiany", "Rodz. wniosk. zmiany", "Dokumenty", "Opis zmiany"};
    const int spaces[] = {14, 13, 12, 3, 14, 12};
    QString text = QStringLiteral(
        "<head> <meta http-equiv=\"content-type\" content=\"text/html; charset=Windows-1250\"> </head>\r\n"
        "<table bgcolor=\"gray\" cellPadding=2 cellSpacing=1 width=100% align=center>\r\n"
        "<colgroup>\r\n"
        "  <col align=right width=130>\r\n"
        "  <col >\r\n"
        "</colgroup>\r\n"
        "<tr bgcolor=\"silver\"><th></th><td nowrap align=center><b>ZMIANA TWORZĄCA</b></td>\r\n");
    for (int i = 0; i < 6; ++i)
        text += row.arg(QString::fromUtf8(headers[i]), QString(spaces[i], QLatin1Char(' ')), cells.value(i));
    return text + QStringLiteral("</table>\r\n");
}

QStringList cells(const QStringList &values)
{
    QStringList out;
    for (const QString &value : values)
        out << QStringLiteral("<td> ") + value + QStringLiteral(" </td>");
    return out;
}

// Change 1 (case 10: two numbers, four documents, texts with markup characters), change 2
// without a case and before ten o'clock, change 3 with case 0.
class ZmianyFrmTest : public test::RegisterWindowTest {
protected:
    void SetUp() override
    {
        RegisterWindowTest::SetUp();
        auto &b = builder;
        b.add("EW_USER", {{"ID", 1}, {"USER_NAME", "akowal"}, {"FULL_NAME2", "Anna <Kowal> & syn"}});
        b.add("EW_USER", {{"ID", 2}, {"USER_NAME", "bnowak"}});
        b.add("SLO_RODZ_ZM", {{"RODZ_ZM_ID", 3}, {"NAZWA", "Podział & scalenie"}});
        b.add("ZMIANY", {{"ID", 1.0}, {"USER_ID", 1}, {"SPRAWA_ID", 10.0}, {"DATA_D", 20100512}, {"CZAS_D", 140305}});
        b.add("ZMIANY", {{"ID", 2.0}, {"USER_ID", 2}, {"DATA_D", 20100512}, {"CZAS_D", 90305}});
        b.add("ZMIANY", {{"ID", 3.0}, {"USER_ID", 2}, {"SPRAWA_ID", 0.0}, {"DATA_D", 20111231}, {"CZAS_D", 235959}});
        b.add("SPRAWA", {{"SPRAWA_ID", 10.0}, {"OPIS", "Podział <A> & scalenie"}, {"RODZ_ZM_ID", 3}});
        b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
        b.add("SPRAWA_NR", {{"SPRAWA_ID", 10.0}, {"NR", 3}, {"ROK", 2011}, {"OBREB_ID", 10}});
        b.add("SPRAWA_NR", {{"SPRAWA_ID", 10.0}, {"NR", 12}, {"NRADD", "a"}, {"ROK", 2010}, {"OBREB_ID", 10}});
        b.add("SLO_RODZDOK", {{"MSLINK", 1}, {"OPIS", "Akt notarialny"}});
        b.add("SLO_RODZDOK", {{"MSLINK", 2}, {"OPIS", "Operat techniczny"}});
        b.add("ZGLASZAJACY", {{"ID", 4}, {"OPIS", "Kancelaria A & B"}});
        b.add("DOK", {{"DOK_ID", 51.0}, {"SYGNATURA", "Rep. <A> 5/2010"}, {"DATA_DOK", 20100430}, {"RODZDOK_ID", 1}, {"ZGLASZ_ID", 4}});
        b.add("DOK", {{"DOK_ID", 52.0}, {"SYGNATURA", "Rep. A 6/2010"}, {"DATA_DOK", 20100501}, {"RODZDOK_ID", 1}});
        b.add("SPRAWA_DOK", {{"SPRAWA_ID", 10.0}, {"DOK_ID", 51.0}});
        b.add("SPRAWA_DOK", {{"SPRAWA_ID", 10.0}, {"DOK_ID", 52.0}});
        b.add("OPERAT", {{"MSLINK", 61.0}, {"SEKCJA", "P.1201"}, {"NR_KOL", 15}, {"ROK_ZGL", 2010}, {"DATA_ZAKLAUZUL", 20100502}});
        b.add("SPRAWA_OPERAT", {{"SPRAWA_ID", 10.0}, {"OPERAT_ID", 61.0}});
        b.add("SLO_OPERATTYP", {{"OPERATTYP_ID", 1}, {"SKROT", "P"}});
        b.add("OPERAT_ZASOB", {{"OPERATZASOB_ID", 71.0}, {"OPERATTYP_ID", 1}, {"J_SEGR", "1201"}, {"NR_ADDED", "A"},
                               {"NR_KOL", "33"}, {"ROK_ZGL", "2009"}, {"TOM", "2"}, {"DATA_ZAKLAUZUL", 20091201}});
        b.add("SPRAWA_OPERAT_Z", {{"SPRAWA_ID", 10.0}, {"OPERATZASOB_ID", 71.0}});
    }
    void zamknijOkna() override
    {
        delete zm;
        delete rg;
    }
    TTWzmianyFrm *open()
    {
        load();
        return zm = new TTWzmianyFrm(nullptr);
    }

    TTWzmianyFrm *zm = nullptr;
    browsers::TRgFrm *rg = nullptr;
};

TEST_F(ZmianyFrmTest, PageOfAChangeWithAndWithoutACase)
{
    open();
    const QString numbers = QStringLiteral(" 12-a/2010 obr. Rynek<br> 3/2011 obr. Rynek");
    const QString documents = QStringLiteral(
        "Akt notarialny Rep. &lt;A&gt; 5/2010 z dnia 20100430 wydany przez Kancelaria A &amp; B<br>"
        "Akt notarialny Rep. A 6/2010 z dnia 20100501<br>"
        "Operat techniczny P.1201-15/2010 złożony dnia 2010-05-02<br>"
        "Operat pomiarowy P1201.A-33/2009_2 złożony dnia 2009-12-01");
    struct Case {
        const char *name;
        double id;
        QStringList values;
    } cases[] = {
        {"with a case", 1,
         {numbers, "Anna &lt;Kowal&gt; &amp; syn", "2010-05-12 14:03:05", "Podział &amp; scalenie", documents,
          "Podział &lt;A&gt; &amp; scalenie"}},
        {"no case, one-digit hour", 2, {"", "bnowak", "2010-05-12 9:03:05", "", "", ""}},
        {"case 0", 3, {"", "bnowak", "2011-12-31 23:59:59", "", "", ""}},
        {"no such change", 999, {"", "", "", "", "", ""}},
        {"no record", 0, {"", "", "", "", "", ""}},
    };
    for (const Case &c : cases) {
        zm->PokazZmiane(true, c.id);
        EXPECT_TRUE(zm->isVisible()) << c.name;
        EXPECT_EQ(zm->Html->tekst(), page(cells(c.values))) << c.name;
        EXPECT_FALSE(zm->ZmianaQry->active()) << c.name;
        EXPECT_FALSE(zm->NrZmnQry->active()) << c.name;
        EXPECT_FALSE(zm->DokQry->active()) << c.name;
    }
    EXPECT_EQ(zm->NumerySprawy(10), numbers);
    EXPECT_EQ(zm->NumerySprawy(0.5), QString());
    EXPECT_EQ(zm->DokumentySprawy(10), documents);
    EXPECT_EQ(zm->DokumentySprawy(-1), QString());

    // Hiding leaves the blank page, "&nbsp" without its semicolon.
    zm->PokazZmiane(false, 1);
    EXPECT_EQ(zm->Html->tekst(), page(cells(QStringList(6, QStringLiteral("&nbsp")))));
    EXPECT_FALSE(zm->Html->toPlainText().contains(QLatin1String("nbsp")));
}

TEST_F(ZmianyFrmTest, TextsWithMarkupCharactersShowLiterally)
{
    open();
    zm->PokazZmiane(true, 1);
    const QString shown = zm->Html->toPlainText();
    for (const char *text : {"Anna <Kowal> & syn", "Podział <A> & scalenie", "Rep. <A> 5/2010", "Kancelaria A & B",
                             "ZMIANA TWORZĄCA", "12-a/2010 obr. Rynek"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text;
    // The <br> separators stay line breaks: each document and number on its own line.
    EXPECT_TRUE(shown.contains(QRegularExpression(QStringLiteral("obr\\. Rynek\n ?3/2011 obr\\. Rynek")))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QRegularExpression(QStringLiteral("Kancelaria A & B\n ?Akt notarialny Rep\\. A 6/2010"))));
}

TEST_F(ZmianyFrmTest, LandRegisterWindowTogglesItAndKeepsItsOwnSection)
{
    builder.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    builder.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    builder.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"NR_L", 1}, {"AREA", 100.0}, {"ZMIANA_ID", 2.0}});
    builder.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 101.0}, {"NR_L", 2}, {"AREA", 100.0}, {"ZMIANA_ID", 1.0}});
    builder.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 5.0}, {"WLAD_ID", 1}, {"ZMIANA_ID", 3.0}});
    load();
    rg = new browsers::TRgFrm;
    ASSERT_TRUE(rg->ZmianyTBtn->isEnabled());
    EXPECT_EQ(rg->ZmianyTW->FrmStrg.section(), QStringLiteral("RejGrun.KATARIX.ZmianyFrm"));
    EXPECT_EQ(rg->ZmianyTW->windowTitle(), QStringLiteral("Zmiany"));
    rg->ZmianyTBtn->trigger();
    ASSERT_TRUE(rg->ZmianyTW->isVisible());
    const QString &shown = rg->ZmianyTW->Html->tekst();
    // Parcels are the source at start.
    EXPECT_TRUE(shown.contains(QStringLiteral("<td> bnowak </td>")));
    rg->DzialkiQry->next();
    EXPECT_TRUE(shown.contains(QStringLiteral("<td> Anna &lt;Kowal&gt; &amp; syn </td>")));
    rg->DBGridsEnter(rg->OsobyGrd);
    EXPECT_EQ(rg->ZmianyTW->windowTitle(), QStringLiteral("Zmiany - osoba"));
    EXPECT_TRUE(shown.contains(QStringLiteral("<td> 2011-12-31 23:59:59 </td>")));
    // An empty list describes no record: all six cells empty.
    rg->DBGridsEnter(rg->BudGrd);
    EXPECT_EQ(rg->ZmianyTW->windowTitle(), QStringLiteral("Zmiany - budynek"));
    EXPECT_EQ(shown, page(cells(QStringList(6, QString()))));

    rg->ZmianyTW->move(30, 40);
    rg->ZmianyTW->close();
    EXPECT_FALSE(rg->ZmianyTBtn->isChecked());
    EXPECT_EQ(shown, page(cells(QStringList(6, QStringLiteral("&nbsp")))));
    delete rg;
    rg = nullptr;
    const app::IniFile ini(main->PlikIni);
    EXPECT_EQ(ini.ReadString(QStringLiteral("RejGrun.KATARIX.ZmianyFrm"), QStringLiteral("Left"), QString()), QStringLiteral("30"));
}

#ifdef KATARIX_DEMO_REGISTER
// The demo register through the real session: the change of a parcel that came with documents,
// and premises areas with the regional separator. KATARIX_SCREENSHOTS names a folder for a
// picture of the change window.
TEST_F(ZmianyFrmTest, DemoRegisterThroughTheSession)
{
    main->OpcjeOtwarcia.loaderPath = QStringLiteral(KATARIX_LOADER);
    main->OpcjeOtwarcia.cacheDir = root.filePath(QStringLiteral("cache"));
    main->SciezkaBazy = QStringLiteral(KATARIX_DEMO_REGISTER);
    ASSERT_TRUE(main->SprawdzPolaczenie());
    rg = new browsers::TRgFrm;
    rg->resize(900, 600);
    rg->show();
    rg->ZmianyTBtn->trigger();
    rg->DzialkiGrd->setFocus();
    QApplication::processEvents();
    const QString &shown = rg->ZmianyTW->Html->tekst();
    bool found = false;
    for (int unit = 0; unit < rg->JrLcbx->count() && !found; ++unit) {
        emit rg->JrLcbx->activated(unit);
        for (rg->DzialkiQry->first(); !rg->DzialkiQry->eof(); rg->DzialkiQry->next()) {
            found = shown.contains(QStringLiteral(" wydany przez ")) && shown.contains(QStringLiteral("<br>"));
            if (found)
                break;
        }
    }
    ASSERT_TRUE(found);
    EXPECT_TRUE(shown.contains(QRegularExpression(QStringLiteral("<td> \\d{4}-\\d\\d-\\d\\d \\d?\\d:\\d\\d:\\d\\d </td>"))));
    EXPECT_TRUE(recording.messages.empty());
    const QString folder = qEnvironmentVariable("KATARIX_SCREENSHOTS");
    if (!folder.isEmpty()) {
        rg->ZmianyTW->resize(481, 230);
        QApplication::processEvents();
        EXPECT_TRUE(shown.contains(QStringLiteral(" wydany przez ")));
        rg->ZmianyTW->grab().save(QDir(folder).filePath(QStringLiteral("zmiany.png")));
        rg->grab().save(QDir(folder).filePath(QStringLiteral("rgfrm.png")));
    }
    delete rg;
    rg = nullptr;

    browsers::TRlFrm rl;
    rl.resize(800, 500);
    rl.show();
    bool decimal = false;
    for (int precinct = 0; precinct < rl.ObrebCbx->count() && !decimal; ++precinct) {
        rl.ObrebCbx->setCurrentIndex(precinct);
        rl.ObrebCbxChange();
        for (int unit = 0; unit < rl.JrLcbx->count() && !decimal; ++unit) {
            emit rl.JrLcbx->activated(unit);
            const int column = rl.LokGrd->columnOfField(QStringLiteral("pow_zab"));
            for (int row = 0; row < rl.LokQry->recordCount() && !decimal; ++row) {
                const QString area = rl.LokGrd->model()->index(row, column).data().toString();
                EXPECT_FALSE(area.contains(QLatin1Char('.'))) << area.toStdString();
                decimal = area.contains(QLatin1Char(','));
            }
        }
    }
    EXPECT_TRUE(decimal);
    EXPECT_TRUE(rl.IleLokPnl->text().startsWith(QStringLiteral(" Ilość lokali: ")));
    if (!folder.isEmpty())
        rl.grab().save(QDir(folder).filePath(QStringLiteral("rlfrm.png")));
}
#endif

} // namespace
