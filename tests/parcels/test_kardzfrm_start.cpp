// The parcel file through the program's start-up under Polish regional settings: F5 opens one
// window, the search formats areas with the decimal comma and the sums read them back.
#include "app/Formularze.h"
#include "app/main/Start.h"
#include "app/support/Child.h"
#include "jet/JetFunctions.h"
#include "parcels/Rejestracja.h"
#include "support/Child.h"
#include "support/ParcelsTestSupport.h"
#include "support/TestApplication.h"

#include <QCoreApplication>
#include <QEvent>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QMdiSubWindow>
#include <QTreeWidget>

using namespace katarix;

namespace {

// The user's locale, as the session would set it, before the application object exists.
const bool polishLocale = [] {
    qputenv("LC_ALL", "pl_PL.UTF-8");
    return true;
}();

TEST(KarDzFrmStartTest, MenuCommandOpensOneFileAndSumsUseTheRegionalComma)
{
    ASSERT_TRUE(polishLocale);
    test::ensureApplication();
    test::RecordingInteraction recording;
    app::PrzygotujProgram();
    ASSERT_EQ(jet::decimalSeparator(), QLatin1Char(','));
    parceltest::parcelRegister().toDatabase(app::MainFrm->baza());
    ASSERT_TRUE(test::child<QAction>(app::MainFrm, "KartotekaDzialekMi")->isEnabled());
    ASSERT_TRUE(test::child<QAction>(app::MainFrm, "KarDzTBtn")->isEnabled());
    EXPECT_EQ(test::child<QAction>(app::MainFrm, "KartotekaDzialekMi")->shortcut(), QKeySequence(Qt::Key_F5));

    test::child<QAction>(app::MainFrm, "KartotekaDzialekMi")->trigger();
    parcels::TKarDzFrm *file = parcels::KarDzFrm;
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(qobject_cast<QMdiSubWindow *>(file->parentWidget()));
    test::child<QAction>(app::MainFrm, "KarDzTBtn")->trigger();
    EXPECT_EQ(parcels::KarDzFrm, file);

    parcels::TDodDlkFrm *dialog = parcels::DodDlkFrm;
    test::child<QLineEdit>(dialog, "PowDz1Edt")->setText(QStringLiteral("0,3"));
    test::child<QRadioButton>(dialog, "HistoAllRB")->setChecked(true);
    dialog->show();
    dialog->DodajBtnClick();
    dialog->hide();
    QStringList areas;
    auto *lista = test::child<QTreeWidget>(file, "Lv");
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        areas << lista->topLevelItem(i)->text(4);
    EXPECT_EQ(areas, QStringList({"0,5000", "1,2500", "2,0000"}));
    EXPECT_EQ(test::child<QLabel>(file, "StatusPanel1")->text(),
              QStringLiteral("Suma pow: 3,7500 / 3,7500  [ha]"));
    EXPECT_TRUE(recording.messages.empty());

    file->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(parcels::KarDzFrm, nullptr);
    EXPECT_EQ(parcels::DodDlkFrm, nullptr);
    app::ZwolnijFormularze();
    app::zarejestrujOkno(app::OknoProgramu::KartotekaDzialek, nullptr);
    jet::setDecimalSeparator(QLatin1Char('.'));
}

} // namespace
