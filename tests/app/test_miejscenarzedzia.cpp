// Where a tool window first appears, computed for owner windows and screens of several shapes:
// beside the owner inside the screen, stacked down a column and then in the next one, never over
// the main window's menu and toolbars, and over as little of the owner's grids as there is room.
#include "app/MiejsceNarzedzia.h"

#include <gtest/gtest.h>

using katarix::app::miejsceNarzedzia;
using katarix::app::OtoczenieNarzedzia;

namespace {

const QRect Ekran(0, 0, 1600, 1000);
const QRect PasekGlowny(0, 0, 1600, 70); // title, menu bar and toolbar of the main window
const QSize Narzedzie(520, 150);

struct Przypadek {
    const char *opis;
    OtoczenieNarzedzia otoczenie;
    QSize ramka;
    QPoint oczekiwane;
};

TEST(MiejsceNarzedzia, FirstPlaceBesideTheOwnerClearOfMenuGridsAndOtherToolWindows)
{
    const QRect wlasciciel(0, 70, 800, 560);
    const QList<QRect> siatki{QRect(0, 200, 800, 430)};
    const Przypadek przypadki[] = {
        {"right of the owner's top, two pixels off the toolbar", {Ekran, wlasciciel, siatki, {PasekGlowny}, {}}, Narzedzie, QPoint(802, 72)},
        {"below the tool window already there",
         {Ekran, wlasciciel, siatki, {PasekGlowny}, {QRect(802, 70, 520, 150)}},
         Narzedzie,
         QPoint(802, 222)},
        {"a full column starts the next one",
         {Ekran, wlasciciel, siatki, {PasekGlowny},
          {QRect(802, 70, 300, 300), QRect(802, 372, 300, 300), QRect(802, 674, 300, 300)}},
         QSize(300, 300),
         QPoint(1104, 72)},
        {"owner at the screen's right edge: below it",
         {Ekran, QRect(800, 70, 800, 560), {QRect(800, 200, 800, 430)}, {PasekGlowny}, {}},
         Narzedzie,
         QPoint(1080, 632)},
        {"tall owner at the screen's right edge: left of it",
         {Ekran, QRect(800, 70, 800, 900), {QRect(800, 200, 800, 770)}, {PasekGlowny}, {}},
         Narzedzie,
         QPoint(278, 72)},
        {"owner across the screen: below it",
         {Ekran, QRect(0, 70, 1600, 500), {QRect(0, 200, 1600, 370)}, {PasekGlowny}, {}},
         Narzedzie,
         QPoint(1080, 572)},
        {"owner filling the screen: over its part without grids",
         {Ekran, QRect(0, 70, 1600, 930), {QRect(0, 70, 1000, 930)}, {PasekGlowny}, {}},
         Narzedzie,
         QPoint(1080, 72)},
        {"screen's available area starts below a panel",
         {QRect(0, 30, 1600, 970), QRect(1000, 30, 600, 400), {QRect(1000, 100, 600, 330)}, {}, {}},
         Narzedzie,
         QPoint(1080, 432)},
        {"no clear place: the grids are covered, never the menu and toolbars",
         {QRect(0, 0, 800, 600), QRect(0, 70, 800, 530), {QRect(0, 70, 800, 530)}, {QRect(0, 0, 800, 70)}, {}},
         Narzedzie,
         QPoint(280, 72)},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.opis);
        const QPoint miejsce = miejsceNarzedzia(p.otoczenie, p.ramka);
        EXPECT_EQ(miejsce, p.oczekiwane);
        const QRect okno(miejsce, p.ramka);
        EXPECT_TRUE(p.otoczenie.ekran.contains(okno));
        for (const QRect &r : p.otoczenie.zakazane)
            EXPECT_FALSE(okno.intersects(r));
        for (const QRect &r : p.otoczenie.zajete)
            EXPECT_FALSE(okno.intersects(r));
    }
}

} // namespace
