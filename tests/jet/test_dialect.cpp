// Jet SELECT statements translated and run on a small register-like database: Polish order,
// case-insensitive DISTINCT / UNION / GROUP BY, ORDER BY by name, alias and position, nested
// joins, named parameters, sub-queries, result column names and parse errors.

#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Translator.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QMap>
#include <QVariant>

using namespace katarix::jet;

namespace {

using Row = QVariantList;
using Rows = QList<Row>;

class DialectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.openInMemory();
        db.execNative(QStringLiteral(R"(
            CREATE TABLE kdzialka (mslink INTEGER, dzialka_id INTEGER, id_jr INTEGER, nr_l INTEGER,
                nr_m INTEGER, nr_add TEXT COLLATE JET, area REAL, arowa INTEGER, arkusz_id INTEGER,
                zmiana_kas_id INTEGER);
            INSERT INTO kdzialka VALUES (1, 101, 7, 12, 3, 'A', 1234, 0, 1, NULL),
                (2, 102, 7, 12, NULL, '', 5, 0, 2, 0), (3, 103, 7, 5, NULL, NULL, 20000, 1, NULL, NULL),
                (4, 104, 7, 9, NULL, NULL, 100, 0, 1, 77), (5, 105, 8, 1, NULL, NULL, 100, 0, 1, NULL);
            CREATE TABLE arkusz (mslink INTEGER, nazwa TEXT COLLATE JET);
            INSERT INTO arkusz VALUES (1, 'Ark 1'), (2, 'Ark 2');
            CREATE TABLE kw_dlk (dzialka_id INTEGER, kw_id INTEGER, status TEXT COLLATE JET, zmiana_kas_id INTEGER);
            INSERT INTO kw_dlk VALUES (101, 1, 'P', NULL), (102, 2, 'X', NULL), (102, 3, NULL, 0), (103, 1, 'P', 5);
            CREATE TABLE slo_kw (kw_id INTEGER, kw_txt TEXT COLLATE JET, wydzkw_id INTEGER);
            INSERT INTO slo_kw VALUES (1, 'KW1', 1), (2, 'KW2', 1), (3, 'KW3', NULL);
            CREATE TABLE slo_wydzkw (mslink INTEGER, nazwa TEXT COLLATE JET);
            INSERT INTO slo_wydzkw VALUES (1, 'Sąd');
            CREATE TABLE osoby (id INTEGER, nazwisko TEXT COLLATE JET, imie_id INTEGER, imie2_id INTEGER);
            INSERT INTO osoby VALUES (1, 'Żak', 1, NULL), (2, 'zając', 2, 1), (3, 'Łukasz', NULL, NULL),
                (4, 'lis', 1, 2), (5, 'Ąb', 2, NULL), (6, 'abc', NULL, NULL), (7, 'Bąk', 1, NULL),
                (8, 'ćma', 1, NULL), (9, 'Cis', 1, NULL), (10, '10', NULL, NULL), (11, 'Kowalski', 1, NULL),
                (12, 'KOWALSKI', 2, NULL), (13, 'kowalski', 1, NULL);
            CREATE TABLE imiona (mslink INTEGER, imie TEXT COLLATE JET);
            INSERT INTO imiona VALUES (1, 'Jan'), (2, 'Ewa');
            CREATE TABLE lw (osoba_id INTEGER, wlad_id INTEGER, nr_udzialu TEXT COLLATE JET, l_udzial INTEGER,
                m_udzial INTEGER, osoba_txt TEXT COLLATE JET);
            INSERT INTO lw VALUES (100, 2, '1', 1, 2, 'Nowak Jan'), (300000001, 2, '1', 1, 4, 'Gmina'),
                (200, 1, '2', 1, 3, 'Ćwik Ewa'), (201, 2, '1', 1, 3, 'Adamski Piotr'),
                (500000000, 2, NULL, 0, 0, 'Małżeństwo');
            CREATE TABLE lwk (dzialka_id INTEGER, osoba_id INTEGER, wlad_id INTEGER, nr_udzialu TEXT COLLATE JET,
                l_udzial INTEGER, m_udzial INTEGER, osoba_txt TEXT COLLATE JET);
            INSERT INTO lwk VALUES (101, 100, 2, '1', 1, 2, 'NOWAK JAN'), (101, 400, 3, NULL, 1, 1, 'Skarb');
        )"));
    }

