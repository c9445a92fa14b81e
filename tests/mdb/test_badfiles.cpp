// Files that are not loadable registers end in a clear Polish JetError, never a crash or hang.
#include "support/MdbTestSupport.h"

#include "jet/Database.h"
#include "jet/JetError.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

constexpr int kPage = 4096;

mw::Content sampleRegister()
{
    mw::Content content;
    for (const char *name : {"KDZIALKA", "OSFIZ"}) {
        mw::Table t;
        t.name = name;
        t.columns = {column("MSLINK", ColumnType::Long), column("NAZWA", ColumnType::Text, 80),
                     column("UWAGI", ColumnType::Memo), column("AREA", ColumnType::Double)};
        for (int i = 0; i < 4000; ++i)
            t.rows.push_back({mw::Value(std::int64_t(i)), mw::Value(std::string("Nazwa ąę ") + std::to_string(i)),
                              mw::Value(std::string(i % 50 == 0 ? 5000 : 10, 'u')), mw::Value(i * 0.25)});
        content.tables.push_back(t);
    }
    return content;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

// Overwrites, after the 8-byte page header, every page of the given type (0x01 data, 0x02
// table definition) whose owner matches; page 2 is the catalogue's definition.
void corruptPages(const QString &path, const std::function<bool(int page, const char *bytes)> &select)
{
    QByteArray bytes = fileBytes(path);
    for (int page = 1; page * kPage < bytes.size(); ++page) {
        char *p = bytes.data() + page * kPage;
        if (select(page, p))
            std::memcpy(p + 8, randomBytes(kPage - 8, quint32(page)).constData(), kPage - 8);
    }
    writeBytes(path, bytes);
}

struct BadFile {
    const char *name;
    std::function<QString(const MdbScratch &)> make;
    const char *message; // expected part of the message
};

} // namespace

TEST(MdbBadFiles, EachEndsInPolishError)
{
    const std::vector<BadFile> cases = {
        {"missing path", [](const MdbScratch &s) { return s.path(QStringLiteral("brak.mdb")); },
         "Plik bazy danych nie istnieje"},
        {"directory",
         [](const MdbScratch &s) {
             QDir().mkpath(s.path(QStringLiteral("folder.mdb")));
             return s.path(QStringLiteral("folder.mdb"));
         },
         "jest folderem"},
        {"zero bytes",
         [](const MdbScratch &s) {
             writeBytes(s.path(QStringLiteral("pusty.mdb")), {});
             return s.path(QStringLiteral("pusty.mdb"));
         },
         "Plik bazy danych jest pusty"},
        {"text file",
         [](const MdbScratch &s) {
             writeBytes(s.path(QStringLiteral("tekst.mdb")), QByteArray("To nie jest baza danych.\n").repeated(500));
             return s.path(QStringLiteral("tekst.mdb"));
         },
         "nie jest bazą danych programu Access"},
        {"random bytes",
         [](const MdbScratch &s) {
             writeBytes(s.path(QStringLiteral("losowy.mdb")), randomBytes(64 * kPage, 7));
             return s.path(QStringLiteral("losowy.mdb"));
         },
         "nie jest bazą danych programu Access"},
        {"truncated inside a page",
         [](const MdbScratch &s) {
             const QString f = s.write(sampleRegister(), QStringLiteral("obciety.mdb"));
             writeBytes(f, fileBytes(f).left(fileBytes(f).size() / 2 + 123));
             return f;
         },
         "jest uszkodzony lub niekompletny"},
        {"truncated at a page boundary",
         [](const MdbScratch &s) {
             const QString f = s.write(sampleRegister(), QStringLiteral("obciety2.mdb"));
             const QByteArray bytes = fileBytes(f);
             writeBytes(f, bytes.left((bytes.size() / kPage / 2) * kPage));
             return f;
         },
         "jest uszkodzony"},
        {"header followed by random pages",
         [](const MdbScratch &s) {
             const QString f = s.write(sampleRegister(), QStringLiteral("smieci.mdb"));
             const QByteArray bytes = fileBytes(f);
             writeBytes(f, bytes.left(kPage) + randomBytes(bytes.size() - kPage, 11));
             return f;
         },
         "jest uszkodzony"},
        {"corrupted catalogue",
         [](const MdbScratch &s) {
             const QString f = s.write(sampleRegister(), QStringLiteral("katalog.mdb"));
             corruptPages(f, [](int page, const char *) { return page == 2; });
             return f;
         },
         "jest uszkodzony"},
        {"corrupted table definitions",
         [](const MdbScratch &s) {
             const QString f = s.write(sampleRegister(), QStringLiteral("definicje.mdb"));
             corruptPages(f, [](int page, const char *p) { return page > 2 && p[0] == 0x02; });
             return f;
         },
         "jest uszkodzony"},
        {"corrupted data pages",
         [](const MdbScratch &s) {
             const QString f = s.write(sampleRegister(), QStringLiteral("dane.mdb"));
             int seen = 0;
             corruptPages(f, [&seen](int, const char *p) { return p[0] == 0x01 && (++seen % 7) == 3; });
             return f;
         },
         "jest uszkodzony"},
        {"Decimal scale above its precision",
         [](const MdbScratch &s) {
             mw::Table t;
             t.name = "POWIERZCHNIE";
             mw::Column area = column("AREA", ColumnType::Decimal);
             area.precision = 27;
             area.scale = 13;
             t.columns = {column("MSLINK", ColumnType::Long), area};
             t.rows = {{mw::Value(std::int64_t(1)), mw::Value(std::string("12.5"))}};
             const QString f = s.write(mw::Content{{t}}, QStringLiteral("skala.mdb"));
             // The column descriptor: type 0x10, precision and scale at 11 and 12, length 17 at 23.
             QByteArray bytes = fileBytes(f);
             for (qsizetype i = kPage; i + 25 < bytes.size(); ++i) {
                 if (bytes[i] == 0x10 && bytes[i + 11] == 27 && bytes[i + 12] == 13 && bytes[i + 23] == 17) {
                     bytes[i + 12] = 28;
                     break;
                 }
             }
             writeBytes(f, bytes);
             return f;
         },
         "tabela POWIERZCHNIE, kolumna AREA: precyzja 27, skala 28"},
    };
    for (const BadFile &c : cases) {
        SCOPED_TRACE(c.name);
        MdbScratch scratch;
        const QString path = c.make(scratch);
        jet::Database db;
        try {
            jet::openRegister(db, path, scratch.options());
            ADD_FAILURE() << "opened";
        } catch (const jet::JetError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.message))) << error.message().toStdString();
        }
        EXPECT_FALSE(db.isOpen());
        // Nothing half-written is left behind.
        const QStringList left = QDir(scratch.cacheDir()).entryList(QDir::Files);
        EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(MdbBadFiles, UnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    MdbScratch scratch;
    const QString file = scratch.write(sampleRegister(), QStringLiteral("zamkniety.mdb"));
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    jet::Database db;
    try {
        jet::openRegister(db, file, scratch.options());
        ADD_FAILURE() << "opened";
    } catch (const jet::JetError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Brak dostępu do pliku bazy danych")))
            << error.message().toStdString();
    }
}

