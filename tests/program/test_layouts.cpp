// The program where it lies on disk: a copied tree and an installation made by `cmake --install`,
// each started through the real start-up (the probe copied in as the program) with a register
// path on its command line, as a user with an empty home folder.
#include "registergen/RegisterBuilder.h"

#include "MdbContent.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using katarix::registergen::RegisterBuilder;

// One land unit in one precinct: enough for the land register window and the unit extract.
void writeRegister(const QString &path, const std::string &password)
{
    RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 1},
                       {"AREA", 1234.0}, {"AROWA", 0}});
    katarix::mdbwriter::WriteOptions options;
    options.password = password;
    QDir().mkpath(QFileInfo(path).absolutePath());
    katarix::mdbwriter::writeJet4(b.content(), path.toStdString(), options);
}

bool copyExecutable(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(from));
}

void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &file : QDir(from).entryInfoList(QDir::Files))
        QFile::copy(file.filePath(), QDir(to).filePath(file.fileName()));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file under root with its size and modification time.
std::map<QString, std::pair<qint64, qint64>> listing(const QString &root)
{
    std::map<QString, std::pair<qint64, qint64>> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        files[info.filePath()] = {info.isDir() ? 0 : info.size(), info.lastModified().toMSecsSinceEpoch()};
    }
    return files;
}

QFile::Permissions mode(const QString &path)
{
    return QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                       QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                       QFile::ExeOther);
}

const QFile::Permissions kOwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
const QFile::Permissions kOwnerFile = QFile::ReadOwner | QFile::WriteOwner;

class ProgramLayouts : public ::testing::Test {
protected:
    // Runs the probe at program with args, as a user whose home is home (created empty when
    // missing), in folder; $KATARIX_PROBE_PASSWORD answers the password prompt when given.
    QJsonObject run(const QString &program, const QStringList &args, const QString &password = QString(),
                    const QString &folder = QString())
    {
        QDir().mkpath(home());
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!password.isNull())
            env.insert(QStringLiteral("KATARIX_PROBE_PASSWORD"), password);
        probe.setProcessEnvironment(env);
        probe.setWorkingDirectory(folder.isEmpty() ? scratch.path() : folder);
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(program, args);
        if (!probe.waitForFinished(120000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            ADD_FAILURE() << "the probe did not finish: " << program.toStdString();
            return {};
        }
        return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    }

    QString path(const QString &name) const { return scratch.filePath(name); }
    QString home() const { return path(QStringLiteral("home")); }

    QTemporaryDir scratch;
};

} // namespace