    Rows run(const QString &jetSql, const QMap<QString, QVariant> &parameters = {}, QStringList *names = nullptr)
    {
        const TranslatedSql &t = db.translate(jetSql);
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = t.sql.toUtf8();
        if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(db.handle()) << "\n" << t.sql.toStdString();
            return {};
        }
        for (auto it = parameters.begin(); it != parameters.end(); ++it) {
            const QByteArray name = (u':' + it.key()).toUtf8();
            const int index = sqlite3_bind_parameter_index(stmt, name.constData());
            EXPECT_GT(index, 0) << name.constData();
            sqlite3_bind_int64(stmt, index, it.value().toLongLong());
        }
        if (names) {
            names->clear();
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                *names << QString::fromUtf8(sqlite3_column_name(stmt, i));
        }
        Rows rows;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            Row row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER:
                    row << qlonglong(sqlite3_column_int64(stmt, i));
                    break;
                case SQLITE_FLOAT:
                    row << sqlite3_column_double(stmt, i);
                    break;
                case SQLITE_TEXT:
                    row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)));
                    break;
                default:
                    row << QVariant();
                }
            }
            rows << row;
        }
        EXPECT_EQ(sqlite3_errcode(db.handle()), SQLITE_DONE) << sqlite3_errmsg(db.handle()) << "\n" << t.sql.toStdString();
        sqlite3_finalize(stmt);
        return rows;
    }

    // The first column of every row, as text.
    QStringList column(const QString &jetSql, const QMap<QString, QVariant> &parameters = {})
    {
        QStringList values;
        for (const Row &row : run(jetSql, parameters))
            values << (row.value(0).isNull() ? QStringLiteral("<null>") : row.value(0).toString());
        return values;
    }

    katarix::test::SeparatorGuard point{QChar(u'.')};
    Database db;
};

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out << QString::fromUtf8(item);
    return out;
}

