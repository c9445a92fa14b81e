// The SQLite connection with the Jet extensions: read-only opening, damaged and missing files,
// Polish error texts, the translation cache.

#include "jet/Database.h"
#include "jet/JetError.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

using namespace katarix::jet;

namespace {

QString firstText(Database &db, const QString &jetSql)
{
    const TranslatedSql t = db.translate(jetSql);
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = t.sql.toUtf8();
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.handle());
    QString value;
    if (stmt && sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return value;
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const JetError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

TEST(Database, OpensAFileReadOnlyWithTheJetExtensions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("rejestr.sqlite"));
    {
        Database writer;
        writer.open(path, false);
        writer.execNative(QStringLiteral("CREATE TABLE gmina (mslink INTEGER, nazwa TEXT COLLATE JET);"
                                         "INSERT INTO gmina VALUES (1, 'Żukowo'), (2, 'łęczyca'), (3, 'Lębork');"));
    }
    Database db;
    db.open(path);
    ASSERT_TRUE(db.isOpen());
    EXPECT_EQ(firstText(db, QStringLiteral("SELECT nazwa FROM gmina ORDER BY nazwa DESC")), QString::fromUtf8("Żukowo"));
    EXPECT_EQ(firstText(db, QStringLiteral("SELECT UCase(nazwa) + '!' FROM gmina WHERE nazwa LIKE 'Ł%'")),
              QString::fromUtf8("ŁĘCZYCA!"));

    const QString readOnly = errorOf([&] { db.execNative(QStringLiteral("DELETE FROM gmina")); });
    EXPECT_EQ(readOnly, QStringLiteral("Błąd bazy danych: baza danych jest otwarta tylko do odczytu."));
    EXPECT_EQ(firstText(db, QStringLiteral("SELECT Format$(Count(*)) FROM gmina")), QStringLiteral("3"));
    db.close();
    EXPECT_FALSE(db.isOpen());
}

TEST(Database, MissingDamagedAndClosedDatabasesGiveClearMessages)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("brak.sqlite"));
    const QString garbage = dir.filePath(QStringLiteral("smieci.sqlite"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();

    Database db;
    EXPECT_EQ(errorOf([&] { db.open(missing); }),
              QStringLiteral("Nie można otworzyć bazy danych \"%1\": plik nie istnieje.").arg(missing));
    EXPECT_FALSE(QFile::exists(missing)) << "a read-only open never creates the file";
    EXPECT_EQ(errorOf([&] { db.open(garbage); }),
              QStringLiteral("Kopia robocza bazy danych jest uszkodzona: %1").arg(garbage));
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(errorOf([&] { db.execNative(QStringLiteral("SELECT 1")); }), QStringLiteral("Baza danych nie jest otwarta."));

    db.openInMemory();
    EXPECT_EQ(errorOf([&] { db.execNative(QStringLiteral("SELECT x FROM nie_ma")); }),
              QStringLiteral("Błąd bazy danych: nie ma tabeli 'nie_ma'."));
    db.execNative(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    EXPECT_EQ(errorOf([&] { db.execNative(QStringLiteral("SELECT b FROM t")); }),
              QStringLiteral("Błąd bazy danych: nie ma kolumny 'b'."));
    // A double-quoted unknown name is an error, never a text.
    EXPECT_EQ(errorOf([&] { db.execNative(QStringLiteral("SELECT \"b\" FROM t")); }),
              QStringLiteral("Błąd bazy danych: nie ma kolumny 'b'."));
}

TEST(Database, TranslationsAreCachedAndErrorsAreNot)
{
    Database db;
    db.openInMemory();
    const QString sql = QStringLiteral("SELECT a FROM t WHERE a = :A");
    const TranslatedSql *first = &db.translate(sql);
    EXPECT_EQ(first, &db.translate(sql));
    EXPECT_EQ(first->parameterNames, QStringList{QStringLiteral("a")});
    for (int i = 0; i < 2; ++i) {
        const QString message = errorOf([&] { db.translate(QStringLiteral("SELECT FROM t")); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("Błąd składni"))) << message.toStdString();
    }
}

} // namespace
