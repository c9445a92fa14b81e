// Sets of IN (long lists of whole numbers, subqueries) kept by the database as temporary tables:
// a statement gives exactly the rows SQLite gives for its plain text, whether the set is kept or
// the statement falls back to its own text, also after the data changed and when sets are evicted;
// a statement run for every unit sees changed data.
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/Query.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace katarix::jet;

namespace {

class SetsTest : public testing::Test {
protected:
    void SetUp() override
    {
        db.openInMemory();
        // Parcels 1..600 in units 1..60 (ten each); buildings on every third parcel; owners
        // with names that differ only in case; a NULL in dlk_bud.
        QString sql = QStringLiteral(
            "CREATE TABLE kdzialka (mslink REAL, dzialka_id REAL, id_jr REAL, nr TEXT COLLATE JET);"
            "CREATE TABLE dlk_bud (budynek_id REAL, dzialka_id REAL);"
            "CREATE TABLE kbudynek (budynek_id REAL, id_jr REAL, funkcja TEXT COLLATE JET);"
            "CREATE TABLE osoby (nazwa TEXT COLLATE JET, kod TEXT);"
            "CREATE INDEX ix_dz ON kdzialka(mslink); CREATE INDEX ix_jr ON kdzialka(id_jr);"
            "CREATE INDEX ix_bud ON kbudynek(id_jr);"
            "INSERT INTO osoby VALUES ('Łukasz', 'a'), ('ŁUKASZ', 'B'), ('ewa', 'c'), (NULL, 'd');");
        for (int i = 1; i <= 600; ++i) {
            sql += QStringLiteral("INSERT INTO kdzialka VALUES (%1, %2, %3, '%1');").arg(i).arg(i + 1000).arg((i - 1) / 10 + 1);
            if (i % 3 == 0) {
                sql += QStringLiteral("INSERT INTO dlk_bud VALUES (%1, %2);").arg(i + 5000).arg(i + 1000);
                sql += QStringLiteral("INSERT INTO kbudynek VALUES (%1, %2, 'dom');").arg(i + 5000).arg((i - 1) / 10 + 1);
            }
        }
        sql += QStringLiteral("INSERT INTO dlk_bud VALUES (NULL, NULL);");
        db.execNative(sql);
        query.setDatabase(&db);
    }

    // Rows as text, through Query (sets kept where they can be).
    QStringList rows(Query &q)
    {
        QStringList out;
        q.close();
        q.open();
        for (; !q.eof(); q.next()) {
            QStringList values;
            for (int f = 0; f < q.fieldCount(); ++f)
                values << (q.value(f).isNull() ? QStringLiteral("NULL") : Dataset::valueToText(q.value(f)));
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }

    // Rows SQLite gives for the plain translation, with the parameters bound by hand.
    QStringList plainRows(const QString &jetSql, const QVariantMap &parameters = {})
    {
        const QByteArray sql = db.translate(jetSql).sql.toUtf8();
        sqlite3_stmt *statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &statement, nullptr), SQLITE_OK) << sql.constData();
        for (auto it = parameters.begin(); it != parameters.end(); ++it)
            sqlite3_bind_double(statement, sqlite3_bind_parameter_index(statement, (':' + it.key()).toUtf8().constData()),
                                it.value().toDouble());
        QStringList out;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList values;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
                    values << QStringLiteral("NULL");
                } else if (sqlite3_column_type(statement, c) == SQLITE_TEXT) {
                    values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, c)));
                } else {
                    values << Dataset::valueToText(sqlite3_column_double(statement, c));
                }
            }
            out << values.join(QLatin1Char('|'));
        }
        sqlite3_finalize(statement);
        return out;
    }

    // The temporary tables that hold sets.
    int keptSets()
    {
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db.handle(), "SELECT count(*) FROM sqlite_temp_master WHERE type = 'table'", -1, &statement,
                           nullptr);
        sqlite3_step(statement);
        const int count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
        return count;
    }

    static QString numbers(int from, int to, int step = 1)
    {
        QStringList list;
        for (int i = from; i <= to; i += step)
            list << QString::number(i);
        return list.join(QLatin1Char(','));
    }

    Database db;
    Query query;
};

