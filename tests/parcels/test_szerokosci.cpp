// Columns and windows are designed in pixels for Tahoma at 11 px. Through the program's start-up
// Tahoma (from fonts-wine) is the font and the designed widths stand; with a wider font every
// designed width and window size grows with it. In both, every column's header text fits with
// its margin.
#include "app/CzcionkaProgramu.h"
#include "app/Formularze.h"
#include "app/main/Start.h"
#include "app/MainFrm.h"
#include "app/RejestrOkien.h"
#include "app/support/Child.h"
#include "browsers/Rejestracja.h"
#include "browsers/RgFrm.h"
#include "browsers/ToolWindows.h"
#include "browsers/ZmianyFrm.h"
#include "common/RequiredTool.h"
#include "parcels/Rejestracja.h"
#include "persons/Rejestracja.h"
#include "reports/Rejestracja.h"
#include "support/ParcelsTestSupport.h"
#include "support/TestApplication.h"
#include "widgets/DataGrid.h"
#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cmath>

using namespace katarix;
using widgets::DataGrid;

namespace {

// The four windows of the main window, opened through its commands on the parcel register, with
// a configuration file of their own (no layout stored).
QList<QWidget *> otworzOkna(const QTemporaryDir &folder)
{
    app::MainFrm->PlikIni = folder.filePath(QStringLiteral("Katarix.ini"));
    parceltest::parcelRegister().toDatabase(app::MainFrm->baza());
    for (QAction *command : {test::child<QAction>(app::MainFrm, "RejestrGruntMi"), test::child<QAction>(app::MainFrm, "Rejestrlokali1"),
                             test::child<QAction>(app::MainFrm, "KartotekaDzialekMi"), test::child<QAction>(app::MainFrm, "KartotekaOsobMi")})
        command->trigger();
    QList<QWidget *> okna;
    for (app::OknoProgramu okno : {app::OknoProgramu::RejestrGruntow, app::OknoProgramu::RejestrLokali,
                                   app::OknoProgramu::KartotekaDzialek, app::OknoProgramu::KartotekaOsob})
        okna << app::okno(okno);
    return okna;
}

// Every column of every grid and list of the windows (their tool windows and dialogs included):
// its header text with the margin fits its width; a designed column takes its designed width at
// the program's scale, or its text's when that is wider.
void sprawdzKolumny(const QList<QWidget *> &okna)
{
    int kolumny = 0;
    for (QWidget *okno : okna) {
        ASSERT_NE(okno, nullptr);
        for (DataGrid *grid : okno->findChildren<DataGrid *>()) {
            const QHeaderView *header = grid->horizontalHeader();
            const QList<DataGrid::Column> &designed = grid->designedColumns();
            for (int i = 0; i < designed.size(); ++i) {
                const QString title = designed[i].title.isEmpty() ? designed[i].field : designed[i].title;
                SCOPED_TRACE((grid->objectName() + QStringLiteral(" ") + title).toStdString());
                const int text = header->fontMetrics().horizontalAdvance(title) + widgets::MarginesNaglowka;
                const int width = designed[i].width >= 0 ? designed[i].width : DataGrid::DefaultColumnWidth;
                EXPECT_LE(text, header->sectionSize(i));
                EXPECT_EQ(header->sectionSize(i), std::max(int(std::lround(width * widgets::skalaProjektu())), text));
                ++kolumny;
            }
        }
        for (QTreeWidget *list : okno->findChildren<QTreeWidget *>()) {
            for (int i = 0; i < list->columnCount(); ++i) {
                const QString title = list->headerItem()->text(i);
                SCOPED_TRACE((list->objectName() + QStringLiteral(" ") + title).toStdString());
                EXPECT_LE(list->header()->fontMetrics().horizontalAdvance(title) + widgets::MarginesNaglowka,
                          list->header()->sectionSize(i));
                ++kolumny;
            }
        }
    }
    EXPECT_GT(kolumny, 100);
}

// Windows designed in pixels take their designed size at the program's scale.
void sprawdzRozmiary(const QList<QWidget *> &okna)
{
    auto *rg = qobject_cast<browsers::TRgFrm *>(okna[0]);
    ASSERT_NE(rg, nullptr);
    EXPECT_EQ(rg->ZmianyTW->size(), widgets::projektowe(QSize(481, 230)));
    EXPECT_EQ(rg->BudTW->size(), widgets::projektowe(QSize(518, 126)));
    EXPECT_EQ(rg->LokTW->size(), widgets::projektowe(QSize(523, 140)));
    EXPECT_EQ(rg->KomentTW->size(), widgets::projektowe(QSize(286, 72)));
}

// Opens the windows on the program's forms, checks them and frees the forms again.
void sprawdzOkna(const test::RecordingInteraction &recording)
{
    QTemporaryDir folder;
    const QList<QWidget *> okna = otworzOkna(folder);
    sprawdzKolumny(okna);
    sprawdzRozmiary(okna);
    EXPECT_TRUE(recording.messages.empty());
    app::ZwolnijFormularze();
    for (app::OknoProgramu okno : {app::OknoProgramu::RejestrGruntow, app::OknoProgramu::RejestrLokali,
                                   app::OknoProgramu::KartotekaDzialek, app::OknoProgramu::KartotekaOsob,
                                   app::OknoProgramu::SpisWladajacych})
        app::zarejestrujOkno(okno, nullptr);
}

TEST(SzerokosciTest, WithTahomaTheDesignedWidthsStandAndEveryHeaderFits)
{
    KATARIX_REQUIRE_TOOL(QFile::exists(QDir(app::FolderCzcionekTahoma()).filePath(QStringLiteral("tahoma.ttf"))),
                         "Tahoma (fonts-wine) is not installed; run scripts/setup.sh (it installs fonts-wine)");
    test::ensureApplication();
    test::RecordingInteraction recording;
    app::PrzygotujProgram();
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(widgets::skalaProjektu(), 1.0);
    // A label one line high shows the accents of Polish capitals whole, in both faces; the line
    // is Windows' 13 px.
    for (const bool bold : {false, true}) {
        QFont font = QApplication::font();
        font.setBold(bold);
        const QFontMetrics metrics(font);
        SCOPED_TRACE(bold ? "bold" : "regular");
        EXPECT_GE(metrics.ascent(), -metrics.tightBoundingRect(QStringLiteral("ĄĆĘŁŃÓŚŹŻ")).top());
        EXPECT_EQ(metrics.height(), 13);
    }
    sprawdzOkna(recording);
}

TEST(SzerokosciTest, WithAWiderFontDesignedWidthsAndWindowSizesGrowWithIt)
{
    test::ensureApplication();
    test::RecordingInteraction recording;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    ASSERT_NE(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    QApplication::setFont(font);
    widgets::ustawSkaleProjektu(font);
    EXPECT_GT(widgets::skalaProjektu(), 1.05);
    browsers::zarejestrujOknaRejestrow();
    parcels::zarejestrujKartotekeDzialek();
    persons::zarejestrujKartotekeOsob();
    app::UtworzFormularze();
    sprawdzOkna(recording);
    widgets::ustawSkaleProjektu(QFont(QStringLiteral("Tahoma")));
}

} // namespace