TEST_F(DialectTest, TextsSortGroupAndDeduplicateInPolishOrderWithoutCase)
{
    struct Case {
        const char *sql;
        QStringList expected;
    };
    const Case cases[] = {
        {"SELECT nazwisko FROM osoby WHERE id <= 10 ORDER BY nazwisko",
         list({"10", "abc", "Ąb", "Bąk", "Cis", "ćma", "lis", "Łukasz", "zając", "Żak"})},
        {"SELECT UCase(nazwisko) AS n FROM osoby WHERE id <= 10 ORDER BY UCase(nazwisko) DESC",
         list({"ŻAK", "ZAJĄC", "ŁUKASZ", "LIS", "ĆMA", "CIS", "BĄK", "ĄB", "ABC", "10"})},
        {"SELECT DISTINCT nazwisko FROM osoby WHERE id > 10", list({"Kowalski"})},
        {"SELECT DISTINCT nazwisko & '' AS n FROM osoby WHERE id > 10", list({"Kowalski"})},
        {"SELECT Count(*) FROM (SELECT nazwisko FROM osoby WHERE id = 11 UNION SELECT 'KOWALSKI' FROM osoby "
         "WHERE id = 12)",
         list({"1"})},
        {"SELECT nazwisko FROM osoby WHERE id = 11 UNION ALL SELECT nazwisko FROM osoby WHERE id = 12",
         list({"Kowalski", "KOWALSKI"})},
        {"SELECT Format$(Count(id)) + ' x ' + LCase(nazwisko) FROM osoby WHERE id > 10 GROUP BY nazwisko",
         list({"3 x kowalski"})},
        {"SELECT LCase(nazwisko) AS n FROM osoby WHERE id > 10 GROUP BY LCase(nazwisko)", list({"kowalski"})},
        {"SELECT nazwisko FROM osoby WHERE nazwisko = 'KOWALSKI' AND UCase(nazwisko) = 'kowalski' ORDER BY id",
         list({"Kowalski", "KOWALSKI", "kowalski"})},
        {"SELECT nazwisko FROM osoby WHERE nazwisko IN ('ŻAK', 'LIS') ORDER BY nazwisko", list({"lis", "Żak"})},
        {"SELECT nazwisko FROM osoby WHERE nazwisko BETWEEN 'Ł' AND 'ZAJĄC' ORDER BY 1", list({"Łukasz", "zając"})},
        {"SELECT nazwisko FROM osoby WHERE UCase(nazwisko) LIKE 'Ł%' OR nazwisko LIKE 'ż%'", list({"Żak", "Łukasz"})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(column(QString::fromUtf8(c.sql)), c.expected) << c.sql;
}

TEST_F(DialectTest, NestedLeftJoinsWithHistoryRuleAndDisplayFormats)
{
    const QString sql = QStringLiteral(
        "SELECT KDZIALKA.MSLINK,\n"
        "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
        "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS NUMER,\n"
        "  ARKUSZ.NAZWA AS ARKUSZ,\n"
        "  IIf(KDZIALKA.AROWA=0, Format$(KDZIALKA.AREA/10000, '#########0.0000'), "
        "Format$(KDZIALKA.AREA/10000, '#########0.00')) AS AREA,\n"
        "  left(SLO_KW.KW_TXT, 200) AS KW, SLO_WYDZKW.NAZWA AS SAD\n"
        "FROM (((KDZIALKA LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"
        "LEFT JOIN KW_DLK ON (KDZIALKA.DZIALKA_ID = KW_DLK.DZIALKA_ID AND IIf(IsNull(KW_DLK.ZMIANA_KAS_ID), 0, "
        "KW_DLK.ZMIANA_KAS_ID) = 0 AND (KW_DLK.STATUS = 'P' OR KW_DLK.STATUS IS NULL)))\n"
        "LEFT JOIN SLO_KW ON KW_DLK.KW_ID = SLO_KW.KW_ID)\n"
        "LEFT JOIN SLO_WYDZKW ON SLO_KW.WYDZKW_ID = SLO_WYDZKW.MSLINK\n"
        "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"
        "AND KDZIALKA.ID_JR = :IdJr\n"
        "ORDER BY KDZIALKA.NR_L, KDZIALKA.NR_M");
    QStringList names;
    const Rows rows = run(sql, {{QStringLiteral("idjr"), 7}}, &names);
    EXPECT_EQ(names, list({"MSLINK", "NUMER", "ARKUSZ", "AREA", "KW", "SAD"}));
    const Rows expected = {
        {3LL, QStringLiteral("5"), QVariant(), QStringLiteral("2.00"), QVariant(), QVariant()},
        {2LL, QStringLiteral("12"), QStringLiteral("Ark 2"), QStringLiteral("0.0005"), QStringLiteral("KW3"), QVariant()},
        {1LL, QStringLiteral("12/3-A"), QStringLiteral("Ark 1"), QStringLiteral("0.1234"), QStringLiteral("KW1"),
         QString::fromUtf8("Sąd")},
    };
    EXPECT_EQ(rows, expected);

    // A join nested on the right keeps its parentheses and its meaning.
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT KDZIALKA.MSLINK & ':' & SLO_KW.KW_TXT FROM KDZIALKA LEFT JOIN (KW_DLK INNER JOIN SLO_KW "
                  "ON KW_DLK.KW_ID = SLO_KW.KW_ID) ON KDZIALKA.DZIALKA_ID = KW_DLK.DZIALKA_ID "
                  "WHERE KDZIALKA.ID_JR = 7 ORDER BY 1")),
              list({"1:KW1", "2:KW2", "2:KW3", "3:KW1", "4:"}));
}

