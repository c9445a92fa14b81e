#include "app/IniFile.h"

#include "common/Files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using katarix::app::IniError;
using katarix::app::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("Katarix.ini")); }
    void writeBytes(const QByteArray &bytes) const { ASSERT_TRUE(katarix::test::writeBytes(path(), bytes)); }
    QByteArray readBytes() const { return katarix::test::fileBytes(path(), "<missing>"); }
    QTemporaryDir dir;
};

struct EditCase {
    const char *name;
    QByteArray before;
    std::function<void(IniFile &)> edit;
    QByteArray after;
};

// Writes change only the line they concern; comments, blank lines, other keys with their case
// and the line-end style stay as they were.
TEST_F(IniFileTest, WritesKeepEverythingElseInTheFile)
{
    const EditCase cases[] = {
        {"existing key, other case, CRLF file",
         "; comment\r\n[Baza]\r\nPath=C:\\a.mdb\r\n\r\n[WYDRUK]\r\n  Przeglad = stary \r\nWynik=x\r\n",
         [](IniFile &ini) { ini.WriteString("wydruk", "przeglad", "/usr/bin/lowriter"); },
         "; comment\r\n[Baza]\r\nPath=C:\\a.mdb\r\n\r\n[WYDRUK]\r\nPrzeglad=/usr/bin/lowriter\r\nWynik=x\r\n"},
        {"new key goes after the section's last key, before the blank separator",
         "[Rgrun]\nWlaColor=1\n\n[RaportJR]\nZakresDlk=0\n",
         [](IniFile &ini) { ini.WriteInteger("RGRUN", "UwColor", 12315841); },
         "[Rgrun]\nWlaColor=1\nUwColor=12315841\n\n[RaportJR]\nZakresDlk=0\n"},
        {"new section at the end, file without final line end",
         "[Baza]\nPath=x",
         [](IniFile &ini) { ini.WriteInteger("RaportJR", "ZakresDlk", 1); },
         "[Baza]\nPath=x\n[RaportJR]\nZakresDlk=1\n"},
        {"value written as given, blanks and quotes included",
         "[a]\nk=1\n",
         [](IniFile &ini) { ini.WriteString("a", "k", " \"x, y\" "); },
         "[a]\nk= \"x, y\" \n"},
        {"only the first of duplicate sections is touched",
         "[a]\nk=1\n[b]\n[A]\nk=2\n",
         [](IniFile &ini) { ini.WriteString("a", "K", "3"); },
         "[a]\nk=3\n[b]\n[A]\nk=2\n"},
        {"delete key and erase section",
         "[a]\nk=1\nm=2\n; about b\n[b]\nz=1\n\n[c]\ny=1\n",
         [](IniFile &ini) {
             ini.DeleteKey("A", "M");
             ini.EraseSection("B");
             ini.DeleteKey("c", "missing");
         },
         "[a]\nk=1\n; about b\n[c]\ny=1\n"},
        {"UTF-8 with byte-order mark keeps it",
         "\xEF\xBB\xBF[wydruk]\nszablony=C:\\Szablony\n",
         [](IniFile &ini) { ini.WriteString("wydruk", "wynik", "/home/zażółć"); },
         "\xEF\xBB\xBF[wydruk]\nszablony=C:\\Szablony\nwynik=/home/za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\n"},
        {"Windows-1250 file stays Windows-1250",
         "; Ustawienia u\xBFytkownika\n[wydruk]\nwynik=C:\\Raporty\n",
         [](IniFile &ini) { ini.WriteString("wydruk", "szablony", "C:\\Szablony \xC5\x81\xC3\xB3" "d\xC5\xBA"); },
         "; Ustawienia u\xBFytkownika\n[wydruk]\nwynik=C:\\Raporty\nszablony=C:\\Szablony \xA3\xF3" "d\x9F\n"},
        {"Windows-1250 file becomes UTF-8 when a value needs it",
         "; u\xBFytkownik\n[a]\n",
         [](IniFile &ini) { ini.WriteString("a", "k", QString::fromUtf8("\xE2\x98\x83")); },
         "; u\xC5\xBCytkownik\n[a]\nk=\xE2\x98\x83\n"},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(c.before);
        IniFile ini(path());
        c.edit(ini);
        EXPECT_EQ(readBytes(), c.after);
    }
}

