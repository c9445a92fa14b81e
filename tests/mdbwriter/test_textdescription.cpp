// The text description of tables and rows: values are typed by their column, mistakes are
// reported with their line, and katarix-mdbwrite turns a description into a readable file.

#include "MdbContent.h"
#include "TextDescription.h"
#include "support/MdbReaders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace katarix::mdbwriter;
using namespace katarix::mdbwriter::test;

namespace {

using I = std::int64_t;

const char *kDescription = R"(# Gminy i dane testowe
table GMINA
column MSLINK Double
column NAZWA Text 50
column AKTYWNA Boolean
column OPIS Memo
column DATA DateTime
column KOD Integer
column KWOTA Currency
row 1; "Łódź; centrum"; true; NULL; #2024-01-31 13:45:00#; -7; 12.5
row 0.30000000000000004;  Zgierz ; FALSE; ""; 45000.5; 0; NULL
row 1e-300; "cytat \"x\"\nlinia\t\\"; 1; krótki; #1899-12-29 12:00#; 32767; 0

  table "PUSTA TABELA"
COLUMN Id LONG
)";

TEST(TextDescription, ValuesAreTypedByTheirColumn)
{
    std::istringstream in(kDescription);
    const Content content = parseTextDescription(in);
    ASSERT_EQ(content.tables.size(), 2u);
    const Table &t = content.tables[0];
    EXPECT_EQ(t.name, "GMINA");
    ASSERT_EQ(t.columns.size(), 7u);
    EXPECT_EQ(t.columns[1].type, ColumnType::Text);
    EXPECT_EQ(t.columns[1].textSize, 50);
    EXPECT_EQ(t.columns[3].type, ColumnType::Memo);
    EXPECT_EQ(t.columns[6].type, ColumnType::Currency);
    const std::vector<std::vector<Value>> expected{
        {1.0, std::string("Łódź; centrum"), true, Value{}, 45322.5729166666642, I(-7), 12.5},
        {0.1 + 0.2, std::string("Zgierz"), false, std::string(""), 45000.5, I(0), Value{}},
        {1e-300, std::string("cytat \"x\"\nlinia\t\\"), true, std::string("krótki"), -1.5, I(32767), 0.0},
    };
    ASSERT_EQ(t.rows.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        for (std::size_t c = 0; c < expected[r].size(); ++c) {
            if (c == 4 && r == 0) { // 13:45 is not exact in binary; the day fraction must be
                EXPECT_NEAR(std::get<double>(t.rows[r][c]), 45322.0 + (13 * 60 + 45) / 1440.0, 1e-9);
                continue;
            }
            EXPECT_EQ(t.rows[r][c], expected[r][c]) << "row " << r << " column " << c;
        }
    }
    EXPECT_EQ(content.tables[1].name, "PUSTA TABELA");
    ASSERT_EQ(content.tables[1].columns.size(), 1u);
    EXPECT_EQ(content.tables[1].columns[0].type, ColumnType::Long);
    EXPECT_TRUE(content.tables[1].rows.empty());
}

// Decimal takes its precision and scale and keeps its values as exact text; GUID and
// Hyperlink values are texts.
TEST(TextDescription, DecimalGuidAndHyperlinkColumns)
{
    std::istringstream in("table T\ncolumn P Decimal 12,3\ncolumn Q DECIMAL\ncolumn G GUID\ncolumn H Hyperlink\n"
                          "row -123456789.125; 7; {8E39276A-BCA8-4AC4-891E-49911D8438DD}; Strona#http://example.com/#\n");
    const Content content = parseTextDescription(in);
    const Table &t = content.tables.at(0);
    ASSERT_EQ(t.columns.size(), 4u);
    EXPECT_EQ(t.columns[0].type, ColumnType::Decimal);
    EXPECT_EQ(t.columns[0].precision, 12);
    EXPECT_EQ(t.columns[0].scale, 3);
    EXPECT_EQ(t.columns[1].precision, 18);
    EXPECT_EQ(t.columns[1].scale, 0);
    EXPECT_EQ(t.columns[2].type, ColumnType::Guid);
    EXPECT_EQ(t.columns[3].type, ColumnType::Hyperlink);
    const std::vector<Value> expected{std::string("-123456789.125"), std::string("7"),
                                      std::string("{8E39276A-BCA8-4AC4-891E-49911D8438DD}"),
                                      std::string("Strona#http://example.com/#")};
    EXPECT_EQ(t.rows.at(0), expected);
}

