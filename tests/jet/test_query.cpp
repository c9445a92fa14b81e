// Query over an engine database: named typed parameters, rows and field types, events, errors.
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

#include <functional>

using namespace katarix::jet;

namespace {

class QueryTest : public testing::Test {
protected:
    void SetUp() override
    {
        db.openInMemory();
        db.execNative(QStringLiteral(
            "CREATE TABLE kdzialka (mslink INTEGER PRIMARY KEY, id_jr REAL, nr_l INTEGER,"
            " nazwa TEXT COLLATE JET, area REAL, uwagi TEXT);"
            "INSERT INTO kdzialka VALUES (1, 12, 5, 'Łąka', 1234.5, NULL);"
            "INSERT INTO kdzialka VALUES (2, 12, 6, 'żyto', 12, 'x');"
            "INSERT INTO kdzialka VALUES (3, 13, 7, 'Zagon', 0.25, NULL);"
            "INSERT INTO kdzialka VALUES (4, 14, NULL, NULL, NULL, NULL);"));
        query.setObjectName(QStringLiteral("DzialkiQry"));
        query.setDatabase(&db);
    }

    QList<qlonglong> mslinks()
    {
        QList<qlonglong> result;
        for (query.first(); !query.eof(); query.next())
            result.append(query.asInteger(QStringLiteral("MSLINK")));
        return result;
    }

    QString openError()
    {
        try {
            query.open();
        } catch (const JetError &error) {
            EXPECT_FALSE(query.isOpen());
            return error.message();
        }
        ADD_FAILURE() << "the query opened";
        return {};
    }

    Database db;
    Query query;
};

TEST_F(QueryTest, SameParameterTwiceAndNamesWithoutRegardToCase)
{
    query.setSql(QStringLiteral("SELECT mslink FROM kdzialka WHERE id_jr = :IdJr OR mslink = :IDJR - 9"
                                " ORDER BY mslink"));
    query.setParameter(QStringLiteral("idjr"), 13.0, FieldType::Float);
    query.open();
    EXPECT_EQ(mslinks(), (QList<qlonglong>{3, 4}));

    // New values take effect on the next opening only.
    query.setParameter(QStringLiteral("IDJR"), 12, FieldType::Integer);
    EXPECT_EQ(query.parameter(QStringLiteral("IdJr")), QVariant(12));
    EXPECT_EQ(mslinks(), (QList<qlonglong>{3, 4}));
    query.close();
    query.open();
    EXPECT_EQ(mslinks(), (QList<qlonglong>{1, 2, 3}));
}

TEST_F(QueryTest, ParameterTypeDecidesTheBoundValue)
{
    struct Case {
        const char *name;
        QVariant value;
        FieldType type;
        QVariant bound;      // the value as it comes back
        int rowsOfArea12;    // rows whose REAL column area equals it
    };
    const Case cases[] = {
        {"text 12", QStringLiteral("12"), FieldType::Text, QStringLiteral("12"), 1},
        {"float 12", 12, FieldType::Float, 12.0, 1},
        {"float from regional text", QStringLiteral("12,0"), FieldType::Float, 12.0, 1},
        {"integer from text", QStringLiteral("12"), FieldType::Integer, qlonglong(12), 1},
        {"integer rounds", 11.5, FieldType::SmallInt, qlonglong(12), 1},
        {"text of a number", 12.0, FieldType::Text, QStringLiteral("12"), 1},
        {"null", QVariant(), FieldType::Float, QVariant(), 0},
    };
    const katarix::test::SeparatorGuard comma(QLatin1Char(','));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        query.setSql(QStringLiteral("SELECT :p AS v, mslink FROM kdzialka WHERE area = :P"));
        query.setParameter(QStringLiteral("P"), c.value, c.type);
        query.open();
        EXPECT_EQ(query.recordCount(), c.rowsOfArea12);
        query.setSql(QStringLiteral("SELECT :p AS v"));
        query.open();
        const QVariant bound = query.value(QStringLiteral("V"));
        EXPECT_EQ(bound.isNull(), c.bound.isNull());
        EXPECT_EQ(bound.typeId(), c.bound.typeId());
        EXPECT_EQ(bound, c.bound);
    }
}

