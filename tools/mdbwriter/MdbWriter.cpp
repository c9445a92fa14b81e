// Jet 4 (Access 2000) database writer.
//
// File layout facts this writer relies on (all integers little-endian, pages of 4096 bytes):
//
// Page 0, database header. Bytes 0..3 = 00 01 00 00, 4..19 = "Standard Jet DB\0", 0x14 = 1
// (Jet 4). The 128 bytes from 0x18 are RC4-encrypted with the fixed key C7 DA 39 6B; inside
// that region: 0x3C code page (16 bit), 0x3E page-encryption key (32 bit, 0 = pages stored in
// clear), 0x42 password (40 bytes = 20 UCS-2 characters, zero padded), 0x6E default sort order
// (16 bit LCID + 16 bit version), 0x72 creation date (double, OLE days). Before the region is
// encrypted, the password bytes are XORed with a 4-byte mask repeated over the 40 bytes: the
// little-endian int32 of the integer part of the creation date. A file without a password
// stores the bare mask, so that unmasking yields zeros.
//
// Page 2 is the table definition (TDEF) of MSysObjects, the catalogue. Each catalogue row
// names an object: Id (its TDEF page for tables), ParentId, Name, Type (1 = table), Flags
// (0x80000002 marks system tables).
//
// TDEF page: 02 01, 16-bit free space, 32-bit next TDEF page (definitions longer than a page
// continue there after the next page's 8-byte header). From 8: definition length, unknown,
// row count (16), autonumber (20), 0x01 (24), table type 0x4E user / 0x53 system (40),
// max columns (41), variable column count (43), column count (45), index counts (47, 51),
// usage map and free-space map as page/row references (55, 59: page << 8 | row). Then per
// column 25 bytes: type (0), column number (5), variable column number (7), column number (9),
// sort order LCID for text (11) or precision (11) and scale (12) for Decimal, flags (15: 0x01
// fixed length, 0x02 nullable, 0x80 hyperlink), fixed offset (21), length in bytes (23). Then
// the names: 16-bit byte length + UCS-2.
//
// Data page: 01 01, 16-bit free space, 32-bit TDEF page (or "LVAL" for long-value pages),
// 4 unknown bytes, 16-bit row count at 12, 16-bit row offsets from 14. Rows are packed from
// the end of the page down; row i ends where row i-1 starts (row 0 at the page end).
//
// Row: 16-bit column count, fixed columns at their fixed offsets, variable columns in order,
// then (only if the table has variable columns) the 16-bit end-of-data offset, the variable
// column start offsets in reverse order, the 16-bit variable column count; last the null mask,
// one bit per column number, LSB first, 1 = present. Boolean values live only in that mask.
//
// Decimal (17 bytes): sign byte (0x80 negative), then the unsigned 128-bit mantissa as four
// 32-bit little-endian words, the most significant first; the value is mantissa / 10^scale.
// GUID (16 bytes): the first three groups little-endian, the last eight bytes as written.
//
// Memo and OLE field (12 bytes in the row): 24-bit byte length, flag byte (0x80 data follows inline,
// 0x40 data is the whole of one LVAL row, 0x00 data is a chain of LVAL rows each starting with
// the 32-bit page/row reference of the next, 0 at the end), 32-bit page/row reference, 4 zero
// bytes. Text is UCS-2, or in the compressed form: FF FE, then bytes read one per character
// (the character's low byte, high byte 0) until a 00 byte switches to two bytes per character;
// each further 00 switches back. A character whose low byte is 00 cannot be written compressed,
// and Jet compresses memo values only up to 1024 characters. Columns that may hold compressed
// text carry 0x01 in the column's byte 16.
//
// Usage map (a row on a data page): type 0 = 00, 32-bit first page, 64-byte bitmap (bit n =
// first page + n); type 1 = 01 followed by 17 page numbers of 0x05 pages, the k-th mapping pages
// k*32736 .. (k+1)*32736-1 with a bitmap from byte 4 of that page.

#include "MdbContent.h"
#include "jet/Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

