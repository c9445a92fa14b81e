// The database password is stored the Jet 4 way: readers decode it, the right one opens the
// file, a wrong or missing one is refused, and the data stays readable.

#include "MdbContent.h"
#include "support/MdbReaders.h"
#include "common/RequiredTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace katarix::mdbwriter;
using namespace katarix::mdbwriter::test;

namespace {

Content smallContent()
{
    return Content{{Table{"OSFIZ",
                          {{"OSFIZ_ID", ColumnType::Double}, {"NAZWISKO", ColumnType::Text, 50}},
                          {{1.0, std::string("Kowalska-Żebrowska")}, {2.0, std::string("Nowak")}}}}};
}

std::string tempPath(const std::string &stem)
{
    return (fs::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + ".mdb")).string();
}

struct PasswordCase {
    const char *name;
    std::string password;      // written
    double creationDate;       // 0 = now
};

void PrintTo(const PasswordCase &c, std::ostream *os)
{
    *os << c.name;
}

class Password : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(Password, IsDecodedByBothOurHelperAndMdbReader)
{
    const PasswordCase &c = GetParam();
    const std::string path = tempPath(std::string("mdbwriter_pw_") + c.name);
    WriteOptions options;
    options.password = c.password;
    options.creationDate = c.creationDate;
    writeJet4(smallContent(), path, options);

    EXPECT_EQ(readJet4Password(path), c.password);

    // libmdb does not check Jet 4 passwords; the pages themselves are not encrypted.
    const ReadDatabase viaLibmdb = readWithLibmdb(path);
    ASSERT_EQ(viaLibmdb.count("OSFIZ"), 1u);
    EXPECT_EQ(viaLibmdb.at("OSFIZ").rows.at(0).at(1), "s:Kowalska-Żebrowska");

    if (!nodeReaderAvailable())
        fs::remove(path);
    KATARIX_REQUIRE_TOOL(nodeReaderAvailable(), "the Node.js .mdb reader is missing (node or tests/mdbwriter/xcheck/node_modules); run scripts/setup.sh (it runs scripts/setup-npm.sh)");
    const NodeResult right = readWithMdbReader(path, c.password);
    EXPECT_EQ(right.exitCode, 0) << right.error;
    EXPECT_EQ(right.password, c.password);
    ASSERT_EQ(right.tables.count("OSFIZ"), 1u);
    EXPECT_EQ(right.tables.at("OSFIZ").rows.at(1).at(1), "s:Nowak");

    for (const std::optional<std::string> &wrong :
         {std::optional<std::string>(c.password + "x"), std::optional<std::string>("inne"),
          std::optional<std::string>()}) {
        if (wrong.value_or("") == c.password)
            continue;
        const NodeResult refused = readWithMdbReader(path, wrong);
        EXPECT_EQ(refused.exitCode, 2) << "password " << wrong.value_or("(none)");
        EXPECT_NE(refused.error.find("Wrong password"), std::string::npos);
    }
    fs::remove(path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Password,
    ::testing::Values(PasswordCase{"none", "", 45000.5},
                      PasswordCase{"polish", "Hasło_Gminy_Łęczyca", 0.0},
                      PasswordCase{"twenty_chars", "abcdefghijABCDEFGHIJ", 39083.25},
                      PasswordCase{"old_date", "x", 2.5}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PasswordHelper, RefusesAFileThatIsNotJet4)
{
    const std::string path = tempPath("mdbwriter_not_jet");
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(4096, 'x');
    }
    EXPECT_THROW(readJet4Password(path), std::runtime_error);
    fs::remove(path);
}

} // namespace
