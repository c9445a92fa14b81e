// The guide's table of keyboard shortcuts (docs/podrecznik/09-skroty-klawiszowe.md), row by row,
// on the program as it starts: the main window of the real start-up over a generated register,
// its F-keys, and the keys of the windows it opens. Each row's key is pressed in the window the
// row names and must do what the row says.
#include "app/Formularze.h"
#include "app/main/Start.h"
#include "app/MainFrm.h"
#include "app/PodrecznikFrm.h"
#include "jet/Query.h"
#include "parcels/DodDlkFrm.h"
#include "parcels/KarDzFrm.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/KarOsFrm.h"
#include "persons/TWjrOsobyFrm.h"
#include "registergen/RegisterGenerator.h"
#include "support/Child.h"
#include "support/Podrecznik.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "widgets/DataGrid.h"
#include "widgets/LookupCombo.h"

#include <QApplication>
#include <QLineEdit>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace katarix;

namespace {

struct Klawisz {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
};

// The key as the guide writes it: "F5", "Ctrl+A", "Del", "Esc", "Enter", "Num +", "Alt+←".
std::optional<Klawisz> klawisz(const QString &text)
{
    const QString keypad = QStringLiteral("Num ");
    if (text.startsWith(keypad)) {
        const QString rest = text.mid(keypad.size());
        if (rest == QStringLiteral("+"))
            return Klawisz{Qt::Key_Plus, Qt::KeypadModifier};
        if (rest == QString(QChar(0x2212)) || rest == QStringLiteral("-"))
            return Klawisz{Qt::Key_Minus, Qt::KeypadModifier};
        return std::nullopt;
    }
    QString portable = text;
    portable.replace(QChar(0x2190), QStringLiteral("Left")).replace(QChar(0x2192), QStringLiteral("Right"));
    if (portable == QStringLiteral("Enter"))
        portable = QStringLiteral("Return");
    const QKeySequence sequence = QKeySequence::fromString(portable, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return std::nullopt;
    return Klawisz{sequence[0].key(), sequence[0].keyboardModifiers()};
}

// A window on show with this title: a top-level window or a window in the main window's MDI area.
QWidget *widoczneOkno(const QString &title)
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (!widget->isVisible() || widget->windowTitle() != title)
            continue;
        if (widget->isWindow() || qobject_cast<QMdiSubWindow *>(widget->parentWidget()))
            return widget;
    }
    return nullptr;
}

template <class T>
T *oknoTypu()
{
    for (QWidget *widget : QApplication::allWidgets())
        if (auto *window = qobject_cast<T *>(widget))
            return window;
    return nullptr;
}

void zamknijOkno(const QString &title)
{
    while (QWidget *window = widoczneOkno(title)) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
            sub->close();
        else
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QList<int> zaznaczoneWiersze(const QTreeWidget *list)
{
    QList<int> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->isSelected())
            rows << i;
    return rows;
}