// A tree copied elsewhere (program, loader, Katarix.ini beside them; Szablony, Tmp and Bazy
// beside its folder) keeps its files there; the register given on the command line is this
// run's choice, exactly as if chosen in the dialog.
TEST_F(ProgramLayouts, CopiedTreeTakesTheRegisterFromTheCommandLine)
{
    const QString root = path(QStringLiteral("Katarix"));
    const QString program = root + QStringLiteral("/Program/katarix");
    ASSERT_TRUE(copyExecutable(QStringLiteral(KATARIX_PROGRAM_PROBE), program));
    ASSERT_TRUE(copyExecutable(QStringLiteral(KATARIX_LOADER), root + QStringLiteral("/Program/katarix-loader")));
    copyFolder(QStringLiteral(KATARIX_SOURCE_DIR "/templates"), root + QStringLiteral("/Szablony"));
    QDir().mkpath(root + QStringLiteral("/Tmp"));
    QDir().mkpath(root + QStringLiteral("/Bazy"));
    const QString ini = root + QStringLiteral("/Program/Katarix.ini");
    const QString protectedRegister = path(QStringLiteral("dane/gmina.mdb"));
    writeRegister(protectedRegister, "Tajne");

    struct Case {
        const char *name;
        QStringList args;
        QString folder;   // working folder
        QString password; // null: the prompt is cancelled
        QString registerPath;
        bool window;
        QStringList passwordRequests;
        QString message;
    };
    const Case cases[] = {
        {"no argument: the remembered register", {}, QString(), QString(), QStringLiteral("/rejestry/zapamietany.mdb"),
         false, {}, QStringLiteral("Błąd logowania do bazy: Błąd łączenia z bazą danych:\n")},
        {"a relative path, its password asked at the first window request", {QStringLiteral("gmina.mdb")},
         path(QStringLiteral("dane")), QStringLiteral("Tajne"), protectedRegister, true, {protectedRegister}, QString()},
        {"password prompt cancelled: nothing opens, nothing is said", {protectedRegister, QStringLiteral("--inne")},
         QString(), QString(), protectedRegister, false, {protectedRegister}, QString()},
        {"a missing file: the session's message at the first window request", {path(QStringLiteral("dane/brak.mdb"))},
         QString(), QString(), path(QStringLiteral("dane/brak.mdb")), false, {},
         QStringLiteral("Błąd logowania do bazy: Błąd łączenia z bazą danych:\n")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(root + QStringLiteral("/Tmp/Wynik.rtf"));
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("; zapamiętana baza\n[Baza]\nPath=/rejestry/zapamietany.mdb\n");
        file.close();

        const QJsonObject seen = run(program, c.args, c.password, c.folder);
        EXPECT_EQ(seen[QStringLiteral("ini")].toString(), ini);
        EXPECT_EQ(seen[QStringLiteral("root")].toString(), root + QLatin1Char('/'));
        EXPECT_EQ(seen[QStringLiteral("templates")].toString(), root + QStringLiteral("/Szablony"));
        EXPECT_EQ(seen[QStringLiteral("documents")].toString(), root + QStringLiteral("/Tmp"));
        EXPECT_EQ(seen[QStringLiteral("dialogFolder")].toString(), root + QStringLiteral("/Bazy"));
        EXPECT_EQ(seen[QStringLiteral("register")].toString(), c.registerPath);
        EXPECT_EQ(seen[QStringLiteral("registerAfterCancel")].toString(), c.registerPath);
        EXPECT_EQ(seen[QStringLiteral("window")].toBool(), c.window);
        QStringList requests;
        for (const QJsonValue &request : seen[QStringLiteral("passwordRequests")].toArray())
            requests << request.toString();
        EXPECT_EQ(requests, c.passwordRequests);
        const QJsonArray messages = seen[QStringLiteral("messages")].toArray();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.isEmpty()) << QJsonDocument(messages).toJson().toStdString();
        } else {
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].toString().startsWith(c.message)) << messages[0].toString().toStdString();
        }
        if (c.window) {
            EXPECT_EQ(seen[QStringLiteral("extracts")].toArray(), QJsonArray{root + QStringLiteral("/Tmp/Wynik.rtf")});
            EXPECT_TRUE(readFile(root + QStringLiteral("/Tmp/Wynik.rtf")).startsWith("{\\rtf"));
        }
        // Written at exit as the dialog's choice is, the rest of the file kept (an opened
        // window adds its layout after it).
        const QByteArray written = readFile(ini);
        EXPECT_TRUE(written.startsWith("; zapamiętana baza\n[Baza]\nPath=" + c.registerPath.toUtf8() + "\n"))
            << written.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(home() + QStringLiteral("/.config/Katarix"))) << "a writable tree keeps its own file";
}