// A helper that crashes, stalls or stops without finishing becomes a JetError of the caller.
TEST(MdbBadFiles, HelperFailuresBecomeErrors)
{
    struct Case {
        const char *name;
        const char *script;
        const char *message;
    };
    const Case cases[] = {
        {"crash", "#!/bin/sh\necho 'PROGRESS 10'\nkill -SEGV $$\n", "wczytywanie zostało przerwane"},
        {"stall", "#!/bin/sh\necho 'PROGRESS 10'\nexec sleep 30\n", "w wyznaczonym czasie"},
        {"silent exit", "#!/bin/sh\necho 'PROGRESS 50'\nexit 0\n", "wczytywanie zostało przerwane"},
        {"reported error", "#!/bin/sh\necho 'ERROR Plik bazy danych jest uszkodzony (test).'\nexit 2\n",
         "Plik bazy danych jest uszkodzony (test)."},
    };
    MdbScratch scratch;
    const QString file = scratch.write(sampleRegister(), QStringLiteral("rejestr.mdb"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString script = scratch.path(QString::fromUtf8(c.name).replace(QLatin1Char(' '), QLatin1Char('_')) + ".sh");
        writeBytes(script, c.script);
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        jet::OpenOptions options = scratch.options();
        options.loaderPath = script;
        options.stallTimeoutMs = 500;
        jet::Database db;
        try {
            jet::openRegister(db, file, options);
            ADD_FAILURE() << "opened";
        } catch (const jet::JetError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.message))) << error.message().toStdString();
        }
        EXPECT_FALSE(db.isOpen());
    }
}

