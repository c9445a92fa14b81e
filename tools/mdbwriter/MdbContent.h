#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace katarix::mdbwriter {

// Access column types the writer produces.
// Hyperlink is a Memo flagged as such ("text#address#subaddress#"); Guid is a Replication ID.
enum class ColumnType {
    Boolean, Byte, Integer, Long, Currency, Single, Double, DateTime, Text, Memo, Decimal, Guid, Hyperlink, Ole
};

struct Column {
    std::string name;
    ColumnType type = ColumnType::Text;
    int textSize = 255; // Text: maximum characters (1..255)
    int precision = 18; // Decimal: digits in all (1..28)
    int scale = 0;      // Decimal: digits after the point (0..precision)
};

// monostate = NULL; bool; int64 (Byte/Integer/Long); double (Single/Double/Currency, and
// DateTime as OLE Automation days since 1899-12-30); UTF-8 string (Text/Memo/Hyperlink).
// Also accepted: int64 for Boolean (0 = false), Currency, Single, Double and DateTime, and an
// integral double within range for Byte/Integer/Long. A NULL Boolean is written as false (Jet
// keeps a Boolean only in the row's null mask). Currency is rounded to 4 decimal places.
// Decimal and Currency also take exact decimal text ("-1234.5678"), Decimal an int64 too; a
// value with more fractional digits than the scale, or more digits than the precision, is
// refused. Guid takes "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; Ole takes its bytes as a string.
using Value = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows;
};

struct Content {
    std::vector<Table> tables;
};

struct WriteOptions {
    std::string password; // empty: no database password; at most 20 characters
    // Creation date stored in the header (OLE Automation days); it also keys the password
    // mask. 0 = the current time. A fixed value makes the written file reproducible.
    double creationDate = 0.0;
    // Text and memo values in Jet's compressed Unicode form where it is shorter (as Access
    // stores them by default); false = plain UCS-2 throughout.
    bool compressText = true;
};

// Writes a Jet 4 (Access 2000) file. Throws std::runtime_error.
void writeJet4(const Content &content, const std::string &path, const WriteOptions &options = {});

// Reads the database password of a Jet 4 file back from its header ("" when there is none).
// Throws std::runtime_error when the file is not a Jet 4 database.
std::string readJet4Password(const std::string &path);

} // namespace katarix::mdbwriter
