// The Qt side of the Interaction seam: message boxes from Windows flags, file filters, editor,
// the progress dialog of a long action.
#include "app/QtInteraction.h"
#include "support/QtPrinters.h"
#include "support/TestApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <optional>

using namespace katarix::app;

namespace {

class InteractionTest : public ::testing::Test {
protected:
    void SetUp() override { katarix::test::ensureApplication(); }
};

TEST_F(InteractionTest, MessageBoxesFollowTheWindowsFlags)
{
    struct Case {
        int flags;
        QMessageBox::Icon icon;
        QStringList buttons; // in the order shown
        QString defaultButton;
        QString escapeButton; // "" = Esc does not close
    } cases[] = {
        {16, QMessageBox::Critical, {"OK"}, "OK", "OK"},
        {48, QMessageBox::Warning, {"OK"}, "OK", "OK"},
        {64, QMessageBox::Information, {"OK"}, "OK", "OK"},
        {mb::YesNo | mb::IconQuestion, QMessageBox::Question, {"Tak", "Nie"}, "Tak", ""},
        {mb::YesNo | mb::IconQuestion | 0x100, QMessageBox::Question, {"Tak", "Nie"}, "Nie", ""},
        {mb::YesNoCancel | mb::IconWarning, QMessageBox::Warning, {"Tak", "Nie", "Anuluj"}, "Tak", "Anuluj"},
        {mb::OkCancel, QMessageBox::NoIcon, {"OK", "Anuluj"}, "OK", "Anuluj"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        std::unique_ptr<QMessageBox> box(createMessageBox(nullptr, QStringLiteral("Treść"), QStringLiteral("Tytuł"),
                                                          c.flags));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Tytuł"));
        EXPECT_EQ(box->text(), QStringLiteral("Treść"));
        EXPECT_EQ(box->icon(), c.icon);
        QStringList shown;
        for (QAbstractButton *button : box->buttons())
            shown << button->text();
        shown.sort();
        QStringList expected = c.buttons;
        expected.sort();
        EXPECT_EQ(shown, expected);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), c.defaultButton);
        EXPECT_EQ(box->escapeButton() ? box->escapeButton()->text() : QString(), c.escapeButton);
    }
}

TEST_F(InteractionTest, PressedButtonsAnswerWithTheWindowsIds)
{
    const std::pair<QString, int> answers[] = {
        {"Tak", mb::IdYes}, {"Nie", mb::IdNo}, {"Anuluj", mb::IdCancel}};
    for (const auto &[text, id] : answers) {
        std::unique_ptr<QMessageBox> box(createMessageBox(nullptr, "?", "?", mb::YesNoCancel));
        for (QAbstractButton *button : box->buttons())
            if (button->text() == text)
                button->click();
        EXPECT_EQ(messageBoxAnswer(*box), id) << text.toStdString();
    }
    std::unique_ptr<QMessageBox> ok(createMessageBox(nullptr, "!", "!", 48));
    EXPECT_EQ(messageBoxAnswer(*ok), mb::IdOk); // closed without a click: its escape button
}

TEST_F(InteractionTest, WindowsFiltersBecomeQtNameFilters)
{
    const std::pair<QString, QStringList> cases[] = {
        {"Bazy danych Access [*.mdb]|*.mdb|Wszystkie pliki [*.*]|*.*",
         {"Bazy danych Access [*.mdb] (*.mdb)", "Wszystkie pliki [*.*] (*)"}},
        {"Pliki CSV [*.csv]|*.csv", {"Pliki CSV [*.csv] (*.csv)"}},
        {"Dokumenty|*.rtf;*.doc|Programy [*.exe]|*.exe", {"Dokumenty (*.rtf *.doc)", "Programy [*.exe] (*.exe)"}},
        {"", {}},
        {"Bez wzorca", {}},
    };
    for (const auto &[windows, qt] : cases)
        EXPECT_EQ(qtFileFilters(windows), qt) << windows.toStdString();
}

