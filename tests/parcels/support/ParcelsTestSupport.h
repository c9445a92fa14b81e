#pragma once

// Parcel file tests: a small register, the main window on it, the parcel file and its search.

#include "app/MainFrm.h"
#include "common/SeparatorGuard.h"
#include "parcels/DodDlkFrm.h"
#include "parcels/KarDzFrm.h"
#include "registergen/RegisterBuilder.h"
#include "support/Child.h"
#include "support/RecordingInteraction.h"
#include "widgets/ListaRobocza.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

namespace katarix::parceltest {

// Communes "Zielona" (1: precincts "Rynek" 10 and "Łąki" 11) and "Bystra" (2: "Zawodzie" 20);
// units 101 (no. 1) and 102 (no. 2) in Rynek, 201 in Zawodzie; sheets "3" (5) and "1" (6) in
// Rynek. Parcels (mslink: number, area m², unit, more):
//   1: 12/3 in Rynek, 5000, 101, sheet 5, location "O'Brien pole", address Długa 12a, land book
//      900, class/use RIIIa 4000 m² and B 1000 m², a building
//   2: 12/3-A in Rynek, 12500, 101, sheet 6, other documents "akt 15/2001"
//   3: 7 in Łąki, 2500, 102, no address, retired (ZMIANA_KAS_ID 40)
//   4: 7 in Łąki, 2600, 102, the current version of parcel 3; two land book links of status P
//   5: 30/1 in Zawodzie, 20000, 201, address Krótka 4
// Places: "Zielona Wieś" (1) with streets "Długa" (100, prefix "ul.") and "Krótka" (101).
registergen::RegisterBuilder parcelRegister();

// The main window on a built register and the recording Interaction.
class ParcelsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The parcel file and its search dialog (the globals KarDzFrm and DodDlkFrm).
    parcels::TKarDzFrm *openFile();
    // The file's list, its status panels ("StatusPanel0", "StatusPanel1") and its actions by name.
    widgets::ListaRobocza *lista() const { return test::child<widgets::ListaRobocza>(file, "Lv"); }
    QString panel(int index) const;
    QAction *akcja(const char *name) const;
    // The rows of the list: "caption|sheet|unit|precinct|area|state".
    QStringList rows() const;
    QStringList selectedCaptions() const;
    void selectRows(std::initializer_list<int> rowsToSelect);

    test::SeparatorGuard comma{QLatin1Char(',')};
    QTemporaryDir root;
    test::RecordingInteraction recording;
    app::TMainFrm *main = nullptr;
    parcels::TKarDzFrm *file = nullptr;
    registergen::RegisterBuilder builder = parcelRegister();
};

} // namespace katarix::parceltest
