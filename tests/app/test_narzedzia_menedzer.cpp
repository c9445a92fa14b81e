// The tool windows' first places on a real X server with a window manager at 1600x1000, through
// the program's start-up: the land register's five tool windows, the parcel file's "Budynki na
// działce" and the person file's units window open inside the screen, clear of the main window's
// menu and toolbars, of their owner's grids and of each other. A second start with the places
// the clerk moved them to shows them there.
#include "common/EkranZMenedzerem.h"
#include "common/RequiredTool.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject uruchom(const katarix::test::EkranZMenedzerem &ekran, const QString &program, const QStringList &argumenty)
{
    QProcess probe;
    probe.setProcessEnvironment(ekran.srodowisko());
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(program, argumenty);
    if (!probe.waitForFinished(180000) || probe.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
}

QRect prostokat(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

TEST(NarzedziaPodMenedzeremOkien, ToolWindowsOpenBesideTheWorkAndStoredPlacesWin)
{
    KATARIX_REQUIRE_TOOL(katarix::test::EkranZMenedzerem::dostepny(),
                         "Xvfb or openbox is not installed; run scripts/setup.sh (it installs xvfb and openbox)");
    katarix::test::EkranZMenedzerem ekran;
    ASSERT_FALSE(ekran.uruchom().isEmpty()) << "Xvfb with openbox did not start";
    // The program in a folder of its own: Katarix.ini beside it starts empty.
    QTemporaryDir drzewo;
    ASSERT_TRUE(QDir().mkpath(drzewo.filePath(QStringLiteral("Program"))));
    const QString program = drzewo.filePath(QStringLiteral("Program/narzedzia_probe"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KATARIX_NARZEDZIA_PROBE), program));

    const QJsonObject pierwsze = uruchom(ekran, program, {QStringLiteral("--przesun")});
    ASSERT_FALSE(pierwsze.isEmpty());
    EXPECT_EQ(pierwsze[QStringLiteral("komunikaty")].toInt(), 0);
    QList<QRect> miejscaPierwsze;
    int okna = 0;
    for (const char *wlasciciel : {"rejestr", "kartoteka dzialek", "kartoteka osob"}) {
        for (const QJsonValue &v : pierwsze[QString::fromLatin1(wlasciciel)].toArray()) {
            const QJsonObject okno = v.toObject();
            SCOPED_TRACE(okno[QStringLiteral("okno")].toString().toStdString());
            ++okna;
            EXPECT_TRUE(okno[QStringLiteral("widoczne")].toBool());
            EXPECT_TRUE(okno[QStringLiteral("na ekranie")].toBool());
            EXPECT_EQ(okno[QStringLiteral("menu")].toInt(), 0);
            EXPECT_EQ(okno[QStringLiteral("siatki")].toInt(), 0);
            EXPECT_EQ(okno[QStringLiteral("narzedzia")].toInt(), 0);
            miejscaPierwsze << prostokat(okno[QStringLiteral("ramka")]);
        }
    }
    EXPECT_EQ(okna, 7);

    // The places the clerk left them at come back, not the first ones (a title bar's height of
    // tolerance: how exactly a frame comes back is the layout store's business).
    const QJsonObject drugie = uruchom(ekran, program, {});
    ASSERT_FALSE(drugie.isEmpty());
    QList<QRect> miejscaDrugie;
    for (const char *wlasciciel : {"rejestr", "kartoteka dzialek", "kartoteka osob"})
        for (const QJsonValue &v : drugie[QString::fromLatin1(wlasciciel)].toArray())
            miejscaDrugie << prostokat(v.toObject()[QStringLiteral("ramka")]);
    const QJsonArray przesuniete = pierwsze[QStringLiteral("przesuniete")].toArray();
    ASSERT_EQ(przesuniete.size(), okna);
    ASSERT_EQ(miejscaDrugie.size(), okna);
    for (int i = 0; i < okna; ++i) {
        const QJsonObject okno = przesuniete[i].toObject();
        SCOPED_TRACE(okno[QStringLiteral("okno")].toString().toStdString());
        const QRect zapamietane = prostokat(okno[QStringLiteral("ramka")]);
        EXPECT_GT((zapamietane.topLeft() - miejscaPierwsze[i].topLeft()).manhattanLength(), 100);
        EXPECT_LE((miejscaDrugie[i].topLeft() - zapamietane.topLeft()).manhattanLength(), 40);
        EXPECT_EQ(miejscaDrugie[i].size(), zapamietane.size());
    }
}

} // namespace