// `cmake --install` lays the program out as the package does; started from there by a user with
// an empty home, it uses the user's configuration file (seeded from the installed one), the
// installed templates, a private documents folder and the loader in libexec, and writes nothing
// under the installation.
TEST_F(ProgramLayouts, InstalledProgramUsesTheUsersFoldersAndWritesNothingOfItsOwn)
{
    const QString destdir = path(QStringLiteral("root"));
    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), destdir);
    install.setProcessEnvironment(env);
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(KATARIX_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(KATARIX_BINARY_DIR), QStringLiteral("--prefix"),
                   QStringLiteral("/usr")});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();

    const QString usr = destdir + QStringLiteral("/usr");
    const QString share = usr + QStringLiteral("/share/katarix");
    for (const char *file : {"bin/katarix", "bin/katarix-sql", "libexec/katarix/katarix-loader",
                             "share/katarix/Katarix.ini", "share/katarix/Bazy/demo.mdb",
                             "share/katarix/Szablony/RaportJr.rtf", "share/katarix/Szablony/WypisRgSkrSort.rtf",
                             "share/katarix/Szablony/SpisWlad.rtf", "share/katarix/Szablony/ZestGrJr.rtf",
                             "share/applications/katarix.desktop", "share/icons/hicolor/scalable/apps/katarix.svg",
                             "share/icons/hicolor/48x48/apps/katarix.png", "share/man/man1/katarix.1.gz",
                             "share/man/man1/katarix-sql.1.gz", "share/doc/katarix/copyright"})
        EXPECT_TRUE(QFileInfo::exists(usr + QLatin1Char('/') + QLatin1String(file))) << file;
    // The development tools stay in the build tree.
    EXPECT_EQ(QDir(usr + QStringLiteral("/bin")).entryList(QDir::Files, QDir::Name),
              QStringList({QStringLiteral("katarix"), QStringLiteral("katarix-sql")}));
    EXPECT_EQ(QDir(usr + QStringLiteral("/libexec/katarix")).entryList(QDir::Files),
              QStringList({QStringLiteral("katarix-loader")}));

    // The probe stands in for the installed program, beside it.
    const QString program = usr + QStringLiteral("/bin/katarix-probe");
    ASSERT_TRUE(copyExecutable(QStringLiteral(KATARIX_PROGRAM_PROBE), program));
    const auto installed = listing(destdir);
    const QString config = home() + QStringLiteral("/.config/Katarix/Katarix.ini");
    const QString documents = home() + QStringLiteral("/Documents/Katarix");
    const QByteArray defaults = readFile(share + QStringLiteral("/Katarix.ini"));
    ASSERT_FALSE(defaults.isEmpty());

    // First start, on the demo register.
    const QString demo = share + QStringLiteral("/Bazy/demo.mdb");
    QJsonObject seen = run(program, {demo});
    EXPECT_EQ(seen[QStringLiteral("ini")].toString(), config);
    EXPECT_EQ(seen[QStringLiteral("root")].toString(), share + QLatin1Char('/'));
    EXPECT_EQ(seen[QStringLiteral("templates")].toString(), share + QStringLiteral("/Szablony"));
    EXPECT_EQ(seen[QStringLiteral("documents")].toString(), documents);
    EXPECT_EQ(seen[QStringLiteral("dialogFolder")].toString(), share + QStringLiteral("/Bazy"));
    EXPECT_TRUE(seen[QStringLiteral("window")].toBool()) << QJsonDocument(seen).toJson().toStdString();
    EXPECT_EQ(seen[QStringLiteral("extracts")].toArray(), QJsonArray{documents + QStringLiteral("/Wynik.rtf")});
    EXPECT_EQ(mode(documents), kOwnerFolder);
    EXPECT_EQ(mode(documents + QStringLiteral("/Wynik.rtf")), kOwnerFile);
    // The user's file is the installed one with this run's register written at exit.
    const QByteArray written = readFile(config);
    EXPECT_TRUE(written.startsWith(defaults.left(defaults.indexOf("[Baza]")))) << written.toStdString();
    EXPECT_TRUE(written.contains("Path=" + demo.toUtf8() + "\n")) << written.toStdString();

    // Next start, with another register: the dialog opens in the remembered register's folder,
    // the user's own file is kept and a templates folder chosen in the settings wins.
    const QString own = path(QStringLiteral("wzory"));
    copyFolder(QStringLiteral(KATARIX_SOURCE_DIR "/templates"), own);
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("[wydruk]\nszablony=" + own.toUtf8() + "\n");
    file.close();
    const QString other = path(QStringLiteral("dane/gmina.mdb"));
    writeRegister(other, "Tajne");
    seen = run(program, {other}, QStringLiteral("Tajne"));
    EXPECT_EQ(seen[QStringLiteral("templates")].toString(), own);
    EXPECT_EQ(seen[QStringLiteral("dialogFolder")].toString(), path(QStringLiteral("dane")));
    EXPECT_TRUE(seen[QStringLiteral("window")].toBool()) << QJsonDocument(seen).toJson().toStdString();
    EXPECT_TRUE(readFile(config).contains("szablony=" + own.toUtf8())) << readFile(config).toStdString();

    // A start without an argument opens the dialog in the folder of the register remembered now.
    seen = run(program, {});
    EXPECT_EQ(seen[QStringLiteral("register")].toString(), other);
    EXPECT_EQ(seen[QStringLiteral("dialogFolder")].toString(), path(QStringLiteral("dane")));

    EXPECT_EQ(listing(destdir), installed) << "the installed program wrote into its own folders";
}
