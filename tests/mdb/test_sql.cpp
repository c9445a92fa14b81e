// katarix-sql end to end: CSV quoting, parameters, errors, the regional decimal separator and the
// ways of giving a password.
#include "support/MdbTestSupport.h"

#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

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
                     column("BRAK", ColumnType::Long), column("PESEL", ColumnType::Text, 11)};
        using V = mw::Value;
        t.rows = {{V(std::int64_t(1)), V(std::string("Kowalski")), V(std::string("a,b")), V(1.5), V(),
                   V(std::string("01242122062"))},
                  {V(std::int64_t(2)), V(std::string("Nowak \"Junior\"")), V(std::string("line1\nline2")),
                   V(0.1 + 0.2), V(), V(std::string("1242122062"))},
                  {V(std::int64_t(3)), V(std::string("Żółw")), V(std::string("cr\rx")), V(12.0), V(std::int64_t(5)),
                   V(std::string("85010112345"))},
                  {V(std::int64_t(4)), V(std::string("")), V(), V(-0.25), V(std::int64_t(0)), V()}};
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
        QStringList options;
        const char *sql;
        const char *locale;
        const char *expected;
    };
    const Case cases[] = {
        {{QStringLiteral("--param"), QStringLiteral("Nr=2")}, "SELECT ID FROM OSOBY WHERE ID = :Nr", "C", "ID\n2\n"},
        {{QStringLiteral("--param"), QStringLiteral("N=Żółw")}, "SELECT ID FROM OSOBY WHERE NAZWISKO = :N", "C", "ID\n3\n"},
        {{QStringLiteral("--param"), QStringLiteral("K=1.5")}, "SELECT ID FROM OSOBY WHERE KWOTA = :K", "C", "ID\n1\n"},
        {{QStringLiteral("--param"), QStringLiteral("K=1,5")}, "SELECT ID FROM OSOBY WHERE KWOTA = :K", "pl_PL.UTF-8",
         "ID\n1\n"},
        {{QStringLiteral("--param"), QStringLiteral("Od=2"), QStringLiteral("--param=Do=3")},
         "SELECT ID FROM OSOBY WHERE ID BETWEEN :Od AND :Do ORDER BY ID", "C", "ID\n2\n3\n"},
        // A value that does not read as a number stays text: '12a' matches no number.
        {{QStringLiteral("--param"), QStringLiteral("N=12a")}, "SELECT ID FROM OSOBY WHERE NAZWISKO = :N", "C", "ID\n"},
        // A PESEL with a leading 0 read as a number loses the 0 and names another person.
        {{QStringLiteral("--param"), QStringLiteral("P=01242122062")}, "SELECT ID FROM OSOBY WHERE PESEL = :P", "C",
         "ID\n2\n"},
        {{QStringLiteral("--param-text"), QStringLiteral("P=01242122062")}, "SELECT ID FROM OSOBY WHERE PESEL = :P", "C",
         "ID\n1\n"},
        {{QStringLiteral("--param-text=:P=1242122062")}, "SELECT ID FROM OSOBY WHERE PESEL = :P", "C", "ID\n2\n"},
        {{QStringLiteral("--param-text"), QStringLiteral("K=1.5")}, "SELECT Len(:K) AS L, :K & 'x' AS T FROM OSOBY WHERE ID = 1",
         "pl_PL.UTF-8", "L,T\n3,1.5x\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
        const SqlRun r = run(c.options + QStringList{m_file, QString::fromUtf8(c.sql)}, QString::fromUtf8(c.locale));
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

TEST_F(KatarixSql, PasswordFromStandardInput)
{
    const QString sql = QStringLiteral("SELECT COUNT(*) AS N FROM OSOBY");
    struct Case {
        const char *name;
        QStringList options;
        QByteArray input;
        int exitCode;
        const char *out;
        const char *err;
    };
    const Case cases[] = {
        {"first line", {QStringLiteral("--password-stdin")}, "Sekret\nreszta\n", 0, "N\n4\n", ""},
        {"CR LF line end", {QStringLiteral("--password-stdin")}, "Sekret\r\n", 0, "N\n4\n", ""},
        {"no line end", {QStringLiteral("--password-stdin")}, "Sekret", 0, "N\n4\n", ""},
        {"wrong password", {QStringLiteral("--password-stdin")}, "sekret\n", 1, "", "Nieprawidłowe hasło."},
        {"empty input", {QStringLiteral("--password-stdin")}, "", 1, "", "Nieprawidłowe hasło."},
        // Not a terminal and no password option: nothing is asked, the file is refused.
        {"no option, input not read", {}, "Sekret\n", 1, "", "Nieprawidłowe hasło."},
        {"two ways at once", {QStringLiteral("--password-stdin"), QStringLiteral("--password"), QStringLiteral("Sekret")},
         "Sekret\n", 2, "", "Użycie"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const SqlRun r = runKatarixSql(m_scratch, c.options + QStringList{m_protected, sql}, QStringLiteral("C"), c.input);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), c.out);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
    }
}

namespace {

// katarix-sql on a pseudo-terminal: what the terminal shows when `typed` is typed at the first
// "Hasło: " (nothing is typed when no prompt comes), the exit code, and whether the terminal
// echoes again afterwards.
struct TerminalRun {
    QByteArray screen;
    int exitCode = -1;
    bool echoAfter = false;
};

TerminalRun runOnTerminal(const MdbScratch &scratch, const QStringList &args, const QByteArray &typed)
{
    TerminalRun run;
    QList<QByteArray> argv8{QByteArrayLiteral(KATARIX_SQL)};
    for (const QString &arg : args)
        argv8 << arg.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &arg : argv8)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), scratch.path(QStringLiteral("xdg")));
    QList<QByteArray> env8;
    for (const QString &entry : env.toStringList())
        env8 << entry.toLocal8Bit();
    std::vector<char *> envp;
    for (QByteArray &entry : env8)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child < 0)
        return run;
    if (child == 0) {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    bool typedYet = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        pollfd fd{master, POLLIN, 0};
        if (std::chrono::steady_clock::now() > deadline || ::poll(&fd, 1, 1000) < 0)
            break;
        if (!(fd.revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[512];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break; // EIO once the program has ended
        run.screen.append(buffer, n);
        if (!typedYet && run.screen.contains("Hasło: ")) {
            typedYet = true;
            if (::write(master, typed.constData(), size_t(typed.size())) != typed.size())
                break;
        }
    }
    termios settings{};
    run.echoAfter = ::tcgetattr(master, &settings) == 0 && (settings.c_lflag & ECHO);
    int status = 0;
    // A program still waiting 10 s after its terminal went quiet is ended: the test fails
    // instead of hanging.
    pid_t ended = 0;
    for (int i = 0; i < 100 && (ended = ::waitpid(child, &status, WNOHANG)) == 0; ++i)
        ::usleep(100000);
    if (ended != child) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        status = -1;
    }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    ::close(master);
    return run;
}

} // namespace