// A group of LEFT JOINs on the right of a LEFT JOIN is written flat when that cannot change
// the rows (SQLite would otherwise materialise the group for every query), else kept nested.
TEST_F(DialectTest, LeftJoinGroupIsFlattenedOnlyWhereTheRowsStayTheSame)
{
    const struct Case {
        const char *group;
        bool flat;
        QStringList expected;
    } cases[] = {
        {"(KW_DLK LEFT JOIN SLO_KW ON KW_DLK.KW_ID = SLO_KW.KW_ID)", true, list({"1:KW1", "2:KW2", "2:KW3", "3:KW1", "4:"})},
        // The inner condition does not name KW_DLK: flat, parcel 4 would get KW3.
        {"(KW_DLK LEFT JOIN SLO_KW ON SLO_KW.KW_ID = 3)", false, list({"1:KW3", "2:KW3", "2:KW3", "3:KW3", "4:"})},
    };
    for (const Case &c : cases) {
        const QString sql = QStringLiteral("SELECT KDZIALKA.MSLINK & ':' & SLO_KW.KW_TXT FROM KDZIALKA LEFT JOIN %1 "
                                           "ON KDZIALKA.DZIALKA_ID = KW_DLK.DZIALKA_ID WHERE KDZIALKA.ID_JR = 7 ORDER BY 1")
                                .arg(QString::fromUtf8(c.group));
        EXPECT_EQ(column(sql), c.expected) << c.group;
        EXPECT_EQ(db.translate(sql).sql.contains(QStringLiteral("LEFT JOIN (")), !c.flat) << c.group;
    }
}

