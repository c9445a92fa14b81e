// Where the program finds its folders: a tree (the build tree or a copy) and an installation,
// the configuration file each uses, the folder of the register dialog, the loader helper, and
// the register given on the command line.
#include "app/KatalogiProgramu.h"
#include "app/WierszPolecen.h"
#include "jet/RegisterLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace katarix::app;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class KatalogiProgramuTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return root.filePath(name); }
    KatalogiUzytkownika uzytkownik() const
    {
        return {path(QStringLiteral("home/.config")), path(QStringLiteral("home/Documents"))};
    }

    QTemporaryDir root;
};

} // namespace

TEST_F(KatalogiProgramuTest, ATreeKeepsEverythingBesideItsProgramFolder)
{
    const QString program = path(QStringLiteral("Katarix/Program"));
    QDir().mkpath(program);
    const KatalogiProgramu katalogi = przygotujKatalogi(program, uzytkownik());
    EXPECT_FALSE(katalogi.instalacja);
    EXPECT_EQ(katalogi.katalogGlowny, path(QStringLiteral("Katarix/")));
    EXPECT_EQ(katalogi.plikIni, path(QStringLiteral("Katarix/Program/Katarix.ini")));
    EXPECT_EQ(katalogi.szablony, path(QStringLiteral("Katarix/Szablony")));
    EXPECT_EQ(katalogi.wyniki, path(QStringLiteral("Katarix/Tmp")));
    EXPECT_EQ(katalogi.bazy, path(QStringLiteral("Katarix/Bazy")));
    // The register dialog keeps to "Bazy" whatever is remembered.
    writeFile(path(QStringLiteral("dane/gmina.mdb")), "x");
    EXPECT_EQ(katalogi.folderWyboruBazy(path(QStringLiteral("dane/gmina.mdb"))), katalogi.bazy);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("home")))) << "nothing is made in the user's folders";
}

TEST_F(KatalogiProgramuTest, ATreeThatCannotBeWrittenUsesTheUsersFile)
{
    // A program folder that does not exist cannot be written, even by root.
    const QString program = path(QStringLiteral("gone/Program"));
    const KatalogiProgramu katalogi = przygotujKatalogi(program, uzytkownik());
    EXPECT_FALSE(katalogi.instalacja);
    EXPECT_EQ(katalogi.plikIni, path(QStringLiteral("home/.config/Katarix/Katarix.ini")));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("home/.config/Katarix"))).isDir()) << "created for the first write";
    EXPECT_EQ(katalogi.szablony, path(QStringLiteral("gone/Szablony")));
}