TEST_F(IniFileTest, ReadsWithProfileRules)
{
    writeBytes("Loose=before any section\n"
               "[ Baza ]\n"
               "PATH = C:\\Rejestr\\ewid.mdb \n"
               "; Path=commented out\n"
               "Path=second wins nothing\n"
               "Quoted=\"  kept blanks  \"\n"
               "Single='x'\n"
               "Half=\"x\n"
               "[baza]\n"
               "Other=in a duplicate section\n"
               "[Rgrun]\n"
               "wlacolor=255\n"
               "[Grid]\n"
               "BudGrd.NIERUCH_ID=2,80\n");
    const IniFile ini(path());
    const struct {
        const char *section, *key, *expected;
    } cases[] = {
        {"baza", "path", "C:\\Rejestr\\ewid.mdb"},
        {"BAZA", "Quoted", "  kept blanks  "},
        {"Baza", "Single", "x"},
        {"Baza", "Half", "\"x"},
        {"Baza", "Other", "<default>"},
        {"Baza", "Loose", "<default>"},
        {"Rgrun", "WLACOLOR", "255"},
        {"grid", "budgrd.nieruch_id", "2,80"},
        {"Missing", "Path", "<default>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(ini.ReadSections(), QStringList({"Baza", "Rgrun", "Grid"}));
    EXPECT_EQ(ini.ReadSection("BAZA"), QStringList({"PATH", "Quoted", "Single", "Half"}));
    EXPECT_TRUE(ini.SectionExists("rgrun"));
    EXPECT_TRUE(ini.ValueExists("rgrun", "WlaColor"));
    EXPECT_FALSE(ini.ValueExists("rgrun", "UwColor"));
}

TEST_F(IniFileTest, IntegersAndTruthValuesFallBackToTheDefault)
{
    const struct {
        const char *text;
        int expected;
    } cases[] = {
        {"11795963", 11795963}, {"  7", 7},          {"-50", -50},         {"+3", 3},
        {"$1F", 31},            {"0x1f", 31},        {"$FFFFFFFF", -1},    {"-2147483648", INT_MIN},
        {"2147483647", INT_MAX}, {"2147483648", -99}, {"12abc", -99},       {"abc", -99},
        {"", -99},              {"1,5", -99},        {"0x", -99},          {"-", -99},
    };
    QByteArray file = "[n]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "k" + QByteArray::number(qulonglong(i)) + "=" + cases[i].text + "\n";
    writeBytes(file);
    const IniFile ini(path());
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].text);
        const QString key = "K" + QString::number(i);
        EXPECT_EQ(ini.ReadInteger("N", key, -99), cases[i].expected);
        EXPECT_EQ(ini.ReadBool("N", key, true), cases[i].expected != 0);
    }
    EXPECT_EQ(ini.ReadInteger("N", "missing", 12), 12);
    EXPECT_FALSE(ini.ReadBool("N", "missing", false));
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite)
{
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("Baza", "Path", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Rgrun", "WlaColor", 5), 5);
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    EXPECT_FALSE(QFile::exists(path())) << "reading creates nothing";

    ini.WriteBool("Baza", "Ro", true);
    ini.WriteString("Baza", "Path", "");
    EXPECT_EQ(readBytes(), "[Baza]\nRo=1\nPath=\n");
    EXPECT_TRUE(IniFile(path()).ValueExists("baza", "path"));
    EXPECT_EQ(IniFile(path()).ReadString("baza", "path", "d"), "");
}

TEST_F(IniFileTest, UnwritableFileRaisesAPolishErrorNamingIt)
{
    const QString blocked = dir.filePath("Katarix.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("Katarix.ini")); // a folder where the file should be
    IniFile ini(blocked);
    try {
        ini.WriteString("Baza", "Path", "x");
        FAIL() << "no error";
    } catch (const IniError &error) {
        EXPECT_TRUE(error.message().startsWith("Nie udało się zapisać pliku konfiguracyjnego "));
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(blocked)));
    }
    EXPECT_THROW(IniFile(dir.filePath("no/such/folder/Katarix.ini")).WriteInteger("a", "b", 1), IniError);
}

// A batch writes the file once at its end, with every change made in it; outside a batch each
// write goes to the file at once. A batch whose file cannot be written fails at its end.
TEST_F(IniFileTest, ABatchWritesTheFileOnceAtItsEnd)
{
    writeBytes("; uwagi\n[KATARIX.REJESTR_GRUNTOW]\nLeft=1\n");
    IniFile ini(path());
    ini.RozpocznijWsad();
    ini.WriteInteger("KATARIX.REJESTR_GRUNTOW", "Left", 10);
    ini.RozpocznijWsad(); // nested: the outer one writes
    ini.WriteInteger("KATARIX.REJESTR_GRUNTOW", "Top", 20);
    ini.DeleteKey("KATARIX.REJESTR_GRUNTOW", "Missing");
    ini.ZakonczWsad();
    EXPECT_EQ(readBytes(), "; uwagi\n[KATARIX.REJESTR_GRUNTOW]\nLeft=1\n");
    EXPECT_EQ(ini.ReadInteger("KATARIX.REJESTR_GRUNTOW", "Top", 0), 20); // the object sees its writes
    ini.WriteString("Baza", "Path", "/rejestr.mdb");
    ini.ZakonczWsad();
    EXPECT_EQ(readBytes(), "; uwagi\n[KATARIX.REJESTR_GRUNTOW]\nLeft=10\nTop=20\n[Baza]\nPath=/rejestr.mdb\n");
    ini.WriteInteger("KATARIX.REJESTR_GRUNTOW", "Top", 30);
    EXPECT_EQ(IniFile(path()).ReadInteger("KATARIX.REJESTR_GRUNTOW", "Top", 0), 30);

    // A batch without a change leaves the file alone; one that cannot be written says so once.
    QFile::remove(path());
    IniFile bezZmian(path());
    katarix::app::ZapiszRazem(bezZmian, [&] { EXPECT_EQ(bezZmian.ReadString("a", "b", "x"), "x"); });
    EXPECT_FALSE(QFile::exists(path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Katarix.ini"));
    IniFile zablokowany(path());
    EXPECT_THROW(katarix::app::ZapiszRazem(zablokowany, [&] {
                     zablokowany.WriteInteger("a", "b", 1);
                     zablokowany.WriteInteger("a", "c", 2);
                 }),
                 IniError);
}

TEST(IniFileHelpers, Windows1250CoversThePolishLetters)
{
    const QString polish = QString::fromUtf8("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    const QByteArray expected("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    bool lossless = false;
    EXPECT_EQ(katarix::app::toWindows1250(polish, &lossless), expected);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(katarix::app::fromWindows1250(expected), polish);
    EXPECT_EQ(katarix::app::toWindows1250(QString::fromUtf8("a\xE2\x98\x83"), &lossless), QByteArray("a?"));
    EXPECT_FALSE(lossless);
}

} // namespace
