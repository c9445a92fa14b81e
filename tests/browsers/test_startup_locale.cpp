// The program takes its regional settings from the user's locale at start-up: the land register
// window and the unit extract under pl_PL.UTF-8 and under C.UTF-8, and the language of Qt's own
// dialogs, through the real start-up.
#include "common/RequiredTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <clocale>
#include <locale.h>

namespace {

bool localeInstalled(const char *name)
{
    const locale_t locale = ::newlocale(LC_ALL_MASK, name, locale_t(nullptr));
    if (!locale)
        return false;
    ::freelocale(locale);
    return true;
}

QJsonObject runProbe(const QString &locale)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LANG", "LC_NUMERIC", "LANGUAGE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(KATARIX_STARTUP_PROBE), {});
    if (!probe.waitForFinished(120000) || probe.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
}

} // namespace

TEST(StartUpLocale, WindowsExtractAndStandardDialogsFollowTheUsersLocale)
{
    // Qt's own translation for the user's language is loaded at start-up too: the program's file
    // dialog speaks Polish under pl_PL.UTF-8 (Debian's qt6-translations-l10n).
    KATARIX_REQUIRE_TOOL(QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_pl.qm")),
                         "Qt's Polish translation is not installed; run scripts/setup.sh (it installs qt6-translations-l10n)");
    struct Case {
        const char *locale;
        char separator;
        const char *lookIn, *cancel;
    };
    const Case cases[] = {{"C.UTF-8", '.', "Look in:", "Cancel"}, {"pl_PL.UTF-8", ',', "Szukaj w:", "Anuluj"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale);
        KATARIX_REQUIRE_TOOL(localeInstalled(c.locale),
                             QStringLiteral("the %1 locale is not generated; run scripts/setup.sh (it generates it)")
                                 .arg(QString::fromLatin1(c.locale))
                                 .toStdString());
        auto number = [&](const char *text) { return QString::fromLatin1(text).replace(u',', QChar::fromLatin1(c.separator)); };
        const QJsonObject shown = runProbe(QString::fromLatin1(c.locale));
        ASSERT_FALSE(shown.isEmpty()) << "the probe failed";
        EXPECT_EQ(shown[QStringLiteral("messages")].toArray(), QJsonArray());
        EXPECT_EQ(shown[QStringLiteral("lookIn")].toString(), QString::fromUtf8(c.lookIn));
        EXPECT_EQ(shown[QStringLiteral("cancel")].toString(), QString::fromUtf8(c.cancel));
        // The sum adds the areas as shown: 0,1234 and 0,11 (0.105 ha, half away from zero).
        EXPECT_EQ(shown[QStringLiteral("sum")].toString(), QStringLiteral(" Suma pow. działek: ") + number("0,2334") + " ha");
        EXPECT_EQ(shown[QStringLiteral("share")].toString(),
                  QStringLiteral("wl + si: 2      udział: ") + number("0,833333333333333"));
        EXPECT_EQ(shown[QStringLiteral("areas")].toArray(), QJsonArray({number("0,1234"), number("0,11")}));
        // The premises register window's area and value columns.
        EXPECT_EQ(shown[QStringLiteral("premises")].toArray(), QJsonArray({number("54,5"), number("120000,5")}));
        // The extract prints each parcel's area and the unit's total from the stored areas.
        const QString extract = shown[QStringLiteral("extract")].toString();
        EXPECT_TRUE(extract.contains(QLatin1Char('\n') + number("0,1234") + QLatin1Char('\n'))) << extract.toStdString();
        EXPECT_TRUE(extract.contains(QLatin1Char('\n') + number("0,11") + QLatin1Char('\n'))) << extract.toStdString();
        EXPECT_TRUE(extract.contains(QStringLiteral("razem [ha]:\n") + number("0,2284") + QLatin1Char('\n')))
            << extract.toStdString();
    }
}