class SkrotyPodrecznika : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        recording = std::make_unique<test::RecordingInteraction>();
        app::PrzygotujProgram();
        ASSERT_NE(app::MainFrm, nullptr);
        registergen::generateRegister({300, 3}).toDatabase(app::MainFrm->baza());
        // The test runs outside the program's folder: the guide is the build's installation's.
        app::MainFrm->KatalogGlowny = QStringLiteral(KATARIX_PROGRAM_DIR "/../");
        app::MainFrm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app::MainFrm));
    }
    void TearDown() override { app::ZwolnijFormularze(); }

    // Presses the key in the widget, answering (closing) any modal dialog it opens; returns the
    // title of that dialog.
    QString nacisnij(QWidget *target, const Klawisz &key)
    {
        QString modal;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (QWidget *dialog = QApplication::activeModalWidget(); dialog && modal.isEmpty()) {
                modal = dialog->windowTitle();
                dialog->close();
            }
        });
        watch.start();
        if (target->window()->isWindow()) {
            target->window()->activateWindow();
            QApplication::setActiveWindow(target->window());
        }
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key.key), key.modifiers);
        QCoreApplication::processEvents();
        return modal;
    }

    parcels::TKarDzFrm *kartotekaDzialek()
    {
        test::child<QAction>(app::MainFrm, "KartotekaDzialekMi")->trigger();
        auto *file = oknoTypu<parcels::TKarDzFrm>();
        if (file && file->iloscWierszy() < 3) {
            auto *search = oknoTypu<parcels::TDodDlkFrm>();
            search->show();
            test::child<QLineEdit>(search, "PowDz1Edt")->setText(QStringLiteral("0"));
            search->DodajBtnClick();
            search->hide();
        }
        return file;
    }

    persons::TKarOsFrm *kartotekaOsob()
    {
        test::child<QAction>(app::MainFrm, "KartotekaOsobMi")->trigger();
        auto *file = oknoTypu<persons::TKarOsFrm>();
        if (file && file->iloscWierszy() < 3) {
            file->DodPrawFrm->show();
            test::child<QComboBox>(file->DodPrawFrm, "NazwaLke")->setCurrentText(QStringLiteral("%"));
            file->DodPrawFrm->DodajBtnClick();
            file->DodPrawFrm->hide();
            recording->messageAnswers.push_back(app::mb::IdYes); // all natural persons
            file->DodFizFrm->show();
            file->DodFizFrm->CzyscBtnClick();
            file->DodFizFrm->DodajBtnClick();
            file->DodFizFrm->hide();
        }
        return file;
    }

    // The window a row's key is pressed in, made ready; nullptr when the test cannot reach it.
    QWidget *przygotuj(const QString &where, QTreeWidget *&list, QDialog *&dialog)
    {
        list = nullptr;
        dialog = nullptr;
        if (where == QStringLiteral("okno główne"))
            return app::MainFrm;
        const QStringList titles = test::cytaty(where);
        const QString title = titles.value(0);
        if (title == QStringLiteral("Kartoteka działek")) {
            parcels::TKarDzFrm *file = kartotekaDzialek();
            list = test::child<QTreeWidget>(file, "Lv");
        } else if (title == QStringLiteral("Kartoteka osób")) {
            list = test::child<QTreeWidget>(kartotekaOsob(), "Lv");
        } else if (title == QStringLiteral("Selekcja działek")) {
            kartotekaDzialek()->ClearSBClick();
            auto *search = oknoTypu<parcels::TDodDlkFrm>();
            search->show();
            search->CzyscBtnClick();
            test::child<QLineEdit>(search, "LicznikEdt")->setText(QStringLiteral("1"));
            dialog = search;
            return test::child<QLineEdit>(search, "LicznikEdt");
        } else if (title == QStringLiteral("Selekcja osób fizycznych") ||
                   title == QStringLiteral("Selekcja osób prawnych")) {
            persons::TKarOsFrm *file = kartotekaOsob();
            file->WyczyscTBtnClick();
            if (title == QStringLiteral("Selekcja osób fizycznych")) {
                file->DodFizFrm->show();
                file->DodFizFrm->CzyscBtnClick();
                test::child<widgets::LookupCombo>(file->DodFizFrm, "NazwiskoLcbx")->setCurrentIndex(1);
                dialog = file->DodFizFrm;
                return test::child<widgets::LookupCombo>(file->DodFizFrm, "NazwiskoLcbx");
            }
            file->DodPrawFrm->show();
            file->DodPrawFrm->CzyscBtnClick();
            test::child<QComboBox>(file->DodPrawFrm, "NazwaLke")->setCurrentText(QStringLiteral("%"));
            dialog = file->DodPrawFrm;
            return test::child<QComboBox>(file->DodPrawFrm, "NazwaLke");
        } else if (title == QStringLiteral("Podsumowanie władania")) {
            persons::TKarOsFrm *file = kartotekaOsob();
            jet::Query holder;
            holder.setDatabase(&app::MainFrm->baza());
            holder.setSql(QStringLiteral("SELECT TOP 1 OSOBA_ID FROM LWRGRUN WHERE OSOBA_ID < 300000000 AND "
                                         "IIf(IsNull(ZMIANA_KAS_ID), 0, ZMIANA_KAS_ID) = 0 ORDER BY OSOBA_ID"));
            holder.open();
            persons::TTWjrOsobyFrm *units = file->TWjrOsobyFrm;
            if (units->PokazDlaOsoby(true, QStringLiteral("osoba"), false,
                                     holder.asFloat(QStringLiteral("OSOBA_ID"))) != 1)
                return nullptr;
            for (units->JrQry->first(); !units->JrQry->eof(); units->JrQry->next())
                if (units->JrQry->asString(QStringLiteral("JR")).startsWith(QStringLiteral("G-")))
                    break;
            zamknijOkno(QStringLiteral("Rejestr gruntów"));
            zamknijOkno(QStringLiteral("Rejestr lokali"));
            return units->JrGrd;
        } else if (title == QStringLiteral("Podręcznik użytkownika")) {
            app::TPodrecznikFrm *guide = app::PokazPodrecznik(app::MainFrm, app::MainFrm->KatalogGlowny);
            if (!guide)
                return nullptr;
            guide->Pokaz(app::podrecznik::katalog(app::MainFrm->KatalogGlowny));
            guide->Tekst->setSource(QUrl(QStringLiteral("01-uruchomienie.md")));
            return guide->Tekst;
        } else {
            return nullptr;
        }
        if (list && list->topLevelItemCount() >= 3) {
            list->clearSelection();
            list->topLevelItem(0)->setSelected(true);
            list->topLevelItem(2)->setSelected(true);
        }
        return list;
    }

    std::unique_ptr<test::RecordingInteraction> recording;
};

