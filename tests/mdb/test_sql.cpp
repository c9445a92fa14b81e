// katarix-sql end to end: CSV quoting, parameters, errors and the regional decimal separator.
#include "support/MdbTestSupport.h"


#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

class KatarixSql : public ::testing::Test {
protected:
    void SetUp() override
    {
        mw::Table t;
        t.name = "OSOBY";
        t.columns = {column("ID", ColumnType::Long), column("NAZWISKO", ColumnType::Text, 50),
                     column("UWAGI", ColumnType::Memo), column("KWOTA", ColumnType::Double),
                     column("BRAK", ColumnType::Long)};
        using V = mw::Value;
        t.rows = {{V(std::int64_t(1)), V(std::string("Kowalski")), V(std::string("a,b")), V(1.5), V()},
                  {V(std::int64_t(2)), V(std::string("Nowak \"Junior\"")), V(std::string("line1\nline2")),
                   V(0.1 + 0.2), V()},
                  {V(std::int64_t(3)), V(std::string("Żółw")), V(std::string("cr\rx")), V(12.0), V(std::int64_t(5))},
                  {V(std::int64_t(4)), V(std::string("")), V(), V(-0.25), V(std::int64_t(0))}};
        mw::Content content;
        content.tables.push_back(t);
        m_file = m_scratch.write(content, QStringLiteral("osoby.mdb"));
        m_protected = m_scratch.write(content, QStringLiteral("chroniony.mdb"), "Sekret");
    }

    SqlRun run(const QStringList &args, const QString &locale = QStringLiteral("C"))
    {
        return runKatarixSql(m_scratch, args, locale);
    }

    MdbScratch m_scratch;
    QString m_file;
    QString m_protected;
};

} // namespace

TEST_F(KatarixSql, CsvQuotingAndNulls)
{
    const SqlRun r = run({m_file, QStringLiteral("SELECT ID, NAZWISKO, UWAGI, KWOTA, BRAK FROM OSOBY ORDER BY ID")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(),
              "ID,NAZWISKO,UWAGI,KWOTA,BRAK\n"
              "1,Kowalski,\"a,b\",1.5,\n"
              "2,\"Nowak \"\"Junior\"\"\",\"line1\nline2\",0.3,\n"
              "3,Żółw,\"cr\rx\",12,5\n"
              "4,,,-0.25,0\n");
}

TEST_F(KatarixSql, DecimalSeparatorFromEnvironment)
{
    // Qt reads the locale name from LC_ALL, whether or not the system has generated it.
    const QString sql = QStringLiteral("SELECT KWOTA FROM OSOBY WHERE ID IN (1, 3) ORDER BY ID");
    const SqlRun polish = run({m_file, sql}, QStringLiteral("pl_PL.UTF-8"));
    ASSERT_EQ(polish.exitCode, 0) << polish.err.toStdString();
    EXPECT_EQ(polish.out.toStdString(), "KWOTA\n\"1,5\"\n12\n");
    const SqlRun plain = run({m_file, sql}, QStringLiteral("C"));
    EXPECT_EQ(plain.out.toStdString(), "KWOTA\n1.5\n12\n");
}

TEST_F(KatarixSql, Parameters)
{
    struct Case {
        QStringList params;
        const char *sql;
        const char *locale;
        const char *expected;
    };
    const Case cases[] = {
        {{QStringLiteral("Nr=2")}, "SELECT ID FROM OSOBY WHERE ID = :Nr", "C", "ID\n2\n"},
        {{QStringLiteral("N=Żółw")}, "SELECT ID FROM OSOBY WHERE NAZWISKO = :N", "C", "ID\n3\n"},
        {{QStringLiteral("K=1.5")}, "SELECT ID FROM OSOBY WHERE KWOTA = :K", "C", "ID\n1\n"},
        {{QStringLiteral("K=1,5")}, "SELECT ID FROM OSOBY WHERE KWOTA = :K", "pl_PL.UTF-8", "ID\n1\n"},
        {{QStringLiteral("Od=2"), QStringLiteral("Do=3")}, "SELECT ID FROM OSOBY WHERE ID BETWEEN :Od AND :Do ORDER BY ID",
         "C", "ID\n2\n3\n"},
        // A value that does not read as a number stays text: '12a' matches no number.
        {{QStringLiteral("N=12a")}, "SELECT ID FROM OSOBY WHERE NAZWISKO = :N", "C", "ID\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql);
        QStringList args;
        for (const QString &p : c.params)
            args << QStringLiteral("--param") << p;
        args << m_file << QString::fromUtf8(c.sql);
        const SqlRun r = run(args, QString::fromUtf8(c.locale));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), c.expected);
    }
}

TEST_F(KatarixSql, ErrorsGoToStderrWithNonZeroExit)
{
    struct Case {
        QStringList args;
        const char *message;
    };
    const Case cases[] = {
        {{m_file, QStringLiteral("SELECT FROM WHERE")}, ""},
        {{m_file, QStringLiteral("SELECT * FROM NIEMA")}, ""},
        {{m_scratch.path(QStringLiteral("brak.mdb")), QStringLiteral("SELECT 1")}, "Plik bazy danych nie istnieje"},
        {{m_protected, QStringLiteral("SELECT ID FROM OSOBY")}, "Nieprawidłowe hasło."},
        {{QStringLiteral("--password"), QStringLiteral("zle"), m_protected, QStringLiteral("SELECT ID FROM OSOBY")},
         "Nieprawidłowe hasło."},
        {{m_file}, "Użycie"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const SqlRun r = run(c.args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    const SqlRun ok = run({QStringLiteral("--password"), QStringLiteral("Sekret"), m_protected,
                        QStringLiteral("SELECT COUNT(*) AS N FROM OSOBY")});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out.toStdString(), "N\n4\n");
}