namespace katarix::mdbwriter {
namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kDataHeader = 14;       // data page bytes before the row offset table
constexpr int kMaxRowsPerPage = 255;          // row numbers are one byte in references
constexpr std::size_t kMaxRowSize = kPageSize - kDataHeader - 2;
constexpr std::size_t kInlineMemoMax = 64;    // memo bytes kept inside the row
constexpr std::size_t kChainChunk = kMaxRowSize - 4;
constexpr std::size_t kMaxMemoBytes = 0xFFFFFF;
constexpr std::size_t kTdefChunk = kPageSize - 8;
constexpr std::size_t kMapBytes = 64;         // inline usage bitmap
constexpr std::size_t kMapPagesPerRow = 17;   // references in a type 1 usage map
constexpr std::uint32_t kBitsPerMapPage = (kPageSize - 4) * 8;
constexpr std::uint16_t kSortGeneral = 0x0409;
constexpr std::uint16_t kCodePagePolish = 1250;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordBytes = 40;
constexpr std::size_t kCryptStart = 0x18;
constexpr std::size_t kCryptLength = 128;
constexpr std::size_t kDateOffset = 0x72;
constexpr std::array<std::uint8_t, 4> kHeaderKey{0xC7, 0xDA, 0x39, 0x6B};

// Raw column type codes.
enum : std::uint8_t {
    kBool = 0x01, kByte = 0x02, kInt = 0x03, kLong = 0x04, kMoney = 0x05, kFloat = 0x06,
    kDouble = 0x07, kDateTime = 0x08, kBinary = 0x09, kText = 0x0A, kOle = 0x0B, kMemo = 0x0C,
    kGuid = 0x0F, kNumeric = 0x10
};

constexpr int kMaxPrecision = 28;

using Page = std::array<std::uint8_t, kPageSize>;

void put16(std::uint8_t *p, std::size_t at, std::uint32_t v)
{
    p[at] = std::uint8_t(v);
    p[at + 1] = std::uint8_t(v >> 8);
}

void put32(std::uint8_t *p, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[at + i] = std::uint8_t(v >> (8 * i));
}

void put64(std::uint8_t *p, std::size_t at, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[at + i] = std::uint8_t(v >> (8 * i));
}

void append16(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void rc4(const std::uint8_t *key, std::size_t keyLength, std::uint8_t *data, std::size_t length)
{
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = std::uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    int i = 0, j = 0;
    for (std::size_t n = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xFF];
    }
}

[[noreturn]] void fail(const std::string &message)
{
    throw std::runtime_error(message);
}

// Appends the UTF-8 text as UCS-2 (UTF-16LE) and returns the number of 16-bit units,
// or -1 when the text is not valid UTF-8.
long appendUcs2(std::string_view text, std::vector<std::uint8_t> &out)
{
    long units = 0;
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        std::uint32_t c = s[i];
        if (c < 0x80) {
            out.push_back(std::uint8_t(c));
            out.push_back(0);
            ++units;
            ++i;
            continue;
        }
        int extra;
        std::uint32_t min;
        if ((c & 0xE0) == 0xC0) { extra = 1; c &= 0x1F; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { extra = 2; c &= 0x0F; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { extra = 3; c &= 0x07; min = 0x10000; }
        else return -1;
        if (i + extra >= n)
            return -1;
        for (int k = 1; k <= extra; ++k) {
            const std::uint32_t b = s[i + k];
            if ((b & 0xC0) != 0x80)
                return -1;
            c = (c << 6) | (b & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return -1;
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            append16(out, 0xD800 | (c >> 10));
            append16(out, 0xDC00 | (c & 0x3FF));
            units += 2;
        } else {
            append16(out, c);
            ++units;
        }
    }
    return units;
}

std::vector<std::uint8_t> ucs2(std::string_view text, const std::string &what)
{
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    if (appendUcs2(text, out) < 0)
        fail(what + ": tekst nie jest poprawnym UTF-8.");
    return out;
}

constexpr std::size_t kMaxCompressedMemoChars = 1024;

// Rewrites the UCS-2 text in out[start..] in the compressed form when that is shorter (or
// when the text begins with U+FEFF, whose plain bytes FF FE would read as the compressed mark).
void compressUcs2(std::vector<std::uint8_t> &out, std::size_t start, std::vector<std::uint8_t> &scratch)
{
    const std::size_t plain = out.size() - start;
    if (plain == 0)
        return;
    const bool bomFirst = out[start] == 0xFF && out[start + 1] == 0xFE;
    scratch.clear();
    scratch.push_back(0xFF);
    scratch.push_back(0xFE);
    bool compressed = true;
    for (std::size_t i = start; i < out.size(); i += 2) {
        const std::uint8_t low = out[i], high = out[i + 1];
        if (low == 0)
            return; // not representable; keep the plain form
        if (high == 0) {
            if (!compressed) {
                scratch.push_back(0);
                compressed = true;
            }
            scratch.push_back(low);
        } else {
            if (compressed) {
                scratch.push_back(0);
                compressed = false;
            }
            scratch.push_back(low);
            scratch.push_back(high);
        }
        if (scratch.size() >= plain && !bomFirst)
            return;
    }
    out.resize(start);
    out.insert(out.end(), scratch.begin(), scratch.end());
}

std::string utf8FromUcs2(const std::uint8_t *p, std::size_t bytes)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        std::uint32_t c = p[i] | (p[i + 1] << 8);
        if (c == 0)
            break;
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes) {
            const std::uint32_t low = p[i + 2] | (p[i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        jet::appendUtf8(out, char32_t(c));
    }
    return out;
}

std::string typeName(std::uint8_t code)
{
    switch (code) {
    case kBool: return "Boolean";
    case kByte: return "Byte";
    case kInt: return "Integer";
    case kLong: return "Long";
    case kMoney: return "Currency";
    case kFloat: return "Single";
    case kDouble: return "Double";
    case kDateTime: return "DateTime";
    case kText: return "Text";
    case kMemo: return "Memo";
    case kBinary: return "Binary";
    case kNumeric: return "Decimal";
    case kGuid: return "GUID";
    default: return "OLE";
    }
}

struct ColumnLayout {
    std::string name;
    std::uint8_t code = kText;
    std::uint16_t size = 0;    // bytes; Text: 2 * characters
    bool fixed = false;
    std::uint16_t number = 0;  // position in the row's null mask
    std::uint16_t fixedOffset = 0;
    std::uint16_t varIndex = 0;
    std::uint8_t precision = 0; // Decimal
    std::uint8_t scale = 0;
    bool hyperlink = false;
};

struct TableLayout {
    std::string name;
    bool system = false;
    bool compressText = false;
    std::vector<ColumnLayout> columns;
    std::vector<std::size_t> fixedOrder; // indices of fixed columns by offset
    std::vector<std::size_t> varOrder;   // indices of variable columns by number
    std::size_t fixedBytes = 0;
};

TableLayout makeLayout(std::string name, bool system,
                       const std::vector<std::tuple<std::string, std::uint8_t, std::uint16_t>> &cols)
{
    TableLayout t;
    t.name = std::move(name);
    t.system = system;
    for (const auto &[colName, code, size] : cols) {
        ColumnLayout c;
        c.name = colName;
        c.code = code;
        c.size = size;
        c.fixed = code != kText && code != kMemo && code != kBinary && code != kOle;
        c.number = std::uint16_t(t.columns.size());
        if (c.fixed) {
            c.fixedOffset = std::uint16_t(t.fixedBytes);
            t.fixedBytes += c.size;
            t.fixedOrder.push_back(t.columns.size());
        } else {
            c.varIndex = std::uint16_t(t.varOrder.size());
            t.varOrder.push_back(t.columns.size());
        }
        t.columns.push_back(std::move(c));
    }
    return t;
}

std::uint16_t fixedSize(std::uint8_t code)
{
    switch (code) {
    case kBool: return 0;
    case kByte: return 1;
    case kInt: return 2;
    case kLong: case kFloat: return 4;
    case kGuid: return 16;
    case kNumeric: return 17;
    default: return 8;
    }
}

std::uint8_t codeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return kBool;
    case ColumnType::Byte: return kByte;
    case ColumnType::Integer: return kInt;
    case ColumnType::Long: return kLong;
    case ColumnType::Currency: return kMoney;
    case ColumnType::Single: return kFloat;
    case ColumnType::Double: return kDouble;
    case ColumnType::DateTime: return kDateTime;
    case ColumnType::Text: return kText;
    case ColumnType::Memo: return kMemo;
    case ColumnType::Decimal: return kNumeric;
    case ColumnType::Guid: return kGuid;
    case ColumnType::Hyperlink: return kMemo;
    case ColumnType::Ole: return kOle;
    }
    return kText;
}

std::string upperAscii(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

void checkName(const std::string &name, const std::string &what)
{
    if (name.empty())
        fail(what + ": nazwa nie może być pusta.");
    std::vector<std::uint8_t> units;
    const long n = appendUcs2(name, units);
    if (n < 0)
        fail(what + " „" + name + "”: nazwa nie jest poprawnym UTF-8.");
    if (n > 64)
        fail(what + " „" + name + "”: nazwa dłuższa niż 64 znaki.");
    // Access refuses these in object and column names.
    if (name.front() == ' ')
        fail(what + " „" + name + "”: nazwa nie może zaczynać się od spacji.");
    for (const unsigned char c : name) {
        if (c < 0x20 || c == '.' || c == '!' || c == '`' || c == '[' || c == ']')
            fail(what + " „" + name + "”: nazwa nie może zawierać znaków . ! ` [ ] ani znaków sterujących.");
    }
}

TableLayout layoutOf(const Table &table)
{
    checkName(table.name, "Tabela");
    if (upperAscii(table.name).rfind("MSYS", 0) == 0)
        fail("Tabela „" + table.name + "”: nazwy zaczynające się od MSys są zarezerwowane.");
    if (table.columns.empty())
        fail("Tabela „" + table.name + "” nie ma kolumn.");
    if (table.columns.size() > 255)
        fail("Tabela „" + table.name + "” ma więcej niż 255 kolumn.");
    std::vector<std::tuple<std::string, std::uint8_t, std::uint16_t>> cols;
    std::unordered_set<std::string> seen;
    for (const Column &c : table.columns) {
        checkName(c.name, "Kolumna tabeli „" + table.name + "”");
        if (!seen.insert(upperAscii(c.name)).second)
            fail("Tabela „" + table.name + "”: powtórzona kolumna „" + c.name + "”.");
        const std::uint8_t code = codeOf(c.type);
        std::uint16_t size = 0;
        if (code == kText) {
            if (c.textSize < 1 || c.textSize > 255)
                fail("Tabela „" + table.name + "”, kolumna „" + c.name +
                     "”: rozmiar tekstu musi mieścić się w przedziale 1–255.");
            size = std::uint16_t(c.textSize * 2);
        } else if (code != kMemo && code != kOle) {
            size = fixedSize(code);
        }
        if (code == kNumeric && (c.precision < 1 || c.precision > kMaxPrecision || c.scale < 0 || c.scale > c.precision))
            fail("Tabela „" + table.name + "”, kolumna „" + c.name +
                 "”: precyzja Decimal musi mieścić się w przedziale 1–28, a skala w 0–precyzja.");
        cols.emplace_back(c.name, code, size);
    }
    TableLayout layout = makeLayout(table.name, false, cols);
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const Column &c = table.columns[i];
        ColumnLayout &l = layout.columns[i];
        l.hyperlink = c.type == ColumnType::Hyperlink;
        if (l.code == kNumeric) {
            l.precision = std::uint8_t(c.precision);
            l.scale = std::uint8_t(c.scale);
        }
    }
    return layout;
}

// Rows of the catalogue and the empty system tables readers and Access expect to find.
TableLayout msysObjectsLayout()
{
    return makeLayout("MSysObjects", true,
                      {{"Id", kLong, 4},           {"ParentId", kLong, 4},
                       {"Name", kText, 510},       {"Owner", kBinary, 255},
                       {"DateCreate", kDateTime, 8}, {"DateUpdate", kDateTime, 8},
                       {"Type", kInt, 2},          {"Flags", kLong, 4},
                       {"ForeignName", kMemo, 0},  {"RmtInfoShort", kBinary, 255},
                       {"RmtInfoLong", kOle, 0},   {"Lv", kOle, 0},
                       {"LvProp", kOle, 0},        {"LvModule", kOle, 0},
                       {"LvExtra", kOle, 0},       {"Connect", kMemo, 0},
                       {"Database", kMemo, 0}});
}

std::vector<TableLayout> otherSystemLayouts()
{
    return {
        makeLayout("MSysACEs", true,
                   {{"ACM", kLong, 4}, {"FInheritable", kBool, 0}, {"ObjectId", kLong, 4},
                    {"SID", kBinary, 255}}),
        makeLayout("MSysQueries", true,
                   {{"Attribute", kByte, 1}, {"Expression", kMemo, 0}, {"Flag", kInt, 2},
                    {"LvExtra", kOle, 0}, {"Name1", kMemo, 0}, {"Name2", kMemo, 0},
                    {"ObjectId", kLong, 4}, {"Order", kBinary, 255}}),
        makeLayout("MSysRelationships", true,
                   {{"ccolumn", kLong, 4}, {"grbit", kLong, 4}, {"icolumn", kLong, 4},
                    {"szColumn", kText, 128}, {"szObject", kText, 128},
                    {"szReferencedColumn", kText, 128}, {"szReferencedObject", kText, 128},
                    {"szRelationship", kText, 128}}),
    };
}

// Bytes of a table definition that follow the 8-byte page header.
std::vector<std::uint8_t> tdefBody(const TableLayout &t, std::uint32_t rowCount, std::uint32_t usedMap,
                                   std::uint32_t freeMap)
{
    std::vector<std::uint8_t> b(63 - 8, 0);
    auto at = [&](std::size_t pageOffset) { return pageOffset - 8; };
    put32(b.data(), at(16), rowCount);
    b[at(24)] = 0x01;
    b[at(40)] = t.system ? 0x53 : 0x4E;
    put16(b.data(), at(41), std::uint32_t(t.columns.size()));
    put16(b.data(), at(43), std::uint32_t(t.varOrder.size()));
    put16(b.data(), at(45), std::uint32_t(t.columns.size()));
    put32(b.data(), at(55), usedMap);
    put32(b.data(), at(59), freeMap);
    for (const ColumnLayout &c : t.columns) {
        std::uint8_t e[25] = {};
        e[0] = c.code;
        put16(e, 5, c.number);
        put16(e, 7, c.fixed ? 0 : c.varIndex);
        put16(e, 9, c.number);
        if (c.code == kText || c.code == kMemo) {
            put16(e, 11, kSortGeneral);
            e[16] = t.compressText ? 0x01 : 0x00;
        } else if (c.code == kNumeric) {
            e[11] = c.precision;
            e[12] = c.scale;
        }
        e[15] = std::uint8_t((c.fixed ? 0x01 : 0x00) | 0x02 | (c.hyperlink ? 0x80 : 0x00));
        put16(e, 21, c.fixed ? c.fixedOffset : 0);
        put16(e, 23, c.size);
        b.insert(b.end(), e, e + 25);
    }
    for (const ColumnLayout &c : t.columns) {
        const auto name = ucs2(c.name, "Kolumna");
        append16(b, std::uint32_t(name.size()));
        b.insert(b.end(), name.begin(), name.end());
    }
    append16(b, 0xFFFF);
    put32(b.data(), 0, std::uint32_t(b.size()));
    return b;
}

std::size_t tdefPageCount(const TableLayout &t)
{
    return (tdefBody(t, 0, 0, 0).size() + kTdefChunk - 1) / kTdefChunk;
}

class FileImage {
public:
    std::uint32_t allocate()
    {
        pages_.push_back(std::make_unique<Page>());
        return std::uint32_t(pages_.size() - 1);
    }
    std::uint8_t *page(std::uint32_t n) { return pages_[n]->data(); }
    std::size_t count() const { return pages_.size(); }