namespace {

// A table whose rows fit one data page.
mw::Table smallTable(const std::string &name, int rows)
{
    mw::Table t;
    t.name = name;
    t.columns = {column("MSLINK", ColumnType::Long), column("AAAA", ColumnType::Text, 20),
                 column("BBBB", ColumnType::Text, 20)};
    for (int i = 0; i < rows; ++i)
        t.rows.push_back({mw::Value(std::int64_t(i)), mw::Value(std::string("a")), mw::Value(std::string("b"))});
    return t;
}

quint32 read32(const char *p)
{
    quint32 value;
    std::memcpy(&value, p, 4);
    return value;
}

void write32(char *p, quint32 value)
{
    std::memcpy(p, &value, 4);
}

// The pages of a written Jet 4 file, to damage its only user table in place.
struct Jet4Pages {
    QByteArray bytes;

    int count() const { return int(bytes.size() / kPage); }
    char *page(int n) { return bytes.data() + qsizetype(n) * kPage; }
    // The definition page of the user table (type 0x4E at 40).
    int userDefinition()
    {
        for (int p = 3; p < count(); ++p)
            if (page(p)[0] == 0x02 && page(p)[40] == 0x4E)
                return p;
        return -1;
    }
    std::vector<int> dataPagesOf(int definition)
    {
        std::vector<int> pages;
        for (int p = 3; p < count(); ++p)
            if (page(p)[0] == 0x01 && read32(page(p) + 4) == quint32(definition))
                pages.push_back(p);
        return pages;
    }
    // The usage-map row of the table: its bytes on the map page.
    char *usageMap(int definition)
    {
        const quint32 reference = read32(page(definition) + 55);
        char *mapPage = page(int(reference >> 8));
        const int row = int(reference & 0xff);
        return mapPage + (quint16(mapPage[14 + row * 2] & 0xff) | (quint16(mapPage[15 + row * 2] & 0x1f) << 8));
    }
    // Turns the inline usage map into one that names a map page (appended) holding the table's
    // pages, followed by a reference to a page beyond the file: libmdb cannot read it and reads
    // on page by page from the last page it gave, which gives that page a second time.
    void mapLastPageTwice(int definition)
    {
        const std::vector<int> pages = dataPagesOf(definition);
        QByteArray mapPage(kPage, '\0');
        mapPage[0] = 0x05;
        mapPage[1] = 0x01;
        for (int p : pages)
            mapPage[4 + p / 8] = char(mapPage[4 + p / 8] | (1 << (p % 8)));
        const int appended = count();
        bytes += mapPage;
        char *map = usageMap(definition);
        std::memset(map, 0, 69);
        map[0] = 0x01;
        write32(map + 1, quint32(appended));
        write32(map + 5, 0x00ffffffu);
    }
};

} // namespace

// The rows read must be the rows the table definition counts: a usage map that gives a page
// twice, or more rows than a non-zero count, is a damaged file as much as fewer rows; a count of
// zero (left by an improperly closed file) takes every row once.
TEST(MdbBadFiles, RowsReadMustBeTheRowsCounted)
{
    struct Case {
        const char *name;
        std::function<void(Jet4Pages &, int definition)> damage;
        const char *message; // empty: opens with all 14 rows
    };
    const Case cases[] = {
        {"usage map gives the page twice", [](Jet4Pages &f, int d) { f.mapLastPageTwice(d); },
         "Plik bazy danych jest uszkodzony (tabela DZIALKI: odczytano 28 z 14 wierszy): "},
        {"usage map gives the page twice, count zero",
         [](Jet4Pages &f, int d) {
             f.mapLastPageTwice(d);
             write32(f.page(d) + 16, 0);
         },
         "Plik bazy danych jest uszkodzony (tabela DZIALKI: odczytano 28 z 14 wierszy): "},
        {"count below the rows", [](Jet4Pages &f, int d) { write32(f.page(d) + 16, 7); },
         "Plik bazy danych jest uszkodzony (tabela DZIALKI: odczytano 14 z 7 wierszy): "},
        {"count above the rows", [](Jet4Pages &f, int d) { write32(f.page(d) + 16, 20); },
         "Plik bazy danych jest uszkodzony (tabela DZIALKI: odczytano 14 z 20 wierszy): "},
        {"count zero", [](Jet4Pages &f, int d) { write32(f.page(d) + 16, 0); }, ""},
        {"nothing damaged", [](Jet4Pages &, int) {}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MdbScratch scratch;
        const QString file = scratch.write(mw::Content{{smallTable("DZIALKI", 14)}}, QStringLiteral("dzialki.mdb"));
        Jet4Pages pages{fileBytes(file)};
        const int definition = pages.userDefinition();
        ASSERT_GT(definition, 0);
        ASSERT_EQ(pages.dataPagesOf(definition).size(), 1u);
        c.damage(pages, definition);
        writeBytes(file, pages.bytes);

        const SqlRun run = runKatarixSql(scratch, {file, QStringLiteral("SELECT count(*) FROM DZIALKI")});
        if (*c.message) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err.trimmed(), QString::fromUtf8(c.message) + file);
        } else {
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            EXPECT_EQ(run.out, QStringLiteral("Expr1000\n14\n"));
        }
    }
}

