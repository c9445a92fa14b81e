// Through the program's real start-up: the remembered register's stale copy is loaded in the
// background before the clerk asks; the status panel reads ready, F7 opens the land register
// window without another load, on the values of the changed file.
#include "jet/RegisterLoader.h"
#include "registergen/RegisterBuilder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace katarix;

namespace {

// Unit 101 with one parcel of the given area (m²), and enough other parcels that the load
// takes a moment.
void writeRegister(const QString &path, double area)
{
    registergen::RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 1},
                       {"AREA", area}, {"AROWA", 0}});
    for (int i = 2; i < 20000; ++i)
        b.add("KDZIALKA", {{"MSLINK", double(i)}, {"DZIALKA_ID", double(10 + i)}, {"ID_JR", 102.0}, {"OBREB_ID", 10},
                           {"NR_L", i}, {"AREA", 500.0}, {"AROWA", 0}});
    mdbwriter::writeJet4(b.content(), path.toStdString());
}

} // namespace

TEST(StartUpBackground, TheRememberedRegisterIsReadyBeforeF7)
{
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("Program"));
    const QString cacheHome = root.filePath(QStringLiteral("xdg-cache"));
    const QString runs = root.filePath(QStringLiteral("runs"));
    const QString mdb = root.filePath(QStringLiteral("gmina.mdb"));
    ASSERT_TRUE(QDir().mkpath(program));
    // The program's folder: the probe, its Katarix.ini remembering the register, and a loader
    // that counts its runs.
    const QString probe = program + QStringLiteral("/katarix");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KATARIX_BACKGROUND_PROBE), probe));
    QFile::setPermissions(probe, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile ini(program + QStringLiteral("/Katarix.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Baza]\nPath=%1\n").arg(mdb).toUtf8());
    ini.close();
    QFile loader(program + QStringLiteral("/katarix-loader"));
    ASSERT_TRUE(loader.open(QIODevice::WriteOnly));
    loader.write(QStringLiteral("#!/bin/sh\necho run >> '%1'\nexec '%2' \"$@\"\n").arg(runs, QStringLiteral(KATARIX_LOADER)).toUtf8());
    loader.close();
    QFile::setPermissions(loader.fileName(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    // Opened once (area 1234 m²), then changed by the other system (4321 m²).
    writeRegister(mdb, 1234);
    {
        jet::Database db;
        jet::OpenOptions options;
        options.cacheDir = cacheHome + QStringLiteral("/Katarix");
        options.loaderPath = loader.fileName();
        jet::openRegister(db, mdb, options);
    }
    QFile::remove(runs);
    writeRegister(mdb, 4321);

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("xdg-config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const char *name : {"LANG", "LC_NUMERIC", "LANGUAGE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(probe, {});
    ASSERT_TRUE(process.waitForFinished(240000));
    ASSERT_EQ(process.exitCode(), 0);
    const QJsonObject shown = QJsonDocument::fromJson(process.readAllStandardOutput()).object();

    const QJsonArray panels = shown[QStringLiteral("panels")].toArray();
    ASSERT_FALSE(panels.isEmpty());
    EXPECT_TRUE(panels.first().toString().startsWith(QStringLiteral("Wczytywanie bazy: ")))
        << QJsonDocument(panels).toJson().toStdString();
    EXPECT_EQ(panels.last().toString(), QStringLiteral("Baza gotowa"));
    EXPECT_FALSE(shown[QStringLiteral("connectedBeforeF7")].toBool()) << "nothing is opened at start";
    EXPECT_EQ(shown[QStringLiteral("areas")].toArray(), QJsonArray{QStringLiteral("0.4321")});
    EXPECT_EQ(shown[QStringLiteral("panelAfterF7")].toString(), QStringLiteral("Baza gotowa"));
    EXPECT_EQ(shown[QStringLiteral("messages")].toArray(), QJsonArray());
    QFile counted(runs);
    ASSERT_TRUE(counted.open(QIODevice::ReadOnly));
    EXPECT_EQ(counted.readAll(), QByteArray("run\n")) << "the loader ran once";
    EXPECT_EQ(QDir(cacheHome + QStringLiteral("/Katarix")).entryList({QStringLiteral("*.tmp-*")}, QDir::Files), QStringList());
}