    void save(const std::string &path) const
    {
        namespace fs = std::filesystem;
        const fs::path target(path);
        fs::path temp = target;
        temp += ".tmp";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out)
                fail("Nie można utworzyć pliku „" + temp.string() + "”.");
            for (const auto &p : pages_)
                out.write(reinterpret_cast<const char *>(p->data()), std::streamsize(kPageSize));
            out.flush();
            if (!out) {
                out.close();
                std::error_code ignored;
                fs::remove(temp, ignored);
                fail("Błąd zapisu pliku „" + temp.string() + "”.");
            }
        }
        std::error_code ec;
        fs::rename(temp, target, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            fail("Nie można zapisać pliku „" + path + "”: " + ec.message());
        }
    }

private:
    std::vector<std::unique_ptr<Page>> pages_;
};

// Fills data pages with rows; each page carries `owner` (a TDEF page number or "LVAL").
class RowPacker {
public:
    RowPacker(FileImage &image, std::uint32_t owner, bool lval = false)
        : image_(image), owner_(owner), lval_(lval) {}

    // Returns the page/row reference of the stored row.
    std::uint32_t add(const std::uint8_t *row, std::size_t length)
    {
        if (current_ == 0 || rows_ == kMaxRowsPerPage || top_ < kDataHeader + 2 * (rows_ + 1) + length)
            startPage();
        std::uint8_t *p = image_.page(current_);
        top_ -= length;
        std::memcpy(p + top_, row, length);
        put16(p, kDataHeader + 2 * rows_, std::uint32_t(top_));
        ++rows_;
        put16(p, 12, std::uint32_t(rows_));
        put16(p, 2, std::uint32_t(top_ - (kDataHeader + 2 * rows_)));
        return (current_ << 8) | std::uint32_t(rows_ - 1);
    }

