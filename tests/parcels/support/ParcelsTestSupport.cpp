#include "support/ParcelsTestSupport.h"

#include "jet/JetFunctions.h"
#include "support/TestApplication.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTreeWidget>

namespace katarix::parceltest {

registergen::RegisterBuilder parcelRegister()
{
    registergen::RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("GMINA", {{"MSLINK", 2.0}, {"NAZWA", "Bystra"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("OBREB", {{"MSLINK", 11}, {"NAZWA", "Łąki"}, {"GMINA_ID", 1.0}});
    b.add("OBREB", {{"MSLINK", 20}, {"NAZWA", "Zawodzie"}, {"GMINA_ID", 2.0}});
    b.add("ARKUSZ", {{"MSLINK", 5.0}, {"NAZWA", "3"}, {"OBREB_ID", 10}});
    b.add("ARKUSZ", {{"MSLINK", 6.0}, {"NAZWA", "1"}, {"OBREB_ID", 10}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("RGRUN", {{"ID_JR", 102.0}, {"OBREB_ID", 11}, {"KOL_OBREB", 2}});
    b.add("RGRUN", {{"ID_JR", 201.0}, {"OBREB_ID", 20}, {"KOL_OBREB", 1}});
    b.add("SLO_KLABOT", {{"MSLINK", 11}, {"SKROT", "RIIIa"}, {"DEF_UZ", 1}});
    b.add("SLO_UZYT", {{"MSLINK", 1}, {"SKROT", "R"}});
    b.add("SLO_UZYT", {{"MSLINK", 2}, {"SKROT", "B"}});
    b.add("SLO_WYDZKW", {{"MSLINK", 1}, {"NAZWA", "Sąd Rejonowy w Dąbrowie"}});
    b.add("SLO_KW", {{"KW_ID", 900.0}, {"NAZWA", "KA1K/00012345/6"}, {"WYDZKW_ID", 1}});
    b.add("SLO_KW", {{"KW_ID", 901.0}, {"NAZWA", "KA1K/00000007/1"}, {"WYDZKW_ID", 1}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 1.0}, {"NAZWA", "Zielona Wieś"}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 2.0}, {"NAZWA", "Poza obrębami"}});
    b.add("OBR_MIEJSC", {{"OBREB_ID", 10}, {"MIEJSC_ID", 1.0}});
    b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 1}, {"PRZEDROSTEK", "ul."}});
    b.add("SLO_ULICE", {{"ULICA_ID", 100.0}, {"NAZWA", "Długa"}, {"RODZ_UL_ID", 1}, {"MIEJSC_ID", 1.0}});
    b.add("SLO_ULICE", {{"ULICA_ID", 101.0}, {"NAZWA", "Krótka"}, {"MIEJSC_ID", 1.0}});
    b.add("ADRES", {{"ADRES_ID", 1000.0}, {"ULICA_ID", 100.0}, {"NUMER", "12a"}});
    b.add("ADRES", {{"ADRES_ID", 1001.0}, {"ULICA_ID", 101.0}, {"NUMER", "4"}});

    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"ARKUSZ_ID", 5.0},
                       {"NR_L", 12}, {"NR_M", 3}, {"AREA", 5000.0}, {"POLOZENIE", "O'Brien pole"}, {"ADRES_ID", 1000.0},
                       {"ZMIANA_ID", 1.0}});
    b.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"ARKUSZ_ID", 6.0},
                       {"NR_L", 12}, {"NR_M", 3}, {"NR_ADD", "A"}, {"AREA", 12500.0}, {"AW", "akt 15/2001"},
                       {"ZMIANA_ID", 2.0}, {"ZMIANA_KAS_ID", 0.0}});
    b.add("KDZIALKA", {{"MSLINK", 3.0}, {"DZIALKA_ID", 13.0}, {"ID_JR", 102.0}, {"OBREB_ID", 11}, {"NR_L", 7},
                       {"AREA", 2500.0}, {"ZMIANA_ID", 3.0}, {"ZMIANA_KAS_ID", 40.0}});
    b.add("KDZIALKA", {{"MSLINK", 4.0}, {"DZIALKA_ID", 13.0}, {"ID_JR", 102.0}, {"OBREB_ID", 11}, {"NR_L", 7},
                       {"AREA", 2600.0}, {"ZMIANA_ID", 40.0}});
    b.add("KDZIALKA", {{"MSLINK", 5.0}, {"DZIALKA_ID", 15.0}, {"ID_JR", 201.0}, {"OBREB_ID", 20}, {"NR_L", 30},
                       {"NR_M", 1}, {"AREA", 20000.0}, {"ADRES_ID", 1001.0}, {"ZMIANA_ID", 5.0}});
    b.add("EW_ADRES", {{"DZIALKA_ID", 11.0}, {"ADRES_ID", 1000.0}, {"ZMIANA_ID", 1.0}});
    b.add("EW_ADRES", {{"DZIALKA_ID", 15.0}, {"ADRES_ID", 1001.0}, {"ZMIANA_ID", 5.0}});
    b.add("KW_DLK", {{"DZIALKA_ID", 11.0}, {"KW_ID", 900.0}, {"STATUS", "P"}, {"ZMIANA_ID", 1.0}});
    b.add("KW_DLK", {{"DZIALKA_ID", 13.0}, {"KW_ID", 901.0}, {"STATUS", "P"}, {"ZMIANA_ID", 40.0}});
    b.add("KW_DLK", {{"DZIALKA_ID", 13.0}, {"KW_ID", 900.0}, {"STATUS", "P"}, {"ZMIANA_ID", 41.0}});
    b.add("KLASOUZ", {{"MSLINK", 31.0}, {"OBSZAR_ID", 1.0}, {"KLASA_ID", 11}, {"UZYTEK_ID", 1}, {"AREA", 4000.0}});
    b.add("KLASOUZ", {{"MSLINK", 32.0}, {"OBSZAR_ID", 1.0}, {"UZYTEK_ID", 2}, {"AREA", 1000.0}});
    b.add("KBUDYNEK", {{"MSLINK", 70.0}, {"BUDYNEK_ID", 700.0}, {"IS_BUDYNKOWA", 0}, {"ID_JR", 101.0},
                       {"NIERUCH_ID", "B-1"}});
    b.add("DLK_BUD", {{"DZIALKA_ID", 11.0}, {"BUDYNEK_ID", 700.0}});
    return b;
}