TEST_F(DialectTest, OrderByNameAliasAndPositionAlsoInUnion)
{
    struct Case {
        const char *sql;
        QStringList expected;
    };
    const Case cases[] = {
        // Holder order: form of holding, legal before natural persons, name, share from largest.
        {"SELECT lw.OSOBA_TXT, lw.WLAD_ID, IIf(lw.OSOBA_ID >= 300000000 and lw.OSOBA_ID < 500000000, 'P', 'F') "
         "AS RODZ_OS, IIf(lw.M_UDZIAL=0, 0, lw.L_UDZIAL / lw.M_UDZIAL) as UDZIAL_DZIES, lw.NR_UDZIALU "
         "FROM lw ORDER BY WLAD_ID, 3 desc, 1, NR_UDZIALU, 4 desc",
         list({"Ćwik Ewa", "Gmina", "Adamski Piotr", "Małżeństwo", "Nowak Jan"})},
        {"SELECT osoba_txt AS kto FROM lw ORDER BY kto DESC",
         list({"Nowak Jan", "Małżeństwo", "Gmina", "Ćwik Ewa", "Adamski Piotr"})},
        // UNION (duplicates removed, without regard to case) ordered by names of the first
        // select and by position; ';' before UNION and at the end.
        {"SELECT UCase(lw.osoba_txt) AS N, IIf(lw.osoba_id >= 300000000 and lw.osoba_id < 500000000, 'P', 'F') "
         "AS RODZ_OS, lw.wlad_id, lw.nr_udzialu, IIf(lw.M_UDZIAL=0, 0, lw.L_UDZIAL / lw.M_UDZIAL) as UDZIAL_DZIES "
         "FROM lw WHERE lw.wlad_id = 2;\n"
         "UNION SELECT UCase(lwk.osoba_txt), IIf(lwk.osoba_id >= 300000000 and lwk.osoba_id < 500000000, 'P', 'F') "
         "AS RODZ_OS, lwk.wlad_id, lwk.nr_udzialu, IIf(lwk.M_UDZIAL=0, 0, lwk.L_UDZIAL / lwk.M_UDZIAL) "
         "FROM lwk WHERE lwk.dzialka_id = 101\n"
         "ORDER BY wlad_id, 2 desc, nr_udzialu, UDZIAL_DZIES;",
         list({"GMINA", "MAŁŻEŃSTWO", "ADAMSKI PIOTR", "NOWAK JAN", "SKARB"})},
        {"SELECT osoba_txt AS kto FROM lw WHERE wlad_id = 1 UNION SELECT nazwisko FROM osoby WHERE id IN (1, 6) "
         "ORDER BY 1 DESC",
         list({"Żak", "Ćwik Ewa", "abc"})},
        {"SELECT lw.osoba_txt FROM lw WHERE wlad_id = 1 UNION SELECT osoby.nazwisko FROM osoby WHERE id = 6 "
         "ORDER BY lw.osoba_txt",
         list({"abc", "Ćwik Ewa"})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(column(QString::fromUtf8(c.sql)), c.expected) << c.sql;

    // The second UNION case again, whole rows: the holder recorded on the parcel and on the
    // unit ('Nowak Jan' / 'NOWAK JAN') appears once.
    const Rows rows = run(QStringLiteral(
        "SELECT lw.osoba_txt, lw.wlad_id FROM lw WHERE lw.osoba_id = 100 UNION "
        "SELECT lwk.osoba_txt, lwk.wlad_id FROM lwk WHERE lwk.dzialka_id = 101 ORDER BY 2, 1"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toString().toUpper(), QStringLiteral("NOWAK JAN"));
    EXPECT_EQ(rows[1][0].toString(), QStringLiteral("Skarb"));
}

TEST_F(DialectTest, ParametersSubqueriesAndResultNames)
{
    const QString withParameters = QStringLiteral(
        "SELECT mslink FROM kdzialka WHERE id_jr = :IdJr AND (mslink = :Msl OR dzialka_id = :MSL + 100) "
        "AND :idjr > 0 ORDER BY mslink");
    EXPECT_EQ(db.translate(withParameters).parameterNames, list({"idjr", "msl"}));
    EXPECT_EQ(column(withParameters, {{QStringLiteral("idjr"), 7}, {QStringLiteral("msl"), 3}}), list({"3"}));

    EXPECT_EQ(column(QStringLiteral(
                  "SELECT mslink FROM kdzialka WHERE dzialka_id IN (SELECT dzialka_id FROM kw_dlk WHERE status = 'p') "
                  "AND kdzialka.mslink NOT IN (3) ORDER BY mslink")),
              list({"1"}));
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT TOP 2 k.mslink FROM kdzialka k, (SELECT mslink FROM arkusz WHERE nazwa LIKE '%2') AS a "
                  "WHERE k.arkusz_id = a.mslink OR EXISTS (SELECT * FROM kw_dlk WHERE kw_dlk.dzialka_id = k.dzialka_id "
                  "AND kw_dlk.status = 'X') ORDER BY k.mslink DESC")),
              list({"2"}));

    // In the select list an unqualified name may be another item's alias (here also a column
    // of two joined tables): Jet reads it as that item's expression.
    const Rows aliased = run(QStringLiteral(
        "SELECT kdzialka.mslink, left(arkusz.nazwa, 3) AS nazwa, IIf(IsNull(nazwa), '-', nazwa & '!') AS Kom "
        "FROM (kdzialka LEFT JOIN arkusz ON kdzialka.arkusz_id = arkusz.mslink) LEFT JOIN slo_wydzkw "
        "ON kdzialka.mslink = slo_wydzkw.mslink WHERE kdzialka.mslink IN (1, 3) ORDER BY kdzialka.mslink"));
    const Rows expectedAliased = {{1LL, QStringLiteral("Ark"), QStringLiteral("Ark!")},
                                  {3LL, QVariant(), QStringLiteral("-")}};
    EXPECT_EQ(aliased, expectedAliased);

    // Aggregates: Min and Max in Jet text order, First and Last in row order.
    const Rows aggregates = run(QStringLiteral(
        "SELECT First(nazwisko), Last(nazwisko), Min(nazwisko), Max(nazwisko), Sum(id), Avg(id), Count(imie_id) "
        "FROM osoby WHERE id IN (1, 2, 3)"));
    const Rows expectedAggregates = {{QString::fromUtf8("Żak"), QString::fromUtf8("Łukasz"), QString::fromUtf8("Łukasz"),
                                      QString::fromUtf8("Żak"), 6LL, 2.0, 2LL}};
    EXPECT_EQ(aggregates, expectedAggregates);

    QStringList names;
    run(QStringLiteral("SELECT osoby.nazwisko, SI1.IMIE, SI2.IMIE, Count(*), osoby.id AS [Numer osoby], 'x' "
                       "FROM (osoby LEFT JOIN imiona AS SI1 ON osoby.imie_id = SI1.mslink) "
                       "LEFT JOIN imiona SI2 ON osoby.imie2_id = SI2.mslink GROUP BY osoby.nazwisko, SI1.IMIE, "
                       "SI2.IMIE, osoby.id"),
        {}, &names);
    EXPECT_EQ(names, list({"nazwisko", "SI1.IMIE", "SI2.IMIE", "Expr1000", "Numer osoby", "Expr1001"}));
}