    // Starts the next row on a fresh page (used for chained long values).
    void breakPage() { current_ = 0; }
    void usePage(std::uint32_t page)
    {
        current_ = page;
        initPage();
    }
    const std::vector<std::uint32_t> &pages() const { return pages_; }

private:
    void startPage()
    {
        current_ = image_.allocate();
        initPage();
    }
    void initPage()
    {
        std::uint8_t *p = image_.page(current_);
        p[0] = 0x01;
        p[1] = 0x01;
        if (lval_)
            std::memcpy(p + 4, "LVAL", 4);
        else
            put32(p, 4, owner_);
        rows_ = 0;
        top_ = kPageSize;
        put16(p, 2, std::uint32_t(top_ - kDataHeader));
        pages_.push_back(current_);
    }

    FileImage &image_;
    std::uint32_t owner_;
    bool lval_;
    std::uint32_t current_ = 0;
    int rows_ = 0;
    std::size_t top_ = kPageSize;
    std::vector<std::uint32_t> pages_;
};

std::string cellName(const TableLayout &t, std::size_t row, const ColumnLayout &c)
{
    return "Tabela „" + t.name + "”, wiersz " + std::to_string(row + 1) + ", kolumna „" + c.name + "”";
}

const char *valueKind(const Value &v)
{
    switch (v.index()) {
    case 1: return "wartość logiczna";
    case 2: return "liczba całkowita";
    case 3: return "liczba";
    case 4: return "tekst";
    default: return "NULL";
    }
}

[[noreturn]] void badType(const TableLayout &t, std::size_t row, const ColumnLayout &c, const Value &v)
{
    fail(cellName(t, row, c) + ": " + valueKind(v) + " nie pasuje do typu " + typeName(c.code) + ".");
}

double numberOf(const TableLayout &t, std::size_t row, const ColumnLayout &c, const Value &v)
{
    if (const double *d = std::get_if<double>(&v))
        return *d;
    if (const std::int64_t *i = std::get_if<std::int64_t>(&v))
        return double(*i);
    badType(t, row, c, v);
}

