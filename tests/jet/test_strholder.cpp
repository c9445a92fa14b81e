// Macro templates: plain text substitution of named macros.
#include "jet/StrHolder.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

#include <utility>
#include <vector>

using namespace katarix::jet;

namespace {

struct ExpansionCase {
    const char *name;
    char macroChar;
    QString text;
    std::vector<std::pair<QString, QString>> macros;
    QString expected;
};

class StrHolderExpansion : public testing::TestWithParam<ExpansionCase> {};

TEST_P(StrHolderExpansion, GivesExpectedText)
{
    const ExpansionCase &c = GetParam();
    StrHolder holder(QLatin1Char(c.macroChar));
    holder.setText(c.text);
    for (const auto &[name, value] : c.macros)
        holder.setMacro(name, value);
    EXPECT_EQ(holder.expandedText(), c.expected);
}

const ExpansionCase expansionCases[] = {
    {"ColonMacrosBesideParameters", ':',
     QStringLiteral("SELECT * FROM kdzialka WHERE id_jr = :ID_JR AND x = :IdJr\n:WARUNEK_DLK\n:WARUNEK"),
     {{QStringLiteral("WARUNEK"), QStringLiteral("AND w = 1")},
      {QStringLiteral("ID_JR"), QStringLiteral("-1")},
      {QStringLiteral("WARUNEK_DLK"), QStringLiteral("AND kdzialka.mslink in (1,2)")}},
     QStringLiteral("SELECT * FROM kdzialka WHERE id_jr = -1 AND x = :IdJr\n"
                    "AND kdzialka.mslink in (1,2)\nAND w = 1")},
    {"NamesWithoutRegardToCaseAtEveryOccurrence", ':',
     QStringLiteral("osoba_id = :OSOBAID or on_id = :osobaid or ona_id = :OsobaId"),
     {{QStringLiteral("osobaId"), QStringLiteral("500000001")}},
     QStringLiteral("osoba_id = 500000001 or on_id = 500000001 or ona_id = 500000001")},
    {"LongestNameWinsWhateverTheOrder", '%', QStringLiteral("%AB|%ABC|%ABCD|%A"),
     {{QStringLiteral("A"), QStringLiteral("1")},
      {QStringLiteral("ABC"), QStringLiteral("3")},
      {QStringLiteral("AB"), QStringLiteral("2")}},
     QStringLiteral("2|3|3D|1")},
    {"ValuesAreNotExpandedAgain", '%', QStringLiteral("WHERE nazwa LIKE %WZOR %WARUNEK"),
     {{QStringLiteral("WZOR"), QStringLiteral("'KOW%WARUNEK%'")},
      {QStringLiteral("WARUNEK"), QStringLiteral("AND 1=1")}},
     QStringLiteral("WHERE nazwa LIKE 'KOW%WARUNEK%' AND 1=1")},
    {"UnknownNamesAndLoneCharactersStay", '~',
     QStringLiteral("<td>~ZT_NRZM</td><td>~ZT_X</td>~~ZT_USR~"),
     {{QStringLiteral("ZT_NRZM"), QStringLiteral("12/2008")}, {QStringLiteral("ZT_USR"), QStringLiteral("Kowalska")}},
     QStringLiteral("<td>12/2008</td><td>~ZT_X</td>~Kowalska~")},
    {"EmptyValueRemovesTheMacro", '%', QStringLiteral("SELECT mslink, nazwa FROM obreb\n%WARUNEK\nORDER BY nazwa"),
     {{QStringLiteral("WARUNEK"), QString()}},
     QStringLiteral("SELECT mslink, nazwa FROM obreb\n\nORDER BY nazwa")},
    {"OtherMacroCharactersAreText", ':', QStringLiteral("'%WARUNEK' ~WARUNEK :WARUNEK"),
     {{QStringLiteral("WARUNEK"), QStringLiteral("x")}},
     QStringLiteral("'%WARUNEK' ~WARUNEK x")},
    {"PolishLettersInNames", '%', QStringLiteral("%ŁĄKA %łąka"),
     {{QStringLiteral("Łąka"), QStringLiteral("pole")}},
     QStringLiteral("pole pole")},
};

INSTANTIATE_TEST_SUITE_P(Cases, StrHolderExpansion, testing::ValuesIn(expansionCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StrHolder, MacrosAreKeptByNameWithoutRegardToCase)
{
    StrHolder holder;
    EXPECT_EQ(holder.macroChar(), QLatin1Char('%'));
    holder.setMacro(QStringLiteral("Warunek"), QStringLiteral("a"));
    holder.setMacro(QStringLiteral("ID_JR"), QStringLiteral("-1"));
    holder.setMacro(QStringLiteral("WARUNEK"), QStringLiteral("b"));
    EXPECT_EQ(holder.macroNames(), (QStringList{QStringLiteral("Warunek"), QStringLiteral("ID_JR")}));
    EXPECT_EQ(holder.macro(QStringLiteral("warunek")), QStringLiteral("b"));
    EXPECT_TRUE(holder.hasMacro(QStringLiteral("id_jr")));

    holder.setLines({QStringLiteral("SELECT 1"), QStringLiteral("%warunek")});
    EXPECT_EQ(holder.expandedText(), QStringLiteral("SELECT 1\nb"));

    holder.removeMacro(QStringLiteral("WARUNEK"));
    EXPECT_FALSE(holder.hasMacro(QStringLiteral("Warunek")));
    EXPECT_EQ(holder.expandedText(), QStringLiteral("SELECT 1\n%warunek"));
    EXPECT_EQ(holder.text(), QStringLiteral("SELECT 1\n%warunek")); // the template itself is kept
}

} // namespace
