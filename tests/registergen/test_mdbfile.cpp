#include "RegisterGenerator.h"
#include "support/Probe.h"

#include "jet/Database.h"
#include "jet/RegisterLoader.h"
#include "mdbwriter/MdbContent.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::registergen;
using probe::scalar;

namespace {

// Every row of a table as one text, independent of row order.
std::string tableText(sqlite3 *db, const TableSchema &table)
{
    std::string row;
    for (const auto &column : table.columns) {
        if (!row.empty())
            row += " || ',' || ";
        row += "quote(" + column.name + ")";
    }
    return scalar(db, "SELECT count(*) || ':' || IFNULL(group_concat(R, '|'), '') FROM (SELECT " + row + " R FROM "
                          + table.name + " ORDER BY 1)");
}

struct GeneratorRun {
    int exitCode;
    QString errors;
};

GeneratorRun runGenerator(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KATARIX_GEN), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

// The generated register reads back from a .mdb exactly as it loads directly: NULL, 0 and ''
// apart, doubles bit-exact, memo texts whole.
TEST(GeneratedMdb, ReadsBackAsGenerated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const RegisterBuilder builder = generateRegister({300, 5});
    const QString file = dir.filePath(QStringLiteral("rejestr.mdb"));
    mdbwriter::writeJet4(builder.content(), file.toStdString());

    jet::Database direct, loaded;
    builder.toDatabase(direct);
    jet::OpenOptions options;
    options.cacheDir = dir.filePath(QStringLiteral("cache"));
    options.loaderPath = QStringLiteral(KATARIX_LOADER);
    jet::openRegister(loaded, file, options);
    for (const TableSchema &table : registerSchema())
        EXPECT_EQ(tableText(loaded.handle(), table), tableText(direct.handle(), table)) << table.name;
}

TEST(GeneratedMdb, CommandLineWritesBothFormatsAndRefusesBadArguments)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mdb = dir.filePath(QStringLiteral("a.mdb"));
    const QString sqlite = dir.filePath(QStringLiteral("a.sqlite"));
    ASSERT_EQ(runGenerator({"--parcels", "40", "--seed", "3", "--password", "tajne", mdb}).exitCode, 0);
    ASSERT_EQ(runGenerator({"--parcels", "40", "--seed", "3", sqlite}).exitCode, 0);
    EXPECT_TRUE(jet::registerHasPassword(mdb));

    jet::Database db;
    db.open(sqlite);
    EXPECT_EQ(scalar(db.handle(), "SELECT count(*) FROM KDZIALKA WHERE IFNULL(ZMIANA_KAS_ID, 0) = 0"), "40");

    // Bad arguments: a Polish message, exit code 2, and the existing file untouched.
    QFile existing(mdb);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    const QByteArray before = existing.readAll();
    existing.close();
    struct Case {
        QStringList arguments;
        const char *message;
    } cases[] = {
        {{"--parcels", "abc", mdb}, "liczba działek"},
        {{"--parcels", "5", mdb}, "liczba działek"},
        {{mdb}, "wymagane są --parcels"},
        {{"--parcels", "40", dir.filePath("a.txt")}, "rozszerzenie"},
        {{"--parcels", "40", "--password", "x", sqlite}, "hasło"},
        {{"--parcels", "40", "--seed", "-1", mdb}, "ziarno"},
        {{"--parcels", "40", "--bogus", mdb}, "nieznana opcja"},
    };
    for (const Case &c : cases) {
        const GeneratorRun run = runGenerator(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.message))) << run.errors.toStdString();
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), before);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.txt")));
}