std::int64_t integerOf(const TableLayout &t, std::size_t row, const ColumnLayout &c, const Value &v,
                       std::int64_t min, std::int64_t max)
{
    std::int64_t i;
    if (const std::int64_t *p = std::get_if<std::int64_t>(&v)) {
        i = *p;
    } else if (const bool *b = std::get_if<bool>(&v)) {
        i = *b ? -1 : 0;
    } else if (const double *d = std::get_if<double>(&v)) {
        if (!(*d == std::trunc(*d)) || *d < double(min) || *d > double(max))
            fail(cellName(t, row, c) + ": " + std::to_string(*d) + " nie jest liczbą całkowitą z zakresu typu " +
                 typeName(c.code) + ".");
        i = std::int64_t(*d);
    } else {
        badType(t, row, c, v);
    }
    if (i < min || i > max)
        fail(cellName(t, row, c) + ": " + std::to_string(i) + " poza zakresem typu " + typeName(c.code) + " (" +
             std::to_string(min) + "…" + std::to_string(max) + ").");
    return i;
}

using Mantissa = unsigned __int128;

Mantissa pow10(int n)
{
    Mantissa p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Exact decimal text ("-12.50") as a mantissa scaled by 10^scale. False when the text is not a
// plain decimal number, has nonzero digits beyond the scale or more than 28 digits.
bool parseDecimal(const std::string &text, int scale, bool &negative, Mantissa &mantissa)
{
    const Mantissa limit = pow10(kMaxPrecision);
    std::size_t i = 0;
    negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    mantissa = 0;
    int digits = 0;
    int fraction = -1; // digits taken after the point
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '.' && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (ch < '0' || ch > '9')
            return false;
        ++digits;
        if (fraction == scale) {
            if (ch != '0')
                return false;
            continue;
        }
        if (fraction >= 0)
            ++fraction;
        mantissa = mantissa * 10 + Mantissa(ch - '0');
        if (mantissa >= limit)
            return false;
    }
    if (digits == 0)
        return false;
    for (int f = std::max(fraction, 0); f < scale; ++f) {
        mantissa *= 10;
        if (mantissa >= limit)
            return false;
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" as the 16 stored bytes.
bool parseGuid(const std::string &text, std::uint8_t *out)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return false;
    std::uint8_t b[16];
    int n = 0;
    for (std::size_t i = 1; i < 37;) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (text[i] != '-')
                return false;
            ++i;
            continue;
        }
        const int hi = hexDigit(text[i]);
        const int lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        b[n++] = std::uint8_t(hi * 16 + lo);
        i += 2;
    }
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int k = 0; k < 16; ++k)
        out[k] = b[order[k]];
    return true;
}

// Writes one table's rows: long memo values first (so that the table's data pages stay
// contiguous), then the rows.
class TableWriter {
public:
    TableWriter(FileImage &image, const TableLayout &layout, std::uint32_t tdefPage)
        : image_(image), t_(layout), tdefPage_(tdefPage) {}

    std::vector<std::uint32_t> write(const std::vector<std::vector<Value>> &rows)
    {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].size() != t_.columns.size())
                fail("Tabela „" + t_.name + "”, wiersz " + std::to_string(r + 1) + ": " +
                     std::to_string(rows[r].size()) + " wartości zamiast " + std::to_string(t_.columns.size()) +
                     ".");
        }
        writeLongValues(rows);
        RowPacker data(image_, tdefPage_);
        std::vector<std::uint8_t> row;
        std::size_t nextRef = 0;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            encodeRow(r, rows[r], row, nextRef);
            data.add(row.data(), row.size());
        }
        return data.pages();
    }