TEST(DialectErrors, UnreadableTextShowsWhere)
{
    struct Case {
        const char *sql;
        const char *position;
        const char *what;
    };
    const Case cases[] = {
        {"SELECT a FROM", "wiersz 1, kolumna 14", "nazwy tabeli"},
        {"SELECT a,\nFROM t", "wiersz 2, kolumna 1", "oczekiwano wyrażenia"},
        {"SELECT (a FROM t", "wiersz 1, kolumna 11", "')'"},
        {"SELECT 'abc FROM t", "wiersz 1, kolumna 8", "niezakończony tekst"},
        {"SELECT a FROM t\n  WHERE a ! 1", "wiersz 2, kolumna 11", "niedozwolony znak '!'"},
        {"SELECT a FROM t WHERE a IN ()", "kolumna 29", "pusta lista"},
        {"SELECT a FROM t x y", "kolumna 19", "po końcu instrukcji"},
        {"SELECT a FROM t LEFT JOIN u", "kolumna 28", "oczekiwano ON"},
        {"SELECT a FROM t WHERE d > #2008-13-45#", "kolumna 27", "nieprawidłowa data"},
    };
    for (const Case &c : cases) {
        try {
            translateJetSql(QString::fromUtf8(c.sql));
            ADD_FAILURE() << "no error for: " << c.sql;
        } catch (const JetError &e) {
            const QString m = e.message();
            EXPECT_TRUE(m.startsWith(QStringLiteral("Błąd składni"))) << m.toStdString();
            EXPECT_TRUE(m.contains(QString::fromUtf8(c.position))) << m.toStdString();
            EXPECT_TRUE(m.contains(QString::fromUtf8(c.what))) << m.toStdString();
            EXPECT_TRUE(m.contains(QStringLiteral(" >> "))) << m.toStdString();
        }
    }

    const struct {
        const char *sql;
        const char *message;
    } semantic[] = {
        {"SELECT Foo(a) FROM t", "Niezdefiniowana funkcja 'Foo' w wyrażeniu."},
        {"SELECT Left$(a) FROM t", "Nieprawidłowa liczba argumentów funkcji 'Left$' w wyrażeniu."},
        {"SELECT a FROM t UNION SELECT b FROM u ORDER BY c", "Wyrażenie ORDER BY nie odpowiada"},
        {"SELECT a FROM t ORDER BY 2", "Numer kolumny 2 w ORDER BY"},
    };
    for (const auto &c : semantic) {
        try {
            translateJetSql(QString::fromUtf8(c.sql));
            ADD_FAILURE() << "no error for: " << c.sql;
        } catch (const JetError &e) {
            EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(c.message))) << e.message().toStdString();
        }
    }
}

} // namespace
