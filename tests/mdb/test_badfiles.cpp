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