private:
    bool isLong(const ColumnLayout &c) const { return c.code == kMemo || c.code == kOle; }

    void compressMemo(std::vector<std::uint8_t> &bytes, std::size_t start, long units)
    {
        const bool bomFirst = bytes.size() > start && bytes[start] == 0xFF && bytes[start + 1] == 0xFE;
        if ((t_.compressText && std::size_t(units) <= kMaxCompressedMemoChars) || bomFirst)
            compressUcs2(bytes, start, scratch_);
    }

    // The stored bytes of a memo (UCS-2, compressed where it may be) or OLE value.
    void longBytes(std::size_t r, const ColumnLayout &c, const Value &v, std::vector<std::uint8_t> &bytes)
    {
        const std::string *s = std::get_if<std::string>(&v);
        if (!s)
            badType(t_, r, c, v);
        bytes.clear();
        if (c.code == kOle) {
            bytes.assign(s->begin(), s->end());
            return;
        }
        const long units = appendUcs2(*s, bytes);
        if (units < 0)
            fail(cellName(t_, r, c) + ": tekst nie jest poprawnym UTF-8.");
        compressMemo(bytes, 0, units);
    }

    void writeLongValues(const std::vector<std::vector<Value>> &rows)
    {
        bool anyMemo = false;
        for (const ColumnLayout &c : t_.columns)
            anyMemo = anyMemo || isLong(c);
        if (!anyMemo)
            return;
        RowPacker shared(image_, 0, true); // single-row values, several per page
        RowPacker chain(image_, 0, true);  // chained values, one row per page
        std::vector<std::uint8_t> bytes;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t i : t_.varOrder) {
                const ColumnLayout &c = t_.columns[i];
                const Value &v = rows[r][i];
                if (!isLong(c) || v.index() == 0)
                    continue;
                longBytes(r, c, v, bytes);
                if (bytes.size() <= kInlineMemoMax)
                    continue;
                if (bytes.size() > kMaxMemoBytes)
                    fail(cellName(t_, r, c) + ": wartość " + typeName(c.code) + " zajmuje ponad 16 MB.");
                if (bytes.size() <= kMaxRowSize) {
                    refs_.push_back(shared.add(bytes.data(), bytes.size()));
                    continue;
                }
                // Chain: chunks are written last to first so that each knows its successor.
                const std::size_t chunks = (bytes.size() + kChainChunk - 1) / kChainChunk;
                std::vector<std::uint32_t> pages(chunks);
                for (auto &p : pages)
                    p = image_.allocate();
                std::vector<std::uint8_t> piece;
                std::uint32_t next = 0;
                for (std::size_t k = chunks; k-- > 0;) {
                    const std::size_t from = k * kChainChunk;
                    const std::size_t len = std::min(kChainChunk, bytes.size() - from);
                    piece.assign(4, 0);
                    put32(piece.data(), 0, next);
                    piece.insert(piece.end(), bytes.begin() + long(from), bytes.begin() + long(from + len));
                    chain.usePage(pages[k]);
                    next = chain.add(piece.data(), piece.size());
                }
                refs_.push_back(next);
            }
        }
    }

    void encodeRow(std::size_t r, const std::vector<Value> &values, std::vector<std::uint8_t> &row,
                   std::size_t &nextRef)
    {
        const std::size_t ncols = t_.columns.size();
        row.assign(2 + t_.fixedBytes, 0);
        put16(row.data(), 0, std::uint32_t(ncols));
        std::array<std::uint8_t, 32> mask{};
        auto present = [&](const ColumnLayout &c) { mask[c.number / 8] |= std::uint8_t(1u << (c.number % 8)); };

        for (std::size_t i : t_.fixedOrder) {
            const ColumnLayout &c = t_.columns[i];
            const Value &v = values[i];
            if (v.index() == 0)
                continue; // NULL; a NULL Boolean reads as false
            std::uint8_t *p = row.data() + 2 + c.fixedOffset;
            switch (c.code) {
            case kBool: {
                bool b;
                if (const bool *pb = std::get_if<bool>(&v))
                    b = *pb;
                else if (const std::int64_t *pi = std::get_if<std::int64_t>(&v))
                    b = *pi != 0;
                else
                    badType(t_, r, c, v);
                if (b)
                    present(c);
                continue;
            }
            case kByte:
                p[0] = std::uint8_t(integerOf(t_, r, c, v, 0, 255));
                break;
            case kInt:
                put16(p, 0, std::uint32_t(integerOf(t_, r, c, v, -32768, 32767)));
                break;
            case kLong:
                put32(p, 0, std::uint32_t(integerOf(t_, r, c, v, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max())));
                break;
            case kMoney: {
                std::int64_t scaled;
                if (const std::string *ps = std::get_if<std::string>(&v)) {
                    bool negative = false;
                    Mantissa m = 0;
                    const Mantissa max = Mantissa(std::numeric_limits<std::int64_t>::max());
                    if (!parseDecimal(*ps, 4, negative, m))
                        fail(cellName(t_, r, c) + ": „" + *ps + "” nie jest kwotą z najwyżej 4 miejscami po przecinku.");
                    if (m > max + (negative ? 1 : 0))
                        fail(cellName(t_, r, c) + ": kwota poza zakresem typu Currency.");
                    scaled = negative && m != 0 ? -std::int64_t(m - 1) - 1 : std::int64_t(m);
                } else if (const std::int64_t *pi = std::get_if<std::int64_t>(&v)) {
                    if (*pi > std::numeric_limits<std::int64_t>::max() / 10000 ||
                        *pi < std::numeric_limits<std::int64_t>::min() / 10000)
                        fail(cellName(t_, r, c) + ": kwota poza zakresem typu Currency.");
                    scaled = *pi * 10000;
                } else {
                    const double d = numberOf(t_, r, c, v) * 10000.0;
                    if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
                        fail(cellName(t_, r, c) + ": kwota poza zakresem typu Currency.");
                    scaled = std::llround(d);
                }
                put64(p, 0, std::uint64_t(scaled));
                break;
            }
            case kFloat: {
                const float f = float(numberOf(t_, r, c, v));
                put32(p, 0, std::bit_cast<std::uint32_t>(f));
                break;
            }
            case kNumeric: {
                bool negative = false;
                Mantissa m = 0;
                if (const std::int64_t *pi = std::get_if<std::int64_t>(&v)) {
                    negative = *pi < 0;
                    m = Mantissa(negative ? 0 - std::uint64_t(*pi) : std::uint64_t(*pi)) * pow10(c.scale);
                } else if (const std::string *ps = std::get_if<std::string>(&v)) {
                    if (!parseDecimal(*ps, c.scale, negative, m))
                        fail(cellName(t_, r, c) + ": „" + *ps + "” nie jest liczbą dziesiętną o skali " +
                             std::to_string(c.scale) + ".");
                } else {
                    badType(t_, r, c, v);
                }
                if (m >= pow10(c.precision))
                    fail(cellName(t_, r, c) + ": liczba ma więcej cyfr niż precyzja " + std::to_string(c.precision) +
                         ".");
                p[0] = negative && m != 0 ? 0x80 : 0x00;
                for (int w = 0; w < 4; ++w)
                    put32(p, std::size_t(1 + 4 * w), std::uint32_t(m >> (32 * (3 - w))));
                break;
            }
            case kGuid: {
                const std::string *ps = std::get_if<std::string>(&v);
                if (!ps)
                    badType(t_, r, c, v);
                if (!parseGuid(*ps, p))
                    fail(cellName(t_, r, c) + ": „" + *ps + "” nie jest identyfikatorem GUID w postaci {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.");
                break;
            }
            default: // Double, DateTime
                put64(p, 0, std::bit_cast<std::uint64_t>(numberOf(t_, r, c, v)));
                break;
            }
            present(c);
        }

        if (!t_.varOrder.empty()) {
            offsets_.clear();
            for (std::size_t i : t_.varOrder) {
                const ColumnLayout &c = t_.columns[i];
                const Value &v = values[i];
                offsets_.push_back(std::uint16_t(row.size()));
                if (v.index() == 0)
                    continue;
                if (c.code == kText) {
                    const std::string *s = std::get_if<std::string>(&v);
                    if (!s)
                        badType(t_, r, c, v);
                    const std::size_t start = row.size();
                    const long units = appendUcs2(*s, row);
                    if (units < 0)
                        fail(cellName(t_, r, c) + ": tekst nie jest poprawnym UTF-8.");
                    if (units * 2 > long(c.size))
                        fail(cellName(t_, r, c) + ": tekst ma " + std::to_string(units) +
                             " znaków, kolumna mieści " + std::to_string(c.size / 2) + ".");
                    if (t_.compressText || (units > 0 && row[start] == 0xFF && row[start + 1] == 0xFE))
                        compressUcs2(row, start, scratch_);
                } else if (isLong(c)) {
                    longBytes(r, c, v, long_);
                    const std::size_t start = row.size();
                    row.resize(start + 12, 0);
                    const std::size_t bytes = long_.size();
                    if (bytes <= kInlineMemoMax) {
                        put32(row.data(), start, std::uint32_t(bytes) | 0x80000000u);
                        row.insert(row.end(), long_.begin(), long_.end());
                    } else {
                        const std::uint32_t ref = refs_.at(nextRef++);
                        put32(row.data(), start,
                              std::uint32_t(bytes) | (bytes <= kMaxRowSize ? 0x40000000u : 0u));
                        put32(row.data(), start + 4, ref);
                    }
                } else {
                    badType(t_, r, c, v); // binary columns only ever hold NULL here
                }
                present(c);
            }
            const std::uint16_t eod = std::uint16_t(row.size());
            append16(row, eod);
            for (std::size_t k = offsets_.size(); k-- > 0;)
                append16(row, offsets_[k]);
            append16(row, std::uint32_t(offsets_.size()));
        }
        row.insert(row.end(), mask.begin(), mask.begin() + long((ncols + 7) / 8));
        if (row.size() > kMaxRowSize)
            fail("Tabela „" + t_.name + "”, wiersz " + std::to_string(r + 1) + ": wiersz zajmuje " +
                 std::to_string(row.size()) + " bajtów, strona mieści " + std::to_string(kMaxRowSize) + ".");
    }

    FileImage &image_;
    const TableLayout &t_;
    std::uint32_t tdefPage_;
    std::vector<std::uint32_t> refs_;
    std::vector<std::uint16_t> offsets_;
    std::vector<std::uint8_t> scratch_;
    std::vector<std::uint8_t> long_;
};