TEST_F(InteractionTest, EditorLaunchTellsTheFailureKinds)
{
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("Wynik.rtf"));
    QFile(document).open(QIODevice::WriteOnly);
    const QString notExecutable = dir.filePath(QStringLiteral("edytor"));
    QFile(notExecutable).open(QIODevice::WriteOnly);
    QtInteraction qt;
    const std::tuple<const char *, QString, QString, EditorLaunch> cases[] = {
        {"Windows path", QStringLiteral("C:\\Program Files\\Microsoft Office\\Office\\Winword.exe"), document,
         EditorLaunch::ProgramNotFound},
        {"missing program", dir.filePath(QStringLiteral("brak/edytor")), document, EditorLaunch::ProgramNotFound},
        {"program not on PATH", QStringLiteral("katarix-no-such-editor"), document, EditorLaunch::ProgramNotFound},
        {"not executable", notExecutable, document, EditorLaunch::AccessDenied},
        {"folder", dir.path(), document, EditorLaunch::AccessDenied},
        {"missing document", QStringLiteral("/bin/true"), dir.filePath(QStringLiteral("brak.rtf")),
         EditorLaunch::DocumentNotFound},
        {"associated program, missing document", QString(), dir.filePath(QStringLiteral("brak.rtf")),
         EditorLaunch::DocumentNotFound},
        {"started", QStringLiteral("/bin/true"), document, EditorLaunch::Started},
        {"started from PATH", QStringLiteral("true"), document, EditorLaunch::Started},
    };
    for (const auto &[name, program, doc, expected] : cases)
        EXPECT_EQ(qt.launchEditor(program, doc), expected) << name;
}

QProgressDialog *progressDialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("PostepRaportu") && widget->isVisible())
            return qobject_cast<QProgressDialog *>(widget);
    return nullptr;
}

// Nothing shows while the action is short; after a second the modal dialog shows the text, the
// detail, the bar and "Anuluj", which is answered by cancelled(); it goes with the object.
TEST_F(InteractionTest, ProgressShowsAfterASecondAndAnulujIsAnswered)
{
    QtInteraction qt;
    std::unique_ptr<ProgressDialog> progress = qt.progress(nullptr, QStringLiteral("Katarix"), QStringLiteral("Tworzenie raportu..."));
    progress->update(QStringLiteral("Wiersze dokumentu: 1 z 10"), 1, 10);
    EXPECT_EQ(progressDialog(), nullptr);
    EXPECT_FALSE(progress->cancelled());

    QThread::msleep(ProgressDelayMs + 50);
    progress->update(QStringLiteral("Wiersze dokumentu: 4 z 10"), 4, 10);
    QProgressDialog *dialog = progressDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Katarix"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("Tworzenie raportu...\nWiersze dokumentu: 4 z 10"));
    EXPECT_EQ(dialog->value() * 10 / dialog->maximum(), 4);
    EXPECT_TRUE(dialog->isModal());
    progress->update(QStringLiteral("Wiersze listy władających: 5"), 5, 0);
    EXPECT_EQ(dialog->maximum(), 0) << "a busy bar while the total is unknown";
    QPushButton *anuluj = dialog->findChild<QPushButton *>();
    ASSERT_NE(anuluj, nullptr);
    EXPECT_EQ(anuluj->text(), QStringLiteral("Anuluj"));
    EXPECT_FALSE(progress->cancelled());
    anuluj->click();
    EXPECT_TRUE(progress->cancelled());
    progress.reset();
    EXPECT_EQ(progressDialog(), nullptr);
}

} // namespace

namespace {

// Whatever stops the program for a person puts the hourglass aside while it waits, and the
// cursors of the action come back as they were.
TEST_F(InteractionTest, TheHourglassIsPutAsideWhileTheProgramWaitsForThePerson)
{
    QtInteraction qt;
    FileDialogRequest request;
    request.title = QStringLiteral("Plik");
    request.initialFolder = QDir::tempPath();
    const std::pair<const char *, std::function<void()>> waits[] = {
        {"message box", [&] { qt.messageBox(nullptr, QStringLiteral("Nie znaleziono żadnych działek."), QString(), mb::IconInformation); }},
        {"open dialog", [&] { qt.openFileName(nullptr, request); }},
        {"save dialog", [&] { qt.saveFileName(nullptr, request); }},
        {"folder dialog", [&] { qt.folder(nullptr, QStringLiteral("Folder"), QDir::tempPath()); }},
        {"colour dialog", [&] { qt.color(nullptr, Qt::red); }},
        {"password", [&] { qt.password(nullptr, QStringLiteral("/tmp/rejestr.mdb")); }},
    };
    for (const auto &[name, wait] : waits) {
        SCOPED_TRACE(name);
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor); // a long action inside another
        bool shown = false;
        std::optional<Qt::CursorShape> whileShown = Qt::WaitCursor;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            const QCursor *cursor = QGuiApplication::overrideCursor();
            whileShown = cursor ? std::optional<Qt::CursorShape>(cursor->shape()) : std::nullopt;
            dialog->reject();
        });
        closer.start(10);
        wait();
        closer.stop();
        EXPECT_TRUE(shown);
        EXPECT_EQ(whileShown, std::nullopt);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
        QGuiApplication::restoreOverrideCursor();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

} // namespace