TEST(TextDescription, MistakesNameTheirLine)
{
    const struct {
        const char *text;
        const char *message;
    } cases[] = {
        {"row 1", "Wiersz 1: wiersz danych przed opisem kolumn"},
        {"column A Long", "Wiersz 1: kolumna przed pierwszą tabelą"},
        {"table T\ncolumn A Number", "Wiersz 2: nieznany typ kolumny „Number”"},
        {"table T\ncolumn A Long 5", "Wiersz 2: rozmiar „5” jest dozwolony tylko dla kolumny Text"},
        {"table T\ncolumn A Text 300", "Wiersz 2: rozmiar „300”"},
        {"table T\ncolumn A Long\nrow 1; 2", "Wiersz 3: więcej wartości niż kolumn"},
        {"table T\ncolumn A Long\ncolumn B Long\nrow 1", "Wiersz 4: 1 wartości, a tabela „T” ma 2 kolumn"},
        {"table T\ncolumn A Long\nrow 1.5", "Wiersz 3: „1.5” w kolumnie „A” nie jest liczbą całkowitą"},
        {"table T\ncolumn A Double\nrow 1,5", "Wiersz 3: „1,5” w kolumnie „A” nie jest liczbą"},
        {"table T\ncolumn A Boolean\nrow tak", "nie jest wartością logiczną"},
        {"table T\ncolumn A Text\nrow \"bez końca", "Wiersz 3: brak cudzysłowu zamykającego"},
        {"table T\ncolumn A Text\nrow \"a\" b", "Wiersz 3: po tekście w cudzysłowie oczekiwano ';'"},
        {"table T\ncolumn A Text\nrow ", "Wiersz 3: pusta wartość w kolumnie „A”"},
        {"table T\ncolumn A DateTime\nrow #2023-02-29#", "Wiersz 3: niepoprawna data #2023-02-29#"},
        {"table T\ncolumn A Long\nrow 1\ncolumn B Long", "Wiersz 4: kolumna po wierszach"},
        {"\n\ntabela T", "Wiersz 3: nieznane słowo „tabela”"},
        {"table T\ncolumn A Decimal 18", "Wiersz 2: kolumna Decimal przyjmuje precyzję i skalę w postaci 18,2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream in(c.text);
        try {
            parseTextDescription(in);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error &e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(TextDescription, CommandLineToolWritesAReadableFile)
{
    const fs::path dir = fs::temp_directory_path() / ("mdbwrite_cli_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "opis.txt");
        out << kDescription;
    }
    const std::string tool = std::string(KATARIX_PROGRAM_DIR) + "/katarix-mdbwrite";
    const std::string command = "'" + tool + "' '" + (dir / "opis.txt").string() + "' '" +
                                (dir / "baza.mdb").string() + "' --password Gmina 2> '" + (dir / "err.txt").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readJet4Password((dir / "baza.mdb").string()), "Gmina");
    const ReadDatabase db = readWithLibmdb((dir / "baza.mdb").string());
    ASSERT_EQ(db.count("GMINA"), 1u);
    ASSERT_EQ(db.at("GMINA").rows.size(), 3u);
    EXPECT_EQ(db.at("GMINA").rows[2][1], "s:cytat \"x\"\nlinia\t\\");
    EXPECT_EQ(db.at("GMINA").rows[1][0], doubleBits(0.1 + 0.2));
    EXPECT_EQ(db.count("PUSTA TABELA"), 1u);

    // A broken description: the message names the file and line, and no file is written.
    {
        std::ofstream out(dir / "zly.txt");
        out << "table T\ncolumn A Long\nrow x\n";
    }
    const std::string bad = "'" + tool + "' '" + (dir / "zly.txt").string() + "' '" + (dir / "zly.mdb").string() +
                            "' 2> '" + (dir / "err.txt").string() + "'";
    EXPECT_NE(std::system(bad.c_str()), 0);
    std::ifstream err(dir / "err.txt");
    std::stringstream message;
    message << err.rdbuf();
    EXPECT_NE(message.str().find("zly.txt: Wiersz 3:"), std::string::npos) << message.str();
    EXPECT_FALSE(fs::exists(dir / "zly.mdb"));
    fs::remove_all(dir);
}

} // namespace
