// Content the format cannot hold is refused with a Polish message naming the place, and the
// file that was at the target path stays as it was.

#include "MdbContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace katarix::mdbwriter;

namespace {

using I = std::int64_t;

struct BadCase {
    const char *name;
    Content content;
    WriteOptions options;
    const char *message; // part of the expected message
};

Table oneColumn(ColumnType type, Value v, int textSize = 255)
{
    return Table{"T", {{"K", type, textSize}}, {{std::move(v)}}};
}

std::vector<BadCase> badCases()
{
    std::vector<Table> tooWide(1, Table{"SZEROKI", {}, {{}}});
    for (int c = 0; c < 10; ++c) {
        tooWide[0].columns.push_back({"T" + std::to_string(c), ColumnType::Text, 255});
        std::string polish;
        for (int k = 0; k < 255; ++k)
            polish += "ż"; // does not shrink in the compressed form
        tooWide[0].rows[0].push_back(polish);
    }
    WriteOptions longPassword;
    longPassword.password = "abcdefghijABCDEFGHIJk";
    return {
        {"value_count", Content{{Table{"T", {{"A", ColumnType::Long}, {"B", ColumnType::Long}}, {{I(1)}}}}}, {},
         "Tabela „T”, wiersz 1: 1 wartości zamiast 2"},
        {"byte_range", Content{{oneColumn(ColumnType::Byte, I(256))}}, {}, "256 poza zakresem typu Byte"},
        {"integer_range", Content{{oneColumn(ColumnType::Integer, I(-32769))}}, {}, "poza zakresem typu Integer"},
        {"long_range", Content{{oneColumn(ColumnType::Long, I(1) << 31)}}, {}, "poza zakresem typu Long"},
        {"fraction_in_long", Content{{oneColumn(ColumnType::Long, 1.5)}}, {}, "nie jest liczbą całkowitą"},
        {"text_in_number", Content{{oneColumn(ColumnType::Double, std::string("1,5"))}}, {},
         "wiersz 1, kolumna „K”: tekst nie pasuje do typu Double"},
        {"number_in_text", Content{{oneColumn(ColumnType::Text, 1.0)}}, {}, "liczba nie pasuje do typu Text"},
        {"text_too_long", Content{{oneColumn(ColumnType::Text, std::string("Łódź"), 3)}}, {},
         "tekst ma 4 znaków, kolumna mieści 3"},
        {"bad_utf8", Content{{oneColumn(ColumnType::Memo, std::string("\xC5\x81\xFF"))}}, {},
         "nie jest poprawnym UTF-8"},
        {"text_size", Content{{oneColumn(ColumnType::Text, std::string("a"), 256)}}, {}, "1–255"},
        {"duplicate_table",
         Content{{Table{"GMINA", {{"A", ColumnType::Long}}, {}}, Table{"gmina", {{"A", ColumnType::Long}}, {}}}},
         {}, "Powtórzona tabela „gmina”"},
        {"duplicate_column", Content{{Table{"T", {{"ID", ColumnType::Long}, {"id", ColumnType::Text}}, {}}}}, {},
         "powtórzona kolumna „id”"},
        {"no_columns", Content{{Table{"T", {}, {}}}}, {}, "nie ma kolumn"},
        {"name_with_dot", Content{{Table{"DZIALKI.2024", {{"A", ColumnType::Long}}, {}}}}, {},
         "Tabela „DZIALKI.2024”: nazwa nie może zawierać znaków"},
        {"column_with_bracket", Content{{Table{"T", {{"A[1]", ColumnType::Long}}, {}}}}, {},
         "Kolumna tabeli „T” „A[1]”: nazwa nie może zawierać"},
        {"system_name", Content{{Table{"MSysCokolwiek", {{"A", ColumnType::Long}}, {}}}}, {}, "zarezerwowane"},
        {"row_too_big", Content{tooWide}, {}, "wiersz zajmuje"},
        {"password_length", Content{{oneColumn(ColumnType::Long, I(1))}}, longPassword, "najwyżej 20 znaków"},
        {"decimal_precision", Content{{Table{"T", {{"K", ColumnType::Decimal, 255, 29, 0}}, {}}}}, {},
         "precyzja Decimal musi mieścić się w przedziale 1–28"},
        {"decimal_scale", Content{{Table{"T", {{"K", ColumnType::Decimal, 255, 4, 5}}, {}}}}, {}, "skala w 0–precyzja"},
        {"decimal_beyond_scale", Content{{Table{"T", {{"K", ColumnType::Decimal, 255, 10, 2}}, {{std::string("1.234")}}}}},
         {}, "„1.234” nie jest liczbą dziesiętną o skali 2"},
        {"decimal_digits", Content{{Table{"T", {{"K", ColumnType::Decimal, 255, 5, 2}}, {{std::string("-1234.5")}}}}},
         {}, "liczba ma więcej cyfr niż precyzja 5"},
        {"decimal_integer_digits", Content{{Table{"T", {{"K", ColumnType::Decimal, 255, 3, 1}}, {{I(100)}}}}}, {},
         "więcej cyfr niż precyzja 3"},
        {"decimal_comma", Content{{oneColumn(ColumnType::Decimal, std::string("1,5"))}}, {}, "nie jest liczbą dziesiętną"},
        {"decimal_double", Content{{oneColumn(ColumnType::Decimal, 1.5)}}, {}, "liczba nie pasuje do typu Decimal"},
        {"guid_braces", Content{{oneColumn(ColumnType::Guid, std::string("8E39276A-BCA8-4AC4-891E-49911D8438DD"))}}, {},
         "nie jest identyfikatorem GUID"},
        {"guid_digit", Content{{oneColumn(ColumnType::Guid, std::string("{8E39276A-BCA8-4AC4-891E-49911D8438DG}"))}},
         {}, "nie jest identyfikatorem GUID"},
        {"currency_decimals", Content{{oneColumn(ColumnType::Currency, std::string("1.23456"))}}, {},
         "nie jest kwotą z najwyżej 4 miejscami po przecinku"},
        {"currency_text_range", Content{{oneColumn(ColumnType::Currency, std::string("922337203685477.5808"))}}, {},
         "kwota poza zakresem typu Currency"},
        {"ole_number", Content{{oneColumn(ColumnType::Ole, 1.0)}}, {}, "liczba nie pasuje do typu OLE"},
    };
}

TEST(WriterErrors, BadContentIsRefusedAndTheExistingFileKept)
{
    const fs::path path = fs::temp_directory_path() / ("mdbwriter_errors_" + std::to_string(::getpid()) + ".mdb");
    const std::string previous = "poprzednia zawartość";
    for (const BadCase &c : badCases()) {
        SCOPED_TRACE(c.name);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << previous;
        }
        try {
            writeJet4(c.content, path.string(), c.options);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error &e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        EXPECT_TRUE(s.str() == previous) << "the previous file was changed";
        EXPECT_FALSE(fs::exists(path.string() + ".tmp"));
    }
    fs::remove(path);
}

TEST(WriterErrors, UnwritableTargetIsReported)
{
    try {
        writeJet4(Content{{oneColumn(ColumnType::Long, I(1))}}, "/nonexistent-dir/baza.mdb");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("Nie można utworzyć pliku"), std::string::npos) << e.what();
    }
}

TEST(WriterOutput, SameContentAndDateGiveTheSameBytes)
{
    const fs::path a = fs::temp_directory_path() / ("mdbwriter_same_a_" + std::to_string(::getpid()) + ".mdb");
    const fs::path b = fs::temp_directory_path() / ("mdbwriter_same_b_" + std::to_string(::getpid()) + ".mdb");
    Content content{{Table{"T", {{"A", ColumnType::Memo}}, {{std::string(5000, 'q')}, {std::string("x")}}}}};
    WriteOptions options;
    options.password = "haslo";
    options.creationDate = 44000.125;
    writeJet4(content, a.string(), options);
    writeJet4(content, b.string(), options);
    auto bytes = [](const fs::path &p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    EXPECT_EQ(bytes(a), bytes(b));
    EXPECT_EQ(bytes(a).size() % 4096, 0u);
    fs::remove(a);
    fs::remove(b);
}

} // namespace
