// Screenshots of the person file and its two searches for looking at by eye; run with
//   build/tests/persons_test_zrzuty --gtest_also_run_disabled_tests
// The pictures go to build/tests/zrzuty.
#include "persons/AdresGrp.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/Lookup.h"
#include "persons/Rejestracja.h"
#include "app/UstawieniaFrm.h"
#include "app/support/TestApplication.h"
#include "support/OsobyTestSupport.h"

#include <QDir>
#include <QTest>

using namespace katarix;
using namespace katarix::test;

namespace {

using Zrzuty = OsobyTest;

void zapisz(QWidget *widget, const QString &name)
{
    QApplication::processEvents();
    const QString folder = QStringLiteral(KATARIX_BINARY_DIR "/tests/zrzuty");
    QDir().mkpath(folder);
    EXPECT_TRUE(widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

TEST_F(Zrzuty, DISABLED_PersonFileAndSearches)
{
    auto *fiz = frm->DodFizFrm;
    fiz->show();
    persons::UstawKluczLookup(fiz->NazwiskoLcbx, QStringLiteral("12"));
    persons::UstawKluczLookup(fiz->AdresGrp->MiejscowoscLcbx, QStringLiteral("1"));
    pisz(fiz->PeselMsk, QStringLiteral("800101"));
    fiz->OrRb->setChecked(true);
    zapisz(fiz, QStringLiteral("DodFizFrm"));
    fiz->DodajBtnClick();
    fiz->hide();

    auto *praw = frm->DodPrawFrm;
    praw->show();
    pisz(praw->NazwaLke->lineEdit(), QStringLiteral("przeds%"));
    pisz(praw->RegonMsk, QStringLiteral("1234"));
    pisz(praw->NipMsk, QStringLiteral("98765"));
    zapisz(praw, QStringLiteral("DodPrawFrm"));
    praw->CzyscBtnClick();
    praw->DodajBtnClick();
    praw->hide();

    frm->resize(620, 300);
    frm->show();
    frm->Lv->clearSelection();
    frm->wiersz(1)->setSelected(true);
    frm->wiersz(3)->setSelected(true);
    zapisz(frm, QStringLiteral("KarOsFrm"));
}

TEST(ZrzutyOkna, DISABLED_PersonFileInTheMainWindow)
{
    RecordingInteraction recording;
    const ProgramOsob program;
    app::MainFrm->resize(900, 520);
    app::MainFrm->show();
    app::MainFrm->KartotekaOsobMi->trigger();
    auto *dlg = persons::KarOsFrm->DodFizFrm;
    dlg->show();
    persons::UstawKluczLookup(dlg->ImieLcbx, QStringLiteral("7"));
    dlg->DodajBtnClick();
    dlg->hide();
    zapisz(app::MainFrm, QStringLiteral("MainFrm_KarOsFrm"));
}

} // namespace