TEST_F(SetsTest, StatementsGiveThePlainTextsRowsWhetherTheirSetsAreKeptOrNot)
{
    const QString list = numbers(1, 600, 5); // 120 numbers
    struct Case {
        const char *what;
        QString sql;
        int kept; // temporary tables afterwards
    };
    const Case cases[] = {
        {"a long list of numbers", QStringLiteral("SELECT mslink FROM kdzialka WHERE mslink IN (%1)").arg(list), 1},
        {"NOT IN a long list", QStringLiteral("SELECT mslink FROM kdzialka WHERE mslink NOT IN (%1) AND id_jr < 4").arg(list), 1},
        {"a short list stays a list", QStringLiteral("SELECT mslink FROM kdzialka WHERE mslink IN (3, 5, 7)"), 0},
        {"a list with a fraction stays a list",
         QStringLiteral("SELECT mslink FROM kdzialka WHERE mslink IN (%1, 2.5)").arg(list), 0},
        {"a subquery over a list, as the extract's buildings",
         QStringLiteral("SELECT budynek_id FROM kbudynek WHERE budynek_id IN (SELECT budynek_id FROM dlk_bud WHERE "
                        "dzialka_id IN (SELECT dzialka_id FROM kdzialka WHERE mslink IN (%1)))")
             .arg(list),
         3},
        {"NOT IN a subquery holding NULL",
         QStringLiteral("SELECT mslink FROM kdzialka WHERE dzialka_id NOT IN (SELECT dzialka_id FROM dlk_bud)"), 1},
        // IIf gives a value without a collation: the subquery's column (JET) decides.
        {"a subquery of a text column keeps its collation",
         QStringLiteral("SELECT kod FROM osoby WHERE IIf(kod = 'a', 'ŁUKASZ', kod) IN (SELECT nazwa FROM osoby WHERE "
                        "kod = 'a')"),
         1},
        {"a subquery of an expression is not kept",
         QStringLiteral("SELECT kod FROM osoby WHERE nazwa IN (SELECT UCase(nazwa) FROM osoby)"), 0},
        {"a correlated subquery is not kept",
         QStringLiteral("SELECT mslink FROM kdzialka AS k WHERE 1 IN (SELECT count(*) FROM dlk_bud WHERE "
                        "dlk_bud.dzialka_id = k.dzialka_id)"),
         0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        db.close();
        SetUp();
        query.setSql(c.sql);
        const QStringList expected = plainRows(c.sql);
        EXPECT_EQ(rows(query), expected);
        EXPECT_EQ(rows(query), expected) << "run again";
        EXPECT_EQ(keptSets(), c.kept);
    }
}

TEST_F(SetsTest, ParametersInsideASubqueryKeepItInTheStatement)
{
    const QString sql = QStringLiteral(
        "SELECT mslink FROM kdzialka WHERE dzialka_id IN (SELECT dzialka_id FROM kdzialka WHERE id_jr = :IdJr)");
    query.setSql(sql);
    for (double jr : {3.0, 7.0}) {
        query.setParameter(QStringLiteral("IdJr"), jr, FieldType::Float);
        EXPECT_EQ(rows(query), plainRows(sql, {{QStringLiteral("idjr"), jr}}));
    }
    EXPECT_EQ(keptSets(), 0);
}

// The extract's buildings: one text for every unit, the unit a parameter, the selection's sets
// made once; a change of the data drops the sets and the next run sees it.
TEST_F(SetsTest, OneStatementRunsForEveryUnitAndSeesChangedData)
{
    const QString sql = QStringLiteral("SELECT budynek_id FROM kbudynek WHERE id_jr = :ID_JR AND budynek_id IN (SELECT "
                                       "budynek_id FROM dlk_bud WHERE dzialka_id IN (SELECT dzialka_id FROM kdzialka "
                                       "WHERE mslink IN (%1)))")
                            .arg(numbers(2, 600, 2));
    query.setSql(sql);
    for (int jr = 1; jr <= 60; ++jr) {
        query.setParameter(QStringLiteral("ID_JR"), jr, FieldType::Float);
        ASSERT_EQ(rows(query), plainRows(sql, {{QStringLiteral("id_jr"), jr}})) << jr;
        EXPECT_EQ(query.countRows(), rows(query).size());
    }
    EXPECT_EQ(keptSets(), 3);
    query.setParameter(QStringLiteral("ID_JR"), 60, FieldType::Float);
    EXPECT_EQ(rows(query), (QStringList{QStringLiteral("5594"), QStringLiteral("5600")}));

    // Parcel 592 gets a building of unit 60.
    db.execNative(QStringLiteral("INSERT INTO dlk_bud VALUES (7000, 1592); INSERT INTO kbudynek VALUES (7000, 60, 'garaż')"));
    EXPECT_EQ(rows(query), (QStringList{QStringLiteral("5594"), QStringLiteral("5600"), QStringLiteral("7000")}));
    // Rows changed through the raw handle count too.
    sqlite3_exec(db.handle(), "DELETE FROM dlk_bud WHERE budynek_id = 5600", nullptr, nullptr, nullptr);
    EXPECT_EQ(rows(query), (QStringList{QStringLiteral("5594"), QStringLiteral("7000")}));
}

TEST_F(SetsTest, SetsBeyondTheLimitAreDroppedAndMadeAgainWhenNeeded)
{
    Query first;
    first.setDatabase(&db);
    first.setSql(QStringLiteral("SELECT count(*) AS ile FROM kdzialka WHERE mslink IN (%1)").arg(numbers(1, 300)));
    EXPECT_EQ(rows(first), QStringList{QStringLiteral("300")});
    for (int i = 0; i < 80; ++i) {
        query.setSql(QStringLiteral("SELECT count(*) AS ile FROM kdzialka WHERE mslink IN (%1)").arg(numbers(i + 1, i + 200)));
        ASSERT_EQ(rows(query), QStringList{QStringLiteral("200")});
    }
    EXPECT_LE(keptSets(), 64);
    EXPECT_EQ(rows(first), QStringList{QStringLiteral("300")}) << "its set was dropped and is made again";
}

} // namespace
