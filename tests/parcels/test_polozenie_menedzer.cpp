// Windows come back where they were left, on a real X server with a window manager: the parcel
// file (an MDI child), its buildings tool window, the parcel search dialog and a change window that
// is maximised, restored maximised and then restored to its normal place are stored, restored and
// stored again, four times over, and neither their stored values nor their places on the screen
// move. The offscreen platform has no window manager's frames, which is where windows crept.
#include "common/EkranZMenedzerem.h"
#include "common/Files.h"
#include "common/RequiredTool.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QStringList teksty(const QJsonValue &tablica)
{
    QStringList wynik;
    for (const QJsonValue &v : tablica.toArray())
        wynik << v.toString();
    return wynik;
}

TEST(PolozeniePodMenedzeremOkien, StoredWindowsComeBackWhereTheyWereLeft)
{
    KATARIX_REQUIRE_TOOL(katarix::test::EkranZMenedzerem::dostepny(),
                         "Xvfb or openbox is not installed; run scripts/setup.sh (it installs xvfb and openbox)");
    katarix::test::EkranZMenedzerem ekran;
    ASSERT_FALSE(ekran.uruchom().isEmpty()) << "Xvfb with openbox did not start";
    const QProcessEnvironment env = ekran.srodowisko();
    ASSERT_TRUE(katarix::test::writeBytes(QDir(env.value(QStringLiteral("HOME"))).filePath(QStringLiteral("Katarix.ini")),
                                          "[KATARIX.KarDzFrm]\nPos=40,30\nSize=300,500\n"
                                          "[Katarix.TWbudFrm/KarDzFrm]\nPos=700,500\nSize=150,520\n"
                                          "[KATARIX.DodDlkFrm]\nPos=300,255\n"
                                          "[Proba.KATARIX.ZmianyFrm]\nLeft=650\nTop=380\nWidth=420\nHeight=200\nState=0\n"));

    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(KATARIX_POLOZENIE_PROBE), {});
    ASSERT_TRUE(probe.waitForFinished(180000));
    ASSERT_EQ(probe.exitCode(), 0);
    const QJsonObject wynik = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    ASSERT_FALSE(wynik.isEmpty());
    EXPECT_EQ(wynik[QStringLiteral("komunikaty")].toInt(), 0);

    const auto razy = [](const QString &tekst, int n) {
        QStringList wynik;
        for (int i = 0; i < n; ++i)
            wynik << tekst;
        return wynik;
    };
    const QString normalne = QStringLiteral("Left=650 Top=380 Width=420 Height=200 State=0");
    const QString zmaksymalizowane = QStringLiteral("Left=650 Top=380 Width=420 Height=200 State=2");
    const struct {
        const char *okno;
        QStringList zapisy, ekran;
    } oczekiwane[] = {
        {"kartoteka", razy("Pos=40,30 Size=300,500", 4), razy("40,30 500x300", 4)},
        {"budynki", razy("Pos=700,500 Size=150,520", 4), razy("700,500 520x150", 4)},
        {"wyszukiwanie", razy("Pos=300,255", 4), {}},
        // Maximised in the first round, shown maximised in the second, restored in the third.
        {"zmiany",
         {zmaksymalizowane, zmaksymalizowane, normalne, normalne},
         {"650,380 420x200", "maksymalne", "maksymalne", "650,380 420x200", "650,380 420x200"}},
    };
    for (const auto &o : oczekiwane) {
        SCOPED_TRACE(o.okno);
        const QJsonObject okno = wynik[QString::fromLatin1(o.okno)].toObject();
        EXPECT_EQ(teksty(okno[QStringLiteral("zapisy")]).join(" | ").toStdString(), o.zapisy.join(" | ").toStdString());
        const QStringList ekranOkna = teksty(okno[QStringLiteral("ekran")]);
        if (!o.ekran.isEmpty()) {
            EXPECT_EQ(ekranOkna.join(" | ").toStdString(), o.ekran.join(" | ").toStdString());
        } else {
            // The dialog keeps its designed size; its frame stays at the stored place.
            ASSERT_EQ(ekranOkna.size(), 4);
            for (const QString &miejsce : ekranOkna)
                EXPECT_TRUE(miejsce.startsWith(QStringLiteral("300,255 "))) << miejsce.toStdString();
        }
    }
}

} // namespace
