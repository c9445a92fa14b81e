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

// A minimal Jet 3 header (pages of 2048 bytes): the region from 0x18 RC4-encrypted with the key
// 0x6b39dac7, the password in its 20 bytes at 0x42 without a further mask.
QByteArray jet3Header(const QByteArray &password)
{
    QByteArray file(3 * 2048, '\0');
    file[1] = 1;
    file.replace(4, 15, "Standard Jet DB");
    file.replace(0x42, password.size(), password);
    unsigned char s[256];
    const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < 126; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        file[0x18 + n] = char(file[0x18 + n] ^ s[(s[i] + s[j]) & 0xff]);
    }
    return file;
}

} // namespace

TEST(MdbPassword, Jet3Header)
{
    MdbScratch scratch;
    const QString file = scratch.path(QStringLiteral("stary.mdb"));
    writeBytes(file, jet3Header("Haslo97"));
    EXPECT_TRUE(jet::registerHasPassword(file));
    jet::Database db;
    for (const QString &attempt : {QString(), QStringLiteral("haslo97"), QStringLiteral("Haslo9")}) {
        try {
            jet::openRegister(db, file, scratch.options(attempt));
            ADD_FAILURE() << "opened";
        } catch (const jet::JetError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Nieprawidłowe hasło."));
        }
    }
    // The right password passes the check; the file itself (a bare header) is then rejected.
    try {
        jet::openRegister(db, file, scratch.options(QStringLiteral("Haslo97")));
        ADD_FAILURE() << "opened";
    } catch (const jet::JetError &error) {
        EXPECT_NE(error.message(), QStringLiteral("Nieprawidłowe hasło."));
        EXPECT_TRUE(error.message().contains(QStringLiteral("uszkodzony"))) << error.message().toStdString();
    }
    writeBytes(file, jet3Header(""));
    EXPECT_FALSE(jet::registerHasPassword(file));
}

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
