// The person file and its two searches as a clerk fills them in, and the file inside the main
// window. KATARIX_SCREENSHOTS=folder keeps pictures of the windows (DodFizFrm.png, DodPrawFrm.png,
// KarOsFrm.png, MainFrm_KarOsFrm.png).
#include "app/support/Child.h"
#include "app/support/TestApplication.h"
#include "persons/AdresGrp.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/Rejestracja.h"
#include "support/OsobyTestSupport.h"
#include "widgets/LookupCombo.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QLineEdit>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTreeWidget>

using namespace katarix;
using namespace katarix::test;

namespace {

using Zrzuty = OsobyTest;

// Paints the widget; saves the picture as <name>.png when KATARIX_SCREENSHOTS names a folder.
void zrzut(QWidget *widget, const QString &name)
{
    QApplication::processEvents();
    const QPixmap picture = widget->grab();
    EXPECT_EQ(picture.size(), widget->size()) << name.toStdString();
    const QString folder = qEnvironmentVariable("KATARIX_SCREENSHOTS");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(picture.save(QDir(folder).filePath(name + QStringLiteral(".png")))) << name.toStdString();
    }
}

TEST_F(Zrzuty, BothSearchesFilledInByHandFillTheList)
{
    // Natural persons: surname Kowalski or Kraków or a PESEL starting 800101.
    auto *fiz = frm->DodFizFrm;
    fiz->show();
    test::child<widgets::LookupCombo>(fiz, "NazwiskoLcbx")->setValue(QStringLiteral("12"));
    test::child<widgets::LookupCombo>(fiz, "MiejscowoscLcbx")->setValue(QStringLiteral("1"));
    pisz(test::child<QLineEdit>(fiz, "PeselMsk"), QStringLiteral("800101"));
    test::child<QRadioButton>(fiz, "OrRb")->setChecked(true);
    zrzut(fiz, QStringLiteral("DodFizFrm"));
    fiz->DodajBtnClick();
    fiz->hide();
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Kowalski, osoby::Lukasz}));

    // Legal persons: a name pattern, REGON and NIP, all of them to match.
    auto *praw = frm->DodPrawFrm;
    praw->show();
    pisz(test::child<QComboBox>(praw, "NazwaLke")->lineEdit(), QStringLiteral("przeds%"));
    pisz(test::child<QLineEdit>(praw, "RegonMsk"), QStringLiteral("123456785"));
    pisz(test::child<QLineEdit>(praw, "NipMsk"), QStringLiteral("9876543210"));
    zrzut(praw, QStringLiteral("DodPrawFrm"));
    praw->DodajBtnClick();
    praw->hide();
    ASSERT_EQ(wiersze(frm), (std::vector<double>{osoby::Kowalski, osoby::Lukasz, osoby::Zgoda}));

    frm->resize(620, 300);
    frm->show();
    child<QTreeWidget>(frm, "Lv")->clearSelection();
    frm->wiersz(0)->setSelected(true);
    frm->wiersz(2)->setSelected(true);
    EXPECT_EQ(zaznaczone(frm), (std::vector<double>{osoby::Kowalski, osoby::Zgoda}));
    zrzut(frm, QStringLiteral("KarOsFrm"));
    EXPECT_EQ(child<QLabel>(frm, "StatusPanel0")->text(), QStringLiteral("Ilość: 2/3"));
    EXPECT_TRUE(recording.messages.empty());
}

TEST(ZrzutyOkna, PersonFileInTheMainWindowFindsByFirstName)
{
    RecordingInteraction recording;
    const ProgramOsob program;
    app::MainFrm->resize(900, 520);
    app::MainFrm->show();
    test::child<QAction>(app::MainFrm, "KartotekaOsobMi")->trigger();
    auto *kartoteka = qobject_cast<persons::TKarOsFrm *>(app::okno(app::OknoProgramu::KartotekaOsob));
    ASSERT_NE(kartoteka, nullptr);
    auto *dlg = kartoteka->DodFizFrm;
    dlg->show();
    test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->setValue(QStringLiteral("7"));
    dlg->DodajBtnClick();
    dlg->hide();
    // Jan: Kowalski and Nowak, not the row with key 0.
    EXPECT_EQ(kartoteka->ListaIdOsob(), QStringLiteral("101,103"));
    ASSERT_EQ(test::child<QMdiArea>(app::MainFrm, "MdiArea")->subWindowList().size(), 1);
    EXPECT_TRUE(test::child<QMdiArea>(app::MainFrm, "MdiArea")->subWindowList().front()->isVisible());
    zrzut(app::MainFrm, QStringLiteral("MainFrm_KarOsFrm"));
    EXPECT_TRUE(recording.messages.empty());
}

} // namespace
