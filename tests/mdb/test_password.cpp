// Database password from the .mdb header: detected, required and checked before anything loads.
#include "support/MdbTestSupport.h"

#include "jet/Database.h"
#include "jet/JetError.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

mw::Content smallRegister()
{
    mw::Table t;
    t.name = "KOMENTARZ";
    t.columns = {column("MSLINK", ColumnType::Long), column("TEKST", ColumnType::Memo)};
    t.rows = {{mw::Value(std::int64_t(1)), mw::Value(std::string("tajny komentarz"))}};
    mw::Content content;
    content.tables.push_back(t);
    return content;
}

} // namespace

TEST(MdbPassword, RequiredAndChecked)
{
    const char *passwords[] = {"Tajne123", "hasłoŻółw", "abcdefghijklmnopqrst", "a"};
    for (const char *password : passwords) {
        SCOPED_TRACE(password);
        MdbScratch scratch;
        const QString file = scratch.write(smallRegister(), QStringLiteral("chroniony.mdb"), password);
        EXPECT_TRUE(jet::registerHasPassword(file));
        const QString right = QString::fromUtf8(password);

        const QString wrong[] = {QString(), right.toUpper() == right ? right.toLower() : right.toUpper(),
                                 right + QStringLiteral("x"), right.left(right.size() - 1)};
        for (const QString &attempt : wrong) {
            SCOPED_TRACE(attempt.toStdString());
            jet::Database db;
            try {
                jet::openRegister(db, file, scratch.options(attempt));
                ADD_FAILURE() << "opened";
            } catch (const jet::JetError &error) {
                EXPECT_EQ(error.message(), QStringLiteral("Nieprawidłowe hasło."));
            }
            EXPECT_FALSE(db.isOpen());
            // Nothing was loaded.
            EXPECT_TRUE(QDir(scratch.cacheDir()).entryList(QDir::Files).isEmpty());
        }

        jet::Database db;
        jet::openRegister(db, file, scratch.options(right));
        EXPECT_TRUE(db.isOpen());
        // The cached copy still asks for the password.
        db.close();
        EXPECT_THROW(jet::openRegister(db, file, scratch.options(QStringLiteral("zle"))), jet::JetError);
        jet::openRegister(db, file, scratch.options(right));
        EXPECT_TRUE(db.isOpen());
    }
}

TEST(MdbPassword, FilesWithoutPassword)
{
    MdbScratch scratch;
    const QString file = scratch.write(smallRegister(), QStringLiteral("otwarty.mdb"));
    EXPECT_FALSE(jet::registerHasPassword(file));
    EXPECT_FALSE(jet::registerHasPassword(scratch.path(QStringLiteral("brak.mdb"))));
    writeBytes(scratch.path(QStringLiteral("tekst.mdb")), "abc");
    EXPECT_FALSE(jet::registerHasPassword(scratch.path(QStringLiteral("tekst.mdb"))));

    jet::Database db;
    jet::openRegister(db, file, scratch.options());
    EXPECT_TRUE(db.isOpen());
    // A password given for a file that has none is not needed and does no harm.
    jet::openRegister(db, file, scratch.options(QStringLiteral("cokolwiek")));
    EXPECT_TRUE(db.isOpen());
}