TEST_F(KatarixSql, ProtectedFileOnATerminalAsksForThePasswordWithoutEcho)
{
    const QString sql = QStringLiteral("SELECT COUNT(*) AS N FROM OSOBY");
    struct Case {
        const char *name;
        QStringList args;
        QByteArray typed;
        int exitCode;
        bool asked;
        const char *shown;
    };
    const Case cases[] = {
        {"right password", {m_protected, sql}, "Sekret\n", 0, true, "N\r\n4\r\n"},
        {"wrong password", {m_protected, sql}, "Zgadnij\n", 1, true, "Nieprawidłowe hasło."},
        {"password option given", {QStringLiteral("--password"), QStringLiteral("Sekret"), m_protected, sql}, "", 0,
         false, "N\r\n4\r\n"},
        {"file without a password", {m_file, sql}, "", 0, false, "N\r\n4\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TerminalRun r = runOnTerminal(m_scratch, c.args, c.typed);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.screen.toStdString();
        EXPECT_EQ(r.screen.contains("Hasło: "), c.asked) << r.screen.toStdString();
        EXPECT_TRUE(r.screen.contains(c.shown)) << r.screen.toStdString();
        if (!c.typed.isEmpty()) {
            EXPECT_FALSE(r.screen.contains(c.typed.trimmed())) << "the password was echoed: " << r.screen.toStdString();
        }
        EXPECT_TRUE(r.echoAfter) << "the terminal was left without echo";
    }
}

TEST_F(KatarixSql, HelpNamesEveryOptionAsTheManualPageDoes)
{
    const SqlRun help = run({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0) << help.err.toStdString();
    QFile manual(QStringLiteral(KATARIX_SOURCE_DIR "/docs/man/katarix-sql.1.md"));
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(manual.readAll());
    for (const char *option : {"--password", "--password-stdin", "--param", "--param-text", "--help", "Hasło: "}) {
        SCOPED_TRACE(option);
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(option))) << help.out.toStdString();
        EXPECT_TRUE(page.contains(QString::fromUtf8(option)));
    }
}