void ParcelsTest::SetUp()
{
    test::ensureApplication();
    QDir(root.path()).mkpath(QStringLiteral("Program"));
    main = new app::TMainFrm(nullptr, root.filePath(QStringLiteral("Program")));
    app::MainFrm = main;
}

void ParcelsTest::TearDown()
{
    delete file;
    file = nullptr;
    delete main;
    main = nullptr;
    app::MainFrm = nullptr;
}

parcels::TKarDzFrm *ParcelsTest::openFile()
{
    builder.toDatabase(main->baza());
    file = new parcels::TKarDzFrm;
    return file;
}

QString ParcelsTest::panel(int index) const
{
    return test::child<QLabel>(file, QStringLiteral("StatusPanel%1").arg(index))->text();
}

QAction *ParcelsTest::akcja(const char *name) const
{
    return test::child<QAction>(file, name);
}

QStringList ParcelsTest::rows() const
{
    QStringList out;
    for (int i = 0; i < lista()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lista()->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < 6; ++c)
            cells << item->text(c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QStringList ParcelsTest::selectedCaptions() const
{
    QStringList out;
    for (int i = 0; i < lista()->topLevelItemCount(); ++i)
        if (lista()->topLevelItem(i)->isSelected())
            out << lista()->topLevelItem(i)->text(0);
    return out;
}

void ParcelsTest::selectRows(std::initializer_list<int> rowsToSelect)
{
    lista()->clearSelection();
    for (const int row : rowsToSelect)
        lista()->topLevelItem(row)->setSelected(true);
}

} // namespace katarix::parceltest