// Stores usage-map rows on data pages that belong to no table.
class MapStore {
public:
    MapStore(FileImage &image, std::uint32_t firstPage) : image_(image), packer_(image, 0)
    {
        packer_.usePage(firstPage);
    }

    std::uint32_t usedMap(const std::vector<std::uint32_t> &pages)
    {
        std::vector<std::uint8_t> row;
        if (pages.empty() || pages.back() - pages.front() < kMapBytes * 8) {
            const std::uint32_t start = pages.empty() ? 0 : pages.front();
            row.assign(5 + kMapBytes, 0);
            put32(row.data(), 1, start);
            for (std::uint32_t p : pages)
                row[5 + (p - start) / 8] |= std::uint8_t(1u << ((p - start) % 8));
        } else {
            row.assign(1 + 4 * kMapPagesPerRow, 0);
            row[0] = 0x01;
            std::uint32_t mapPage = 0;
            std::size_t current = SIZE_MAX;
            for (std::uint32_t p : pages) {
                const std::size_t k = p / kBitsPerMapPage;
                if (k >= kMapPagesPerRow)
                    fail("Plik bazy przekroczyłby 2 GB.");
                if (k != current) {
                    current = k;
                    mapPage = image_.allocate();
                    std::uint8_t *m = image_.page(mapPage);
                    m[0] = 0x05;
                    m[1] = 0x01;
                    put32(row.data(), 1 + 4 * k, mapPage);
                }
                const std::uint32_t bit = p % kBitsPerMapPage;
                image_.page(mapPage)[4 + bit / 8] |= std::uint8_t(1u << (bit % 8));
            }
        }
        return packer_.add(row.data(), row.size());
    }

    std::uint32_t emptyMap()
    {
        std::vector<std::uint8_t> row(5 + kMapBytes, 0);
        return packer_.add(row.data(), row.size());
    }

private:
    FileImage &image_;
    RowPacker packer_;
};

double nowOleDays()
{
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return seconds / 86400.0 + 25569.0;
}

std::array<std::uint8_t, 4> passwordMask(double creationDate)
{
    const auto v = std::uint32_t(std::int32_t(std::floor(creationDate)));
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

void writeHeader(std::uint8_t *p, const WriteOptions &options, double creationDate)
{
    p[0] = 0x00;
    p[1] = 0x01;
    std::memcpy(p + 4, "Standard Jet DB", 15);
    p[0x14] = 0x01;
    put16(p, 0x3C, kCodePagePolish);
    put32(p, 0x3E, 0); // pages are not encrypted
    std::vector<std::uint8_t> pw;
    const long units = appendUcs2(options.password, pw);
    if (units < 0)
        fail("Hasło bazy nie jest poprawnym tekstem UTF-8.");
    if (pw.size() > kPasswordBytes)
        fail("Hasło bazy może mieć najwyżej 20 znaków.");
    pw.resize(kPasswordBytes, 0);
    const auto mask = passwordMask(creationDate);
    for (std::size_t i = 0; i < kPasswordBytes; ++i)
        p[kPasswordOffset + i] = pw[i] ^ mask[i % 4];
    put16(p, 0x6E, kSortGeneral);
    put16(p, 0x70, 0);
    put64(p, kDateOffset, std::bit_cast<std::uint64_t>(creationDate));
    rc4(kHeaderKey.data(), kHeaderKey.size(), p + kCryptStart, kCryptLength);
}

void placeTdef(FileImage &image, std::uint32_t firstPage, std::size_t pageCount, const std::vector<std::uint8_t> &body)
{
    for (std::size_t k = 0; k < pageCount; ++k) {
        std::uint8_t *p = image.page(firstPage + std::uint32_t(k));
        p[0] = 0x02;
        p[1] = 0x01;
        const std::size_t from = k * kTdefChunk;
        const std::size_t len = from < body.size() ? std::min(kTdefChunk, body.size() - from) : 0;
        put16(p, 2, std::uint32_t(kTdefChunk - len));
        put32(p, 4, k + 1 < pageCount ? firstPage + std::uint32_t(k) + 1 : 0);
        if (len)
            std::memcpy(p + 8, body.data() + from, len);
    }
}

} // namespace