TEST_F(QueryTest, RowsCarryColumnNamesTypesAndValues)
{
    query.setSql(QStringLiteral("SELECT mslink, nazwa AS Nazwa_Dz, area, uwagi, nr_l * 2 AS podwojny,"
                                " uwagi AS u2 FROM kdzialka ORDER BY mslink DESC"));
    query.open();
    ASSERT_EQ(query.recordCount(), 4);
    EXPECT_EQ(query.fieldNames(), (QStringList{"mslink", "Nazwa_Dz", "area", "uwagi", "podwojny", "u2"}));
    // Declared types where the column is a table's; else the first value that is not NULL.
    const FieldType expected[] = {FieldType::Integer, FieldType::Text, FieldType::Float,
                                  FieldType::Text, FieldType::Integer, FieldType::Text};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(query.fieldType(i), expected[i]) << i;

    EXPECT_EQ(query.recNo(), 1);
    EXPECT_TRUE(query.isNull(QStringLiteral("NAZWA_DZ"))); // mslink 4 first
    EXPECT_TRUE(query.isNull(QStringLiteral("podwojny")));
    query.locate(QStringLiteral("nazwa_dz"), QStringLiteral("ŁĄKA"));
    EXPECT_EQ(query.recNo(), 4);
    EXPECT_EQ(query.value(QStringLiteral("Nazwa_Dz")), QVariant(QStringLiteral("Łąka")));
    EXPECT_EQ(query.value(QStringLiteral("area")), QVariant(1234.5));
    EXPECT_EQ(query.value(QStringLiteral("podwojny")), QVariant(qlonglong(10)));
    EXPECT_EQ(query.asString(QStringLiteral("uwagi")), QString());
}

TEST_F(QueryTest, OpenAnnouncesOpenThenFirstRowCloseDropsFields)
{
    QStringList events;
    QObject::connect(&query, &Dataset::afterOpen, [&] { events << QStringLiteral("open:%1").arg(query.recNo()); });
    QObject::connect(&query, &Dataset::afterScroll, [&] { events << QStringLiteral("scroll:%1").arg(query.recNo()); });
    QObject::connect(&query, &Dataset::afterClose, [&] { events << QStringLiteral("close"); });

    query.setSql(QStringLiteral("SELECT mslink FROM kdzialka WHERE id_jr = :IdJr"));
    query.setParameter(QStringLiteral("IdJr"), 12, FieldType::Float);
    query.open();
    query.open(); // already open: nothing
    query.setParameter(QStringLiteral("IdJr"), 99, FieldType::Float);
    query.setSql(query.sql()); // closes
    EXPECT_FALSE(query.isOpen());
    EXPECT_EQ(query.fieldCount(), 0);
    EXPECT_THROW(query.value(QStringLiteral("mslink")), JetError);
    query.open(); // no rows: no scroll
    EXPECT_TRUE(query.isEmpty());
    query.close();

    query.disableControls();
    query.setParameter(QStringLiteral("IdJr"), 12, FieldType::Float);
    query.open(); // controls disabled: opens silently apart from afterOpen
    query.enableControls();

    EXPECT_EQ(events, (QStringList{"open:1", "scroll:1", "close", "open:0", "close", "open:1"}));
}