TEST_F(KatalogiProgramuTest, AnInstallationUsesItsDataFolderAndTheUsersFiles)
{
    const QString program = path(QStringLiteral("usr/bin"));
    const QString dane = path(QStringLiteral("usr/share/katarix"));
    QDir().mkpath(program);
    writeFile(dane + QStringLiteral("/Katarix.ini"), "; domyślne\n[Baza]\nPath=\n");
    QDir().mkpath(dane + QStringLiteral("/Bazy"));

    const KatalogiProgramu katalogi = przygotujKatalogi(program, uzytkownik());
    EXPECT_TRUE(katalogi.instalacja);
    EXPECT_EQ(katalogi.katalogGlowny, dane + QLatin1Char('/'));
    EXPECT_EQ(katalogi.szablony, dane + QStringLiteral("/Szablony"));
    EXPECT_EQ(katalogi.bazy, dane + QStringLiteral("/Bazy"));
    EXPECT_EQ(katalogi.wyniki, path(QStringLiteral("home/Documents/Katarix")));
    EXPECT_EQ(katalogi.plikIni, path(QStringLiteral("home/.config/Katarix/Katarix.ini")));
    EXPECT_EQ(readFile(katalogi.plikIni), QByteArray("; domyślne\n[Baza]\nPath=\n")) << "seeded from the installed file";
    EXPECT_TRUE(QFileInfo(katalogi.plikIni).isWritable());
    EXPECT_FALSE(QFileInfo::exists(program + QStringLiteral("/Katarix.ini")));
    EXPECT_EQ(QFile::permissions(katalogi.wyniki) & QFile::Permissions(0x7077),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) << "documents are the user's alone";

    // Later starts keep the user's own file and leave an existing documents folder as it is.
    writeFile(katalogi.plikIni, "[Baza]\nPath=/dane/gmina.mdb\n");
    QFile::setPermissions(katalogi.wyniki, QFile::permissions(katalogi.wyniki) | QFile::ReadGroup | QFile::ExeGroup);
    const KatalogiProgramu nastepne = przygotujKatalogi(program, uzytkownik());
    EXPECT_EQ(readFile(nastepne.plikIni), QByteArray("[Baza]\nPath=/dane/gmina.mdb\n"));
    EXPECT_TRUE(QFile::permissions(nastepne.wyniki).testFlag(QFile::ReadGroup));

    // The register dialog starts in the remembered register's folder while it exists.
    writeFile(path(QStringLiteral("dane/gmina.mdb")), "x");
    const struct {
        const char *name;
        QString remembered;
        QString folder;
    } cases[] = {
        {"remembered register", path(QStringLiteral("dane/gmina.mdb")), path(QStringLiteral("dane"))},
        {"remembered file gone, its folder kept", path(QStringLiteral("dane/stara.mdb")), path(QStringLiteral("dane"))},
        {"remembered folder gone", path(QStringLiteral("gone/gmina.mdb")), katalogi.bazy},
        {"nothing remembered", QString(), katalogi.bazy},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(katalogi.folderWyboruBazy(c.remembered), c.folder);
    }
}

TEST_F(KatalogiProgramuTest, TheLoaderIsBesideTheProgramOrInLibexec)
{
    writeFile(path(QStringLiteral("tree/Program/katarix-loader")), "");
    writeFile(path(QStringLiteral("usr/libexec/katarix/katarix-loader")), "");
    QDir().mkpath(path(QStringLiteral("usr/bin")));
    QDir().mkpath(path(QStringLiteral("empty/Program")));
    const struct {
        const char *name;
        QString program;
        QString loader;
    } cases[] = {
        {"a tree", path(QStringLiteral("tree/Program")), path(QStringLiteral("tree/Program/katarix-loader"))},
        {"an installation", path(QStringLiteral("usr/bin")), path(QStringLiteral("usr/libexec/katarix/katarix-loader"))},
        {"none: named beside the program", path(QStringLiteral("empty/Program")),
         path(QStringLiteral("empty/Program/katarix-loader"))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(katarix::jet::loaderForProgram(c.program), c.loader);
    }
}

TEST(WierszPolecen, TheFirstArgumentIsTheRegisterMadeAbsolute)
{
    const QString here = QDir::currentPath();
    const struct {
        const char *name;
        QStringList arguments;
        QString expected;
    } cases[] = {
        {"no arguments at all", {}, QString()},
        {"the program alone", {QStringLiteral("katarix")}, QString()},
        {"an absolute path", {QStringLiteral("katarix"), QStringLiteral("/dane/gmina.mdb")}, QStringLiteral("/dane/gmina.mdb")},
        {"a relative path", {QStringLiteral("katarix"), QStringLiteral("Bazy/gmina.mdb")}, here + QStringLiteral("/Bazy/gmina.mdb")},
        {"spaces and Polish letters", {QStringLiteral("katarix"), QStringLiteral("/dane/Gmina Łąka.mdb")},
         QStringLiteral("/dane/Gmina Łąka.mdb")},
        {"further arguments ignored", {QStringLiteral("katarix"), QStringLiteral("/a.mdb"), QStringLiteral("/b.mdb")},
         QStringLiteral("/a.mdb")},
        {"an empty argument is none", {QStringLiteral("katarix"), QString()}, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rejestrZWierszaPolecen(c.arguments), c.expected);
    }
}