TEST_F(SkrotyPodrecznika, EveryKeyOfTheGuidesTableDoesWhatTheTableSays)
{
    const std::vector<test::TabelaMarkdown> tables =
        test::tabeleMarkdown(test::stronaPodrecznika("09-skroty-klawiszowe.md"));
    ASSERT_EQ(tables.size(), 1u);
    const test::TabelaMarkdown &table = tables[0];
    ASSERT_EQ(table.naglowek, QStringList({"Klawisz", "Gdzie", "Działanie"}));
    ASSERT_GE(table.wiersze.size(), 20u);

    for (const QStringList &row : table.wiersze) {
        const QString &keyText = row.value(0), &where = row.value(1), &action = row.value(2);
        SCOPED_TRACE((keyText + QStringLiteral(" | ") + where + QStringLiteral(" | ") + action).toStdString());
        const std::optional<Klawisz> key = klawisz(keyText);
        ASSERT_TRUE(key) << "a key the test cannot read";

        QTreeWidget *list = nullptr;
        QDialog *dialog = nullptr;
        QWidget *target = przygotuj(where, list, dialog);
        ASSERT_NE(target, nullptr) << "a window the test cannot reach";

        const QList<int> selectedBefore = list ? zaznaczoneWiersze(list) : QList<int>();
        const int rowsBefore = list ? list->topLevelItemCount() : 0;
        auto *browser = qobject_cast<QTextBrowser *>(target);
        const QUrl pageBefore = browser ? browser->source() : QUrl();
        if (browser && action.startsWith(QStringLiteral("przechodzi do następnej")))
            browser->backward();
        const QUrl pageAfterSetUp = browser ? browser->source() : QUrl();

        if (action.startsWith(QStringLiteral("otwiera "))) {
            const QString opened = test::cytaty(action).value(0);
            zamknijOkno(opened);
            const QString modal = nacisnij(target, *key);
            EXPECT_TRUE(modal == opened || widoczneOkno(opened)) << "did not open " << opened.toStdString();
        } else if (action == QStringLiteral("usuwa z listy zaznaczone wiersze")) {
            ASSERT_TRUE(list);
            nacisnij(target, *key);
            EXPECT_EQ(list->topLevelItemCount(), rowsBefore - selectedBefore.size());
            EXPECT_TRUE(zaznaczoneWiersze(list).isEmpty());
        } else if (action == QStringLiteral("zaznacza wszystkie wiersze")) {
            ASSERT_TRUE(list);
            nacisnij(target, *key);
            EXPECT_EQ(zaznaczoneWiersze(list).size(), rowsBefore);
        } else if (action == QStringLiteral("odznacza wszystkie wiersze")) {
            ASSERT_TRUE(list);
            nacisnij(target, *key);
            EXPECT_TRUE(zaznaczoneWiersze(list).isEmpty());
        } else if (action == QStringLiteral("odwraca zaznaczenie")) {
            ASSERT_TRUE(list);
            nacisnij(target, *key);
            const QList<int> after = zaznaczoneWiersze(list);
            EXPECT_EQ(after.size(), rowsBefore - selectedBefore.size());
            for (int row : selectedBefore)
                EXPECT_FALSE(after.contains(row));
        } else if (action == QStringLiteral("szuka i dodaje znalezione do kartoteki")) {
            ASSERT_TRUE(dialog);
            auto *fileList = dialog->parentWidget() ? dialog->parentWidget()->findChild<QTreeWidget *>() : nullptr;
            ASSERT_TRUE(fileList);
            ASSERT_EQ(fileList->topLevelItemCount(), 0);
            nacisnij(target, *key);
            EXPECT_GT(fileList->topLevelItemCount(), 0);
            EXPECT_TRUE(dialog->isVisible()) << "the search stays open for the next one";
            dialog->hide();
        } else if (action == QStringLiteral("zamyka okno")) {
            ASSERT_TRUE(dialog);
            nacisnij(target, *key);
            EXPECT_FALSE(dialog->isVisible());
        } else if (action == QStringLiteral("wraca do poprzedniej strony")) {
            ASSERT_TRUE(browser);
            nacisnij(target, *key);
            EXPECT_NE(browser->source(), pageBefore);
            EXPECT_TRUE(browser->source().toString().endsWith(QStringLiteral("README.md")));
        } else if (action == QStringLiteral("przechodzi do następnej strony")) {
            ASSERT_TRUE(browser);
            ASSERT_NE(pageAfterSetUp, pageBefore);
            nacisnij(target, *key);
            EXPECT_EQ(browser->source(), pageBefore);
        } else {
            ADD_FAILURE() << "the guide names an action this test cannot check";
        }
        if (dialog)
            dialog->hide();
    }
    for (const auto &message : recording->messages)
        EXPECT_NE(message.flags & 0x70, app::mb::IconError)
            << "an error box while the keys were pressed: " << message.text.toStdString();
}

} // namespace
