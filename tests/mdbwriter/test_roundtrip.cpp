// Files written by the writer read back identically through libmdb and through mdb-reader.

#include "MdbContent.h"
#include "support/MdbReaders.h"
#include "common/RequiredTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace katarix::mdbwriter;
using namespace katarix::mdbwriter::test;

namespace {

using I = std::int64_t;
const Value Null{};

std::string repeat(const std::string &piece, std::size_t times)
{
    std::string s;
    for (std::size_t i = 0; i < times; ++i)
        s += piece;
    return s;
}

// One file that holds every case: all column types, NULL against 0 and '', Polish text,
// memo values inline, on one long-value page and spread over many, doubles that need 17
// digits, a large table, a table without variable columns, an empty table, a table wide
// enough to need two definition pages and many register-like tables.
Content sampleContent()
{
    Content content;

    Table types{"TYPY",
                {{"LOGICZNA", ColumnType::Boolean},
                 {"BAJT", ColumnType::Byte},
                 {"CALKOWITA", ColumnType::Integer},
                 {"DLUGA", ColumnType::Long},
                 {"KWOTA", ColumnType::Currency},
                 {"POJEDYNCZA", ColumnType::Single},
                 {"PODWOJNA", ColumnType::Double},
                 {"DATA", ColumnType::DateTime},
                 {"NAZWA", ColumnType::Text, 255},
                 {"OPIS", ColumnType::Memo}},
                {}};
    types.rows = {
        {true, I(7), I(-5), I(42), 12.34, 1.5, 0.1 + 0.2, 45000.75, std::string("Zażółć gęślą jaźń"),
         std::string("krótki opis")},
        {Null, Null, Null, Null, Null, Null, Null, Null, Null, Null},
        {false, I(0), I(0), I(0), 0.0, 0.0, 0.0, 0.0, std::string(""), std::string("")},
        {true, I(255), I(-32768), I(std::numeric_limits<std::int32_t>::min()), -92233720368.5477, -3.4e38,
         1e-300, -1.5, repeat("Ź", 255), std::string(32, 'm')},
        {false, I(1), I(32767), I(std::numeric_limits<std::int32_t>::max()), 0.0001, 1e-45,
         123456789.123456789, 2958465.99998843, std::string("ŻÓŁTA ĆMA, ŁĄKA; \"cytat\"\tz\nnową linią"),
         std::string(33, 'n')},
        {Null, I(128), I(-1), I(-1), I(15), 3.14159274, 5e-324, 36526.0, std::string("ż"),
         repeat("Średnia notatka ", 120)},
        {true, Null, Null, Null, Null, Null, -0.0, Null, Null, repeat("Długa notatka o działce ", 3000)},
        {false, Null, Null, Null, Null, Null, DBL_MAX, Null, Null, repeat("ą", 40000)},
        // U+0100 and U+0400 have a zero low byte and keep a text uncompressed; a leading U+FEFF
        // must not be taken for the compressed-text mark.
        {true, Null, Null, Null, Null, Null, 1.0, Null, std::string("Ādam Ѐ"), std::string("\xEF\xBB\xBFznak BOM")},
        {true, Null, Null, Null, Null, Null, 2.0, Null, std::string("\xEF\xBB\xBF"), repeat("ASCII notatka ", 70)},
    };
    content.tables.push_back(types);

    Table big{"DZIALKI_DUZE",
              {{"MSLINK", ColumnType::Double},
               {"NUMER", ColumnType::Text, 30},
               {"ZMIANA_KAS_ID", ColumnType::Long},
               {"AREA", ColumnType::Double},
               {"POLOZENIE", ColumnType::Text, 100},
               {"UWAGI", ColumnType::Memo}},
              {}};
    // Large enough (over 512 data pages) for the usage map that points to bitmap pages.
    for (int i = 0; i < 20000; ++i) {
        big.rows.push_back({double(i) + 0.5, std::to_string(i % 700) + "/" + std::to_string(i % 13 + 1),
                            i % 5 == 0 ? Null : Value(I(i)), std::sqrt(double(i)),
                            "Obręb Łęczyca-Południe, arkusz " + std::to_string(i % 31) + ", działka nr " + std::to_string(i),
                            i % 97 == 0 ? Value(repeat("uwaga ", 30 + i % 50)) : Null});
    }
    content.tables.push_back(big);

    Table fixedOnly{"TYLKO_STALE", {{"A", ColumnType::Long}, {"B", ColumnType::Boolean}, {"C", ColumnType::Double}}, {}};
    for (int i = 0; i < 600; ++i)
        fixedOnly.rows.push_back({I(i), i % 2 == 0, i % 3 == 0 ? Null : Value(double(i) / 3)});
    content.tables.push_back(fixedOnly);

    // Rows so small that the 255-rows-per-page limit, not the space, fills the pages.
    Table tiny{"MALE_WIERSZE", {{"B", ColumnType::Byte}}, {}};
    for (int i = 0; i < 1000; ++i)
        tiny.rows.push_back({I(i % 256)});
    content.tables.push_back(tiny);

    content.tables.push_back(Table{"PUSTA", {{"ID", ColumnType::Long}, {"NAZWA", ColumnType::Text, 10}}, {}});

    Table wide{"SZEROKA_TABELA_ŁĄK", {}, {}};
    std::vector<Value> wideRow;
    for (int c = 0; c < 120; ++c) {
        const bool text = c % 3 == 0;
        wide.columns.push_back({"KOLUMNA_NUMER_" + std::to_string(c), text ? ColumnType::Text : ColumnType::Long, 8});
        wideRow.push_back(text ? Value(std::string("k") + std::to_string(c)) : Value(I(c * 1000)));
    }
    wide.rows = {wideRow, wideRow};
    content.tables.push_back(wide);

    for (int t = 0; t < 60; ++t) {
        Table reg{"REJESTR_TABELA_" + std::to_string(100 + t),
                  {{"ID", ColumnType::Long},
                   {"ZMIANA_ID", ColumnType::Double},
                   {"ZMIANA_KAS_ID", ColumnType::Double},
                   {"OPIS", ColumnType::Text, 40}},
                  {}};
        for (int r = 0; r < 3 + t % 4; ++r)
            reg.rows.push_back({I(r), double(t * 10 + r), r == 0 ? Null : Value(0.0),
                                std::string("wpis ") + std::to_string(t) + "." + std::to_string(r)});
        content.tables.push_back(reg);
    }
    return content;
}

struct Reader {
    const char *name;
    std::function<ReadDatabase(const std::string &)> read;
    bool compressText;
};

void PrintTo(const Reader &reader, std::ostream *os)
{
    *os << reader.name;
}

// The same content written twice: text in plain UCS-2 and in Jet's compressed form.
class RoundTrip : public ::testing::TestWithParam<Reader> {
protected:
    static void SetUpTestSuite()
    {
        content_ = new Content(sampleContent());
        for (bool compress : {false, true}) {
            path_[compress] = (fs::temp_directory_path() / ("mdbwriter_roundtrip_" + std::to_string(::getpid()) +
                                                           (compress ? "_z" : "") + ".mdb"))
                                  .string();
            WriteOptions options;
            options.compressText = compress;
            writeJet4(*content_, path_[compress], options);
        }
    }
    static void TearDownTestSuite()
    {
        for (const std::string &p : path_)
            fs::remove(p);
        delete content_;
    }
    static inline Content *content_ = nullptr;
    static inline std::string path_[2];
};

TEST_P(RoundTrip, EveryTableReadsBackAsWritten)
{
    const Reader &reader = GetParam();
    if (std::string(reader.name).starts_with("mdbreader"))
        KATARIX_REQUIRE_TOOL(nodeReaderAvailable(), "the Node.js .mdb reader is missing (node or tests/mdbwriter/xcheck/node_modules); run scripts/setup.sh (it runs scripts/setup-npm.sh)");
    const std::string &path = path_[reader.compressText];
    if (reader.compressText) {
        EXPECT_LT(fs::file_size(path), fs::file_size(path_[false]) * 9 / 10);
    }
    const ReadDatabase db = reader.read(path);

    std::vector<std::string> expectedNames, readNames;
    for (const Table &t : content_->tables)
        expectedNames.push_back(t.name);
    for (const auto &[name, table] : db)
        readNames.push_back(name);
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(readNames, expectedNames);

    for (const Table &t : content_->tables) {
        SCOPED_TRACE(t.name);
        const auto it = db.find(t.name);
        ASSERT_NE(it, db.end());
        const ReadTable &read = it->second;
        EXPECT_EQ(read.rowCount, t.rows.size());
        ASSERT_EQ(read.columns.size(), t.columns.size());
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            EXPECT_EQ(read.columns[c].name, t.columns[c].name);
            EXPECT_EQ(read.columns[c].type, typeName(t.columns[c].type));
            if (t.columns[c].type == ColumnType::Text) {
                EXPECT_EQ(read.columns[c].textSize, t.columns[c].textSize);
            }
        }
        ASSERT_EQ(read.rows.size(), t.rows.size());
        int mismatches = 0;
        for (std::size_t r = 0; r < t.rows.size() && mismatches < 5; ++r) {
            for (std::size_t c = 0; c < t.columns.size(); ++c) {
                const std::string expected = canonical(t.columns[c].type, t.rows[r][c]);
                if (read.rows[r][c] != expected) {
                    ++mismatches;
                    ADD_FAILURE() << "row " << r << " column " << t.columns[c].name << ": read "
                                  << read.rows[r][c].substr(0, 80) << ", wrote " << expected.substr(0, 80);
                }
            }
        }
    }
}

ReadDatabase viaMdbReader(const std::string &path)
{
    NodeResult r = readWithMdbReader(path);
    if (r.exitCode != 0)
        throw std::runtime_error("mdb-reader: " + r.error);
    return r.tables;
}

INSTANTIATE_TEST_SUITE_P(Readers, RoundTrip,
                         ::testing::Values(Reader{"libmdb_plain", readWithLibmdb, false},
                                           Reader{"libmdb_compressed", readWithLibmdb, true},
                                           Reader{"mdbreader_plain", viaMdbReader, false},
                                           Reader{"mdbreader_compressed", viaMdbReader, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RoundTripFile, IsAJet4DatabaseForMdbTools)
{
    const std::string path = (fs::temp_directory_path() / ("mdbwriter_version_" + std::to_string(::getpid()) + ".mdb")).string();
    writeJet4(Content{{Table{"A", {{"X", ColumnType::Long}}, {{I(1)}}}}}, path);
    FILE *p = ::popen(("mdb-ver '" + path + "' 2>&1").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[64] = {};
    const std::size_t n = std::fread(buf, 1, sizeof buf - 1, p);
    ::pclose(p);
    fs::remove(path);
    EXPECT_EQ(std::string(buf, n), "JET4\n");
}

} // namespace
