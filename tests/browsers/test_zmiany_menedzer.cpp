// The change window follows the current row on a real X server with a window manager: whatever
// is done to the land register window (maximise, restore, minimise, cascade, tile), the screen
// shows the change of the current parcel. The offscreen platform cannot show this.
#include "common/EkranZMenedzerem.h"
#include "common/RequiredTool.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(ZmianyPodMenedzeremOkien, TheChangeWindowShowsTheCurrentChangeWhateverTheOwnerWindowGoesThrough)
{
    KATARIX_REQUIRE_TOOL(katarix::test::EkranZMenedzerem::dostepny(),
                         "Xvfb or openbox is not installed; run scripts/setup.sh (it installs xvfb and openbox)");
    katarix::test::EkranZMenedzerem ekran;
    ASSERT_FALSE(ekran.uruchom().isEmpty()) << "Xvfb with openbox did not start";

    QProcess probe;
    probe.setProcessEnvironment(ekran.srodowisko());
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(KATARIX_ZMIANY_PROBE), {});
    ASSERT_TRUE(probe.waitForFinished(120000));
    ASSERT_EQ(probe.exitCode(), 0);
    const QJsonObject shown = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown[QStringLiteral("komunikaty")].toInt(), 0);
    EXPECT_TRUE(shown[QStringLiteral("start")].toBool());
    for (const char *krok : {"maksymalizacja", "przywrocenie", "minimalizacja", "przywrocenie po minimalizacji", "kaskada",
                             "rozmieszczenie poziome", "rozmieszczenie pionowe"}) {
        ASSERT_TRUE(shown.contains(QString::fromUtf8(krok))) << krok;
        EXPECT_TRUE(shown[QString::fromUtf8(krok)].toBool()) << krok;
    }
}

} // namespace