TEST_F(QueryTest, FailuresGivePolishMessages)
{
    struct Case {
        const char *sql;
        std::function<void()> prepare;
        QString message;
    };
    const Case cases[] = {
        {"SELECT mslink FROM kdzialka WHERE id_jr = :IdJr", [] {},
         QStringLiteral("DzialkiQry: Brak wartości parametru 'IdJr'.")},
        {"SELECT mslink FROM kdzialka WHERE id_jr = :IdJr",
         [&] { query.setParameter(QStringLiteral("idjr"), QStringLiteral("dwa"), FieldType::Integer); },
         QStringLiteral("DzialkiQry: Nieprawidłowa wartość parametru 'IdJr': 'dwa' nie jest prawidłową liczbą całkowitą.")},
        {"SELECT mslink FROM dzialki", [] {}, QStringLiteral("DzialkiQry: Błąd zapytania: nie ma tabeli 'dzialki'.")},
        {"SELECT numer FROM kdzialka", [] {}, QStringLiteral("DzialkiQry: Błąd zapytania: nie ma kolumny 'numer'.")},
        {"", [] {}, QStringLiteral("DzialkiQry: Zapytanie nie ma tekstu SQL.")},
        {"SELECT mslink FROM kdzialka", [&] { query.setDatabase(nullptr); },
         QStringLiteral("DzialkiQry: Zapytanie nie ma przypisanej bazy danych.")},
        {"SELECT mslink FROM kdzialka", [&] { db.close(); },
         QStringLiteral("DzialkiQry: Baza danych nie jest otwarta.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql);
        query.setDatabase(&db);
        query.setSql(QString::fromUtf8(c.sql));
        c.prepare();
        EXPECT_EQ(openError(), c.message);
    }
}

TEST_F(QueryTest, SyntaxErrorNamesThePlace)
{
    query.setSql(QStringLiteral("SELECT mslink FROM kdzialka WHERE"));
    const QString message = openError();
    EXPECT_TRUE(message.startsWith(QStringLiteral("DzialkiQry: "))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("syntax error"))) << message.toStdString();
}

// A forward-only query (the long lists) holds one row: recNo and recordCount follow the rows
// read; it cannot go back, but opens again from the start.
TEST_F(QueryTest, AForwardOnlyQueryReadsOneRowAtATime)
{
    query.setSql(QStringLiteral("SELECT mslink, nazwa FROM kdzialka ORDER BY mslink"));
    query.setForwardOnly(true);
    query.open();
    QList<qlonglong> seen;
    for (; !query.eof(); query.next()) {
        seen << query.asInteger(QStringLiteral("MSLINK"));
        EXPECT_EQ(query.recNo(), seen.size());
        EXPECT_EQ(query.recordCount(), seen.size());
    }
    EXPECT_EQ(seen, (QList<qlonglong>{1, 2, 3, 4}));
    EXPECT_EQ(query.asInteger(QStringLiteral("mslink")), 4) << "stays on the last row";
    EXPECT_THROW(query.first(), JetError);
    query.close();
    query.open();
    EXPECT_EQ(query.asString(QStringLiteral("nazwa")), QStringLiteral("Łąka"));

    query.setSql(QStringLiteral("SELECT mslink FROM kdzialka WHERE id_jr = 0"));
    query.open();
    EXPECT_TRUE(query.eof());
    EXPECT_TRUE(query.isEmpty());
    EXPECT_EQ(query.recNo(), 0);
}

// The statement prepared once runs again with new parameters, counts without keeping rows, and
// is prepared anew on a database opened again.
TEST_F(QueryTest, TheStatementIsRunAgainAndFollowsTheDatabase)
{
    query.setSql(QStringLiteral("SELECT mslink FROM kdzialka WHERE id_jr = :IdJr ORDER BY mslink"));
    for (const auto &[jr, expected] : {std::pair{12.0, QList<qlonglong>{1, 2}}, std::pair{13.0, QList<qlonglong>{3}},
                                       std::pair{99.0, QList<qlonglong>{}}}) {
        query.setParameter(QStringLiteral("IdJr"), jr, FieldType::Float);
        EXPECT_EQ(query.countRows(), expected.size());
        EXPECT_FALSE(query.isOpen());
        query.close();
        query.open();
        EXPECT_EQ(mslinks(), expected);
    }
    db.close();
    db.openInMemory();
    db.execNative(QStringLiteral("CREATE TABLE kdzialka (mslink INTEGER, id_jr REAL); INSERT INTO kdzialka VALUES (7, 12);"));
    query.setParameter(QStringLiteral("IdJr"), 12.0, FieldType::Float);
    query.close();
    query.open();
    EXPECT_EQ(mslinks(), (QList<qlonglong>{7}));
    query.release();
    EXPECT_FALSE(query.isOpen());
    EXPECT_FALSE(query.sql().isEmpty()) << "the text stays";
    query.open();
    EXPECT_EQ(mslinks(), (QList<qlonglong>{7}));
}

} // namespace
