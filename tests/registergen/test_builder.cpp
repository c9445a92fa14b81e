#include "RegisterBuilder.h"
#include "support/Probe.h"

#include "jet/Database.h"

#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::registergen;
using probe::scalar;

TEST(RegisterBuilder, StartsWithEveryTableEmptyAndLoadsThemAll)
{
    RegisterBuilder builder;
    ASSERT_EQ(builder.content().tables.size(), registerSchema().size());
    for (const auto &table : builder.content().tables)
        EXPECT_TRUE(table.rows.empty()) << table.name;

    jet::Database db;
    builder.toDatabase(db);
    for (const TableSchema &table : registerSchema())
        EXPECT_EQ(scalar(db.handle(), "SELECT count(*) FROM " + table.name), "0") << table.name;
}

TEST(RegisterBuilder, UnnamedColumnsAreNullAndValuesTakeTheColumnsType)
{
    RegisterBuilder builder;
    builder.add("kdzialka", {{"mslink", 1}, {"NR_L", 12.0}, {"NR_ADD", ""}, {"AREA", 5}, {"AROWA", 0}})
        .add("ZMIANY", {{"ID", 500.0}, {"DATAD", oleDate(2008, 1, 15, 9, 3, 5)}, {"DATA_D", 20080115}})
        .add("KOMENTARZ", {{"MSLINK", 9.0}, {"TEKST", std::string(600, 'x') + "\r\nŻółć"}});
    EXPECT_EQ(builder.rowCount("KDZIALKA"), 1u);

    jet::Database db;
    builder.toDatabase(db);
    struct Case {
        const char *sql;
        const char *expected;
    } cases[] = {
        {"SELECT typeof(MSLINK) || ' ' || MSLINK FROM KDZIALKA", "real 1.0"},
        {"SELECT typeof(NR_L) || ' ' || NR_L FROM KDZIALKA", "integer 12"},
        {"SELECT NR_M IS NULL AND ZMIANA_KAS_ID IS NULL AND ID_JR IS NULL FROM KDZIALKA", "1"},
        {"SELECT NR_ADD IS NOT NULL AND NR_ADD = '' FROM KDZIALKA", "1"},
        {"SELECT typeof(AREA) || ' ' || AREA FROM KDZIALKA", "real 5.0"},
        {"SELECT DATAD FROM ZMIANY", "2008-01-15 09:03:05"},
        {"SELECT length(TEKST) FROM KOMENTARZ", "606"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(scalar(db.handle(), c.sql), c.expected) << c.sql;
}

TEST(RegisterBuilder, RejectsWhatTheRegisterCannotHoldAndKeepsItsRows)
{
    struct Case {
        const char *what;
        const char *table;
        Field field;
    } cases[] = {
        {"unknown table", "DZIALKI", {"MSLINK", 1.0}},
        {"unknown column", "KDZIALKA", {"NUMER", 1}},
        {"text into a Long column", "KDZIALKA", {"NR_L", "12"}},
        {"fraction into a Long column", "KDZIALKA", {"NR_L", 12.5}},
        {"number into a Text column", "KDZIALKA", {"NR_ADD", 1}},
        {"text into a Double column", "KDZIALKA", {"AREA", "5"}},
        {"text longer than the column", "KDZIALKA", {"NR_ADD", "ABCDEF"}},
        {"value beyond an Integer column", "KDZIALKA", {"AROWA", 40000}},
        {"value beyond a Byte column", "EW_USER", {"POZIOM", 256}},
    };
    RegisterBuilder builder;
    builder.add("KDZIALKA", {{"MSLINK", 1.0}});
    for (const Case &c : cases) {
        EXPECT_THROW(builder.add(c.table, {c.field}), BuilderError) << c.what;
        EXPECT_EQ(builder.rowCount("KDZIALKA"), 1u) << c.what;
    }
    EXPECT_THROW(builder.add("KDZIALKA", {{"NR_L", 1}, {"nr_l", 2}}), BuilderError);
    EXPECT_THROW(builder.addRow(builder.tableIndex("GMINA"), {1.0}), BuilderError);
    EXPECT_EQ(builder.rowCount("KDZIALKA"), 1u);
    EXPECT_EQ(builder.rowCount("GMINA"), 0u);
}
