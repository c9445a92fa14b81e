// The cache's own objects (indexes, SQLite's tables) and a register's tables never clash: a
// table named like any of them is loaded and answers Jet SQL by its own name.
#include "support/MdbTestSupport.h"

#include "jet/Database.h"
#include "jet/Query.h"

#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

mw::Table table(const std::string &name, int firstId)
{
    mw::Table t;
    t.name = name;
    t.columns = {column("MSLINK", ColumnType::Long), column("NAZWA", ColumnType::Text, 40)};
    for (int i = 0; i < 3; ++i)
        t.rows.push_back({mw::Value(std::int64_t(firstId + i)), mw::Value(name + " " + std::to_string(i))});
    return t;
}

QStringList rows(jet::Database &db, const QString &sql)
{
    jet::Query query;
    query.setDatabase(&db);
    query.setSql(sql);
    query.open();
    QStringList out;
    for (int r = 0; r < query.recordCount(); ++r) {
        QStringList values;
        for (int f = 0; f < query.fieldCount(); ++f)
            values << jet::Dataset::valueToText(query.valueAt(r, f));
        out << values.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

TEST(MdbCacheNames, TablesNamedLikeTheCachesOwnObjectsOpenUnderTheirNames)
{
    // KDZIALKA's MSLINK is the register's first index; a register table may carry its name as
    // earlier versions spelled it (and the name of their key table), or begin with SQLite's
    // reserved prefix. (Access allows no full stop in a name.)
    const std::vector<std::string> names = {"KDZIALKA", "katarix_cache", "ix1_KDZIALKA_MSLINK", "sqlite_dzialki",
                                            "SQLITE_MASTER"};
    mw::Content content;
    for (size_t i = 0; i < names.size(); ++i)
        content.tables.push_back(table(names[i], int(i) * 10));
    MdbScratch scratch;
    const QString file = scratch.write(content, QStringLiteral("nazwy.mdb"));

    for (const bool reused : {false, true}) {
        SCOPED_TRACE(reused ? "cached copy" : "first load");
        jet::Database db;
        jet::openRegister(db, file, scratch.options());
        for (size_t i = 0; i < names.size(); ++i) {
            const QString name = QString::fromStdString(names[i]);
            SCOPED_TRACE(names[i]);
            EXPECT_EQ(rows(db, QStringLiteral("SELECT NAZWA FROM [%1] WHERE MSLINK = %2").arg(name).arg(i * 10 + 1)),
                      QStringList{name + QStringLiteral(" 1")});
            // Qualified by the table's name, and by an alias.
            EXPECT_EQ(rows(db, QStringLiteral("SELECT [%1].MSLINK FROM [%1] ORDER BY [%1].MSLINK DESC").arg(name)),
                      (QStringList{QString::number(i * 10 + 2), QString::number(i * 10 + 1), QString::number(i * 10)}));
            EXPECT_EQ(rows(db, QStringLiteral("SELECT count(*) FROM [%1] AS t INNER JOIN KDZIALKA ON t.MSLINK - %2 = "
                                              "KDZIALKA.MSLINK")
                                   .arg(name)
                                   .arg(i * 10)),
                      QStringList{QStringLiteral("3")});
        }
    }
}