void writeJet4(const Content &content, const std::string &path, const WriteOptions &options)
{
    const double creationDate = options.creationDate != 0.0 ? options.creationDate : nowOleDays();
    if (!std::isfinite(creationDate) || creationDate < -657434.0 || creationDate > 2958465.0)
        fail("Nieprawidłowa data utworzenia bazy.");

    std::vector<TableLayout> user;
    user.reserve(content.tables.size());
    std::unordered_set<std::string> names;
    for (const Table &t : content.tables) {
        user.push_back(layoutOf(t));
        user.back().compressText = options.compressText;
        if (!names.insert(upperAscii(t.name)).second)
            fail("Powtórzona tabela „" + t.name + "”.");
    }
    const TableLayout catalogue = msysObjectsLayout();
    const std::vector<TableLayout> system = otherSystemLayouts();

    FileImage image;
    image.allocate();                               // 0: header
    const std::uint32_t firstMapPage = image.allocate(); // 1: usage maps
    const std::uint32_t catalogueTdef = image.allocate(); // 2: MSysObjects
    if (tdefPageCount(catalogue) != 1)
        fail("Wewnętrzny błąd: definicja MSysObjects nie mieści się na stronie 2.");

    auto reserveTdef = [&](const TableLayout &t) {
        const std::size_t n = tdefPageCount(t);
        const std::uint32_t first = image.allocate();
        for (std::size_t k = 1; k < n; ++k)
            image.allocate();
        return std::pair<std::uint32_t, std::size_t>(first, n);
    };
    std::vector<std::pair<std::uint32_t, std::size_t>> systemTdefs, userTdefs;
    for (const TableLayout &t : system)
        systemTdefs.push_back(reserveTdef(t));
    for (const TableLayout &t : user)
        userTdefs.push_back(reserveTdef(t));

    std::vector<std::vector<std::uint32_t>> userPages;
    for (std::size_t i = 0; i < user.size(); ++i)
        userPages.push_back(TableWriter(image, user[i], userTdefs[i].first).write(content.tables[i].rows));

    // The catalogue: containers, system tables, user tables.
    constexpr std::int64_t kDatabases = 0x0F000000, kTables = 0x0F000001, kRelationships = 0x0F000002;
    constexpr std::int64_t kSystemFlags = std::int32_t(0x80000002u), kContainerFlags = std::int32_t(0x80000000u);
    std::vector<std::vector<Value>> catalogueRows;
    auto entry = [&](std::int64_t id, std::int64_t parent, const std::string &name, std::int64_t type,
                     std::int64_t flags) {
        std::vector<Value> row(catalogue.columns.size());
        row[0] = id;
        row[1] = parent;
        row[2] = name;
        row[4] = creationDate;
        row[5] = creationDate;
        row[6] = type;
        row[7] = flags;
        catalogueRows.push_back(std::move(row));
    };
    entry(kDatabases, kDatabases, "Databases", 3, kContainerFlags);
    entry(kTables, kDatabases, "Tables", 3, kContainerFlags);
    entry(kRelationships, kDatabases, "Relationships", 3, kContainerFlags);
    entry(catalogueTdef, kTables, catalogue.name, 1, kSystemFlags);
    for (std::size_t i = 0; i < system.size(); ++i)
        entry(systemTdefs[i].first, kTables, system[i].name, 1, kSystemFlags);
    for (std::size_t i = 0; i < user.size(); ++i)
        entry(userTdefs[i].first, kTables, user[i].name, 1, 0);
    const std::vector<std::uint32_t> cataloguePages =
        TableWriter(image, catalogue, catalogueTdef).write(catalogueRows);

    MapStore maps(image, firstMapPage);
    auto finish = [&](const TableLayout &t, std::uint32_t tdef, std::size_t tdefPages,
                      const std::vector<std::uint32_t> &pages, std::size_t rows) {
        const std::uint32_t used = maps.usedMap(pages);
        const std::uint32_t free = maps.emptyMap();
        placeTdef(image, tdef, tdefPages, tdefBody(t, std::uint32_t(rows), used, free));
    };
    finish(catalogue, catalogueTdef, 1, cataloguePages, catalogueRows.size());
    for (std::size_t i = 0; i < system.size(); ++i)
        finish(system[i], systemTdefs[i].first, systemTdefs[i].second, {}, 0);
    for (std::size_t i = 0; i < user.size(); ++i)
        finish(user[i], userTdefs[i].first, userTdefs[i].second, userPages[i], content.tables[i].rows.size());

    writeHeader(image.page(0), options, creationDate);
    image.save(path);
}

std::string readJet4Password(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail("Nie można otworzyć pliku „" + path + "”.");
    Page header{};
    in.read(reinterpret_cast<char *>(header.data()), std::streamsize(kPageSize));
    if (in.gcount() < std::streamsize(kCryptStart + kCryptLength) || header[0] != 0x00 ||
        std::memcmp(header.data() + 4, "Standard Jet DB", 15) != 0 || header[0x14] != 0x01)
        fail("Plik „" + path + "” nie jest bazą Access 2000 (Jet 4).");
    rc4(kHeaderKey.data(), kHeaderKey.size(), header.data() + kCryptStart, kCryptLength);
    double creationDate;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | header[kDateOffset + i];
    creationDate = std::bit_cast<double>(bits);
    const auto mask = passwordMask(std::isfinite(creationDate) ? creationDate : 0.0);
    std::array<std::uint8_t, kPasswordBytes> pw{};
    for (std::size_t i = 0; i < kPasswordBytes; ++i)
        pw[i] = header[kPasswordOffset + i] ^ mask[i % 4];
    return utf8FromUcs2(pw.data(), pw.size());
}

} // namespace katarix::mdbwriter
