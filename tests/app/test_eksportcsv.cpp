// The CSV export: RFC 4180 quoting, Windows-1250 bytes, fields left out, the dialog, the rights
// of an existing file and the files that cannot be written.
#include "app/AppError.h"
#include "app/EksportCsv.h"
#include "jet/JetFunctions.h"
#include "jet/MemTable.h"
#include "common/Files.h"
#include "common/SeparatorGuard.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace katarix;

namespace {

class EksportCsvTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        table.addField(QStringLiteral("MSLINK"), jet::FieldType::Integer);
        table.addField(QStringLiteral("_ID"), jet::FieldType::Integer);
        table.addField(QStringLiteral("NAZWA"), jet::FieldType::Text, 200);
        table.addField(QStringLiteral("POW"), jet::FieldType::Float);
        table.open();
    }
    QString target(const QString &name = QStringLiteral("lista.csv")) { return dir.filePath(name); }

    test::SeparatorGuard comma{QLatin1Char(',')};
    jet::MemTable table;
    test::RecordingInteraction recording;
    QTemporaryDir dir;
};

TEST_F(EksportCsvTest, ValuesWithQuotesCommasAndLineBreaksStayInTheirColumn)
{
    table.append({1, 99, QStringLiteral("Kowalski \"Kowal\", Jan"), 0.0523});
    table.append({2, 98, QStringLiteral("ul. Długa 5\r\n00-950 Łódź"), QVariant()});
    table.append({3, 97, QString(), 12.0});
    table.setRecNo(2);
    recording.fileAnswers.push_back(target());

    ASSERT_TRUE(app::EksportCsv(table, dir.path()));

    QByteArray expected = "\"MSLINK\",\"NAZWA\",\"POW\"\r\n"
                          "\"1\",\"Kowalski \"\"Kowal\"\", Jan\",\"0,0523\"\r\n"
                          "\"2\",\"ul. D\xb3uga 5\r\n00-950 \xa3\xf3\x64\x9f\",\"\"\r\n"
                          "\"3\",\"\",\"12\"\r\n";
    EXPECT_EQ(test::fileBytes(target()), expected);
    EXPECT_EQ(table.recNo(), 1); // back on the first row
    EXPECT_FALSE(table.controlsDisabled());

    ASSERT_EQ(recording.fileDialogs.size(), 1u);
    const app::FileDialogRequest &request = recording.fileDialogs[0].request;
    EXPECT_TRUE(recording.fileDialogs[0].save);
    EXPECT_EQ(request.filter, QStringLiteral("Tekst rozdzielany przecinkami [*.csv]|*.csv|Wszystkie pliki [*.*]|*.*"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("csv"));
    EXPECT_EQ(request.initialFolder, dir.path());
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(EksportCsvTest, ACharacterWindows1250LacksBecomesAQuestionMark)
{
    EXPECT_EQ(app::WierszCsv({QStringLiteral("Zażółć €"), QStringLiteral("日本")}), QByteArray("\"Za\xbf\xf3\xb3\xe6 \x80\",\"??\"\r\n"));
}

TEST_F(EksportCsvTest, AnExistingFileIsReplacedAndANewOneIsTheOwnersAlone)
{
    table.append({1, 0, QStringLiteral("a"), 1.0});
    {
        QFile old(target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500, 'x'));
    }
    recording.fileAnswers.push_back(target());
    ASSERT_TRUE(app::EksportCsv(table, QString()));
    EXPECT_EQ(test::fileBytes(target()), QByteArray("\"MSLINK\",\"NAZWA\",\"POW\"\r\n\"1\",\"a\",\"1\"\r\n"));

    recording.fileAnswers.push_back(target(QStringLiteral("nowy.csv")));
    ASSERT_TRUE(app::EksportCsv(table, QString()));
    EXPECT_EQ(QFile::permissions(target(QStringLiteral("nowy.csv"))),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

TEST_F(EksportCsvTest, EmptyDatasetOrCancelledDialogWritesNothing)
{
    EXPECT_FALSE(app::EksportCsv(table, dir.path()));
    EXPECT_TRUE(recording.fileDialogs.empty()); // no dialog for no rows

    table.append({1, 0, QStringLiteral("a"), 1.0});
    EXPECT_FALSE(app::EksportCsv(table, dir.path())); // the recording dialog answers "cancelled"
    EXPECT_EQ(recording.fileDialogs.size(), 1u);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(EksportCsvTest, AFileThatCannotBeWrittenIsAnErrorNeverASuccess)
{
    table.append({1, 0, QStringLiteral("a"), 1.0});
    const struct {
        const char *name;
        QString path;
    } cases[] = {
        {"folder that does not exist", dir.filePath(QStringLiteral("brak/lista.csv"))},
        {"a folder given as the file", dir.path()},
        {"a device that is full", QStringLiteral("/dev/full")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        recording.fileAnswers.push_back(c.path);
        table.setRecNo(1);
        try {
            app::EksportCsv(table, QString());
            ADD_FAILURE() << "no error";
        } catch (const app::AppError &error) {
            EXPECT_TRUE(error.message().contains(c.path)) << error.message().toStdString();
        }
        EXPECT_FALSE(table.controlsDisabled());
    }
    EXPECT_TRUE(QFile::exists(QStringLiteral("/dev/full"))) << "a device is never removed";
}

// An existing file is written only as it is: a read-only one is refused and keeps its bytes, and
// every one keeps its mode.
TEST_F(EksportCsvTest, AnExistingFileKeepsItsRights)
{
    table.append({1, 0, QStringLiteral("a"), 1.0});
    const QByteArray list = "\"MSLINK\",\"NAZWA\",\"POW\"\r\n\"1\",\"a\",\"1\"\r\n";
    struct Case {
        mode_t mode;
        bool written;
        mode_t modeAfter;
    };
    for (const Case &c : {Case{0644, true, 0644}, Case{0660, true, 0660}, Case{0444, false, 0444}, Case{0400, false, 0400}}) {
        SCOPED_TRACE(QString::number(c.mode, 8).toStdString());
        const QByteArray path = QFile::encodeName(target());
        ::chmod(path.constData(), 0600);
        QFile::remove(target());
        {
            QFile old(target());
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("stara lista");
        }
        ASSERT_EQ(::chmod(path.constData(), c.mode), 0);
        recording.fileAnswers.push_back(target());
        if (c.written) {
            EXPECT_TRUE(app::EksportCsv(table, QString()));
        } else {
            try {
                app::EksportCsv(table, QString());
                ADD_FAILURE() << "no error";
            } catch (const app::AppError &error) {
                EXPECT_TRUE(error.message().startsWith(QStringLiteral("Nie można utworzyć pliku „") + target() + QStringLiteral("”: ")))
                    << error.message().toStdString();
            }
        }
        struct stat status {};
        ASSERT_EQ(::stat(path.constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, c.modeAfter);
        ::chmod(path.constData(), 0600);
        EXPECT_EQ(test::fileBytes(target()), c.written ? list : QByteArray("stara lista"));
    }
}

// A list cut short by a failed write (here: a file size limit) is an error and leaves no file.
TEST_F(EksportCsvTest, AListThatCannotBeWrittenWholeLeavesNoFile)
{
    for (int i = 0; i < 5000; ++i)
        table.append({i, 0, QStringLiteral("Nazwa działki numer %1").arg(i), 1.0});
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limit = saved;
    limit.rlim_cur = 32 * 1024;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    recording.fileAnswers.push_back(target());
    EXPECT_THROW(app::EksportCsv(table, QString()), app::AppError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_FALSE(table.controlsDisabled());
}

} // namespace
