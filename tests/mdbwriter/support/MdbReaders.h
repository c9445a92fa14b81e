#pragma once

// Reads .mdb files back through libmdb and through the independent mdb-reader (node), in one
// canonical cell form shared with the values the tests write:
// "NULL", "true"/"false", integers in decimal, Currency as value * 10000, Single "f:<bits>",
// Double "d:<bits>" (hex of the IEEE bits), DateTime "t:<ms since 1970, as JavaScript rounds>",
// text "s:<UTF-8>", Decimal "n:<shortest exact decimal>", GUID "g:{<upper-case hex>}", OLE
// "b:<hex of the bytes>".

#include "MdbContent.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace katarix::mdbwriter::test {

struct ReadColumn {
    std::string name;
    std::string type; // Boolean, Byte, ..., Text, Memo, Decimal, GUID, OLE (a hyperlink reads as Memo)
    int textSize = 0; // Text: characters
};

struct ReadTable {
    std::uint32_t rowCount = 0; // as the table definition says
    std::vector<ReadColumn> columns;
    std::vector<std::vector<std::string>> rows;
};

using ReadDatabase = std::map<std::string, ReadTable>; // user tables only

std::string canonical(ColumnType type, const Value &value);
std::string typeName(ColumnType type);
std::string doubleBits(double v);
std::string floatBits(float v);
std::string dateMillis(double oleDays);
std::string decimalText(const std::string &text); // "-012.50" -> "n:-12.5"
std::string hexBytes(const std::string &bytes);

// Throws std::runtime_error when libmdb cannot open the file.
ReadDatabase readWithLibmdb(const std::string &path);

struct NodeResult {
    int exitCode = -1;
    std::string error; // stderr
    std::string password;
    ReadDatabase tables;
};

// Directory of the node project, or empty when its node_modules is missing.
std::string xcheckDir();
// True when node is on the PATH and the node project is installed.
bool nodeReaderAvailable();
NodeResult readWithMdbReader(const std::string &path, const std::optional<std::string> &password = {});

} // namespace katarix::mdbwriter::test