// Column names a damaged definition gives (repeated, or with control characters) make a damaged
// file, not an error of SQLite.
TEST(MdbBadFiles, DamagedColumnNames)
{
    struct Case {
        const char *name;
        char replacement; // for each letter of the column name BBBB
        const char *message;
    };
    const Case cases[] = {
        {"repeated name", 'A', "Plik bazy danych jest uszkodzony (tabela DZIALKI: nazwa kolumny 'AAAA'): "},
        {"control character", '\x01', "Plik bazy danych jest uszkodzony (tabela DZIALKI: nazwa kolumny '\x01\x01\x01\x01'): "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MdbScratch scratch;
        const QString file = scratch.write(mw::Content{{smallTable("DZIALKI", 3)}}, QStringLiteral("dzialki.mdb"));
        QByteArray bytes = fileBytes(file);
        const QByteArray name("B\0B\0B\0B\0", 8);
        const qsizetype at = bytes.indexOf(name);
        ASSERT_GT(at, 0);
        for (int i = 0; i < 4; ++i)
            bytes[at + 2 * i] = c.replacement;
        writeBytes(file, bytes);
        jet::Database db;
        try {
            jet::openRegister(db, file, scratch.options());
            ADD_FAILURE() << "opened";
        } catch (const jet::JetError &error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message) + file);
        }
    }
}

namespace {

// A register whose load takes long enough to be interrupted.
QString largeRegister(const MdbScratch &scratch)
{
    mw::Table t;
    t.name = "KOMENTARZ";
    t.columns = {column("MSLINK", ColumnType::Long), column("TEKST", ColumnType::Memo)};
    for (int i = 0; i < 60000; ++i)
        t.rows.push_back({mw::Value(std::int64_t(i)), mw::Value(std::string(300, char('a' + i % 26)))});
    return scratch.write(mw::Content{{t}}, QStringLiteral("duzy.mdb"));
}

QString script(const MdbScratch &scratch, const QString &name, const QString &body)
{
    const QString path = scratch.path(name);
    writeBytes(path, ("#!/bin/sh\n" + body + "\n").toUtf8());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

// A loader ended from outside, or one that finds no room for the copy, says so, and not that the
// file is damaged; nothing is left in the cache.
TEST(MdbBadFiles, LoaderFailuresNameTheirCause)
{
    MdbScratch scratch;
    const QString file = largeRegister(scratch);
    const QString loader = QStringLiteral(KATARIX_LOADER);
    struct Case {
        const char *name;
        QString body;
        QString message;
    };
    // Each one waits until the loader has opened the copy (its first step), then ends it.
    const QString whenWriting =
        QStringLiteral("(while ! ls -l /proc/$$/fd 2>/dev/null | grep -qF -- \"$2\"; do sleep 0.01; done; %1) & "
                       "exec '%2' \"$@\"");
    const Case cases[] = {
        {"SIGTERM", whenWriting.arg(QStringLiteral("kill -TERM $$"), loader),
         QStringLiteral("Wczytywanie bazy danych zostało przerwane: ") + file},
        {"SIGKILL", whenWriting.arg(QStringLiteral("kill -KILL $$"), loader),
         QStringLiteral("Wczytywanie bazy danych zostało przerwane: ") + file},
        {"full disk", QStringLiteral("rm -f \"$2\"; ln -s /dev/full \"$2\"; exec '%1' \"$@\"").arg(loader),
         QStringLiteral("Brak miejsca na dysku: ") + scratch.cacheDir()},
        // 80 MB of address space: the program starts, the copy's pages do not fit.
        {"out of memory", QStringLiteral("ulimit -v 80000; exec '%1' \"$@\"").arg(loader),
         QStringLiteral("Brak pamięci: ta operacja wymaga więcej pamięci, niż jest dostępne w komputerze.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        jet::OpenOptions options = scratch.options();
        options.loaderPath = script(scratch, QString::fromUtf8(c.name).replace(u' ', u'_') + ".sh", c.body);
        jet::Database db;
        try {
            jet::openRegister(db, file, options);
            ADD_FAILURE() << "opened";
        } catch (const jet::JetError &error) {
            EXPECT_EQ(error.message(), c.message);
        }
        EXPECT_FALSE(db.isOpen());
        EXPECT_EQ(QDir(scratch.cacheDir()).entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList());
    }
}
