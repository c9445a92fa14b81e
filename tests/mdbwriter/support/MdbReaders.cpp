#include "MdbReaders.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

extern "C" {
#include <mdbtools.h>
}

namespace katarix::mdbwriter::test {

std::string doubleBits(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "d:%016llx", static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v)));
    return buf;
}

std::string floatBits(float v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "f:%08x", static_cast<unsigned>(std::bit_cast<std::uint32_t>(v)));
    return buf;
}

std::string dateMillis(double oleDays)
{
    // As JavaScript computes new Date(Math.round((td - 25569) * 86400 * 1000)).
    const double ms = (oleDays - 25569) * 86400 * 1000;
    return "t:" + std::to_string(static_cast<long long>(std::floor(ms + 0.5)));
}

std::string typeName(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return "Boolean";
    case ColumnType::Byte: return "Byte";
    case ColumnType::Integer: return "Integer";
    case ColumnType::Long: return "Long";
    case ColumnType::Currency: return "Currency";
    case ColumnType::Single: return "Single";
    case ColumnType::Double: return "Double";
    case ColumnType::DateTime: return "DateTime";
    case ColumnType::Text: return "Text";
    case ColumnType::Memo: return "Memo";
    case ColumnType::Decimal: return "Decimal";
    case ColumnType::Guid: return "GUID";
    case ColumnType::Hyperlink: return "Hyperlink";
    case ColumnType::Ole: return "OLE";
    }
    return "?";
}

std::string decimalText(const std::string &text)
{
    std::string sign;
    std::string digits = text;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        if (digits[0] == '-')
            sign = "-";
        digits.erase(0, 1);
    }
    if (digits.find('.') != std::string::npos) {
        while (digits.back() == '0')
            digits.pop_back();
        if (digits.back() == '.')
            digits.pop_back();
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos || digits[first] == '.')
        digits.erase(0, first == std::string::npos ? digits.size() - 1 : first - 1);
    else
        digits.erase(0, first);
    if (digits == "0")
        sign.clear();
    return "n:" + sign + digits;
}

std::string hexBytes(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "b:";
    for (const unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string canonical(ColumnType type, const Value &value)
{
    if (value.index() == 0)
        return type == ColumnType::Boolean ? "false" : "NULL";
    auto number = [&] {
        if (const double *d = std::get_if<double>(&value))
            return *d;
        return double(std::get<std::int64_t>(value));
    };
    switch (type) {
    case ColumnType::Boolean:
        return std::get<bool>(value) ? "true" : "false";
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
        return std::to_string(std::get<std::int64_t>(value));
    case ColumnType::Currency:
        if (const std::string *text = std::get_if<std::string>(&value)) {
            // Exact decimal text: the count of ten-thousandths without leading zeros.
            std::string digits = decimalText(*text).substr(2);
            const bool negative = digits[0] == '-';
            if (negative)
                digits.erase(0, 1);
            const std::size_t point = digits.find('.');
            const std::size_t decimals = point == std::string::npos ? 0 : digits.size() - point - 1;
            if (point != std::string::npos)
                digits.erase(point, 1);
            digits += std::string(4 - decimals, '0');
            digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
            return (negative ? "-" : "") + digits;
        }
        return std::to_string(std::llround(number() * 10000.0));
    case ColumnType::Single:
        return floatBits(float(number()));
    case ColumnType::Double:
        return doubleBits(number());
    case ColumnType::DateTime:
        return dateMillis(number());
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Hyperlink:
        return "s:" + std::get<std::string>(value);
    case ColumnType::Decimal:
        if (const std::int64_t *i = std::get_if<std::int64_t>(&value))
            return decimalText(std::to_string(*i));
        return decimalText(std::get<std::string>(value));
    case ColumnType::Guid: {
        std::string upper = std::get<std::string>(value);
        for (char &c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        return "g:" + upper;
    }
    case ColumnType::Ole:
        return hexBytes(std::get<std::string>(value));
    }
    return "?";
}

namespace {

std::string libmdbType(int code)
{
    switch (code) {
    case MDB_BOOL: return "Boolean";
    case MDB_BYTE: return "Byte";
    case MDB_INT: return "Integer";
    case MDB_LONGINT: return "Long";
    case MDB_MONEY: return "Currency";
    case MDB_FLOAT: return "Single";
    case MDB_DOUBLE: return "Double";
    case MDB_DATETIME: return "DateTime";
    case MDB_TEXT: return "Text";
    case MDB_MEMO: return "Memo";
    case MDB_NUMERIC: return "Decimal";
    case MDB_REPID: return "GUID";
    case MDB_OLE: return "OLE";
    default: return "type " + std::to_string(code);
    }
}

template <typename T> T raw(const void *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string nodeType(const QString &t)
{
    static const std::map<QString, std::string> names{
        {"boolean", "Boolean"}, {"byte", "Byte"},         {"integer", "Integer"}, {"long", "Long"},
        {"currency", "Currency"}, {"float", "Single"},     {"double", "Double"}, {"datetime", "DateTime"},
        {"text", "Text"},       {"memo", "Memo"},          {"numeric", "Decimal"}, {"repid", "GUID"},
        {"ole", "OLE"}};
    const auto it = names.find(t);
    return it == names.end() ? t.toStdString() : it->second;
}

} // namespace

ReadDatabase readWithLibmdb(const std::string &path)
{
    std::unique_ptr<MdbHandle, void (*)(MdbHandle *)> mdb(mdb_open(path.c_str(), MDB_NOFLAGS), mdb_close);
    if (!mdb)
        throw std::runtime_error("libmdb cannot open " + path);
    constexpr std::size_t bindSize = 1 << 21;
    mdb_set_bind_size(mdb.get(), bindSize);
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw std::runtime_error("libmdb cannot read the catalogue of " + path);

    ReadDatabase db;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        MdbTableDef *table = mdb_read_table(entry);
        if (!table)
            throw std::runtime_error(std::string("libmdb cannot read table ") + entry->object_name);
        mdb_read_columns(table);
        ReadTable &out = db[entry->object_name];
        out.rowCount = table->num_rows;
        std::vector<std::vector<char>> bound(table->num_cols, std::vector<char>(bindSize));
        for (unsigned c = 0; c < table->num_cols; ++c) {
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
            ReadColumn rc{col->name, libmdbType(col->col_type), 0};
            if (col->col_type == MDB_TEXT)
                rc.textSize = col->col_size / 2;
            out.columns.push_back(rc);
            mdb_bind_column(table, int(c + 1), bound[c].data(), nullptr);
        }
        std::vector<MdbField> fields(table->num_cols);
        mdb_rewind_table(table);
        while (mdb_fetch_row(table)) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb.get(), int(table->cur_row) - 1, &start, &size) != 0)
                throw std::runtime_error("libmdb lost the current row");
            if (mdb_crack_row(table, start & 0x1FFF, size, fields.data()) < 0)
                throw std::runtime_error("libmdb cannot crack a row");
            std::vector<std::string> row;
            for (unsigned c = 0; c < table->num_cols; ++c) {
                auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
                const MdbField &f = fields[c];
                if (col->col_type == MDB_BOOL) {
                    row.push_back(f.is_null ? "false" : "true");
                    continue;
                }
                if (f.is_null) {
                    row.push_back("NULL");
                    continue;
                }
                switch (col->col_type) {
                case MDB_BYTE: row.push_back(std::to_string(raw<std::uint8_t>(f.value))); break;
                case MDB_INT: row.push_back(std::to_string(raw<std::int16_t>(f.value))); break;
                case MDB_LONGINT: row.push_back(std::to_string(raw<std::int32_t>(f.value))); break;
                case MDB_MONEY: row.push_back(std::to_string(raw<std::int64_t>(f.value))); break;
                case MDB_FLOAT: row.push_back(floatBits(raw<float>(f.value))); break;
                case MDB_DOUBLE: row.push_back(doubleBits(raw<double>(f.value))); break;
                case MDB_DATETIME: row.push_back(dateMillis(raw<double>(f.value))); break;
                default: row.push_back("s:" + std::string(bound[c].data())); break;
                }
            }
            out.rows.push_back(std::move(row));
        }
        mdb_free_tabledef(table);
    }
    return db;
}

std::string xcheckDir()
{
    const std::filesystem::path dir = std::filesystem::path(KATARIX_SOURCE_DIR) / "tests/mdbwriter/xcheck";
    return std::filesystem::exists(dir / "node_modules/mdb-reader") ? dir.string() : std::string();
}

bool nodeReaderAvailable()
{
    return !xcheckDir().empty() && !QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty();
}

NodeResult readWithMdbReader(const std::string &path, const std::optional<std::string> &password)
{
    auto quote = [](const std::string &s) {
        std::string q = "'";
        for (char c : s)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    const std::string base = path + ".node." + std::to_string(::getpid());
    std::string command = "node " + quote(xcheckDir() + "/dump.mjs") + " " + quote(path);
    if (password)
        command += " --password " + quote(*password);
    command += " > " + quote(base + ".out") + " 2> " + quote(base + ".err");
    const int status = std::system(command.c_str());
    NodeResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.error = readText(base + ".err");
    const std::string json = readText(base + ".out");
    std::filesystem::remove(base + ".out");
    std::filesystem::remove(base + ".err");
    if (result.exitCode != 0)
        return result;
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &err);
    if (err.error != QJsonParseError::NoError)
        throw std::runtime_error("mdb-reader output is not JSON: " + err.errorString().toStdString());
    const QJsonObject root = doc.object();
    result.password = root.value("password").toString().toStdString();
    const QJsonObject tables = root.value("tables").toObject();
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        const QJsonObject t = it.value().toObject();
        ReadTable &out = result.tables[it.key().toStdString()];
        out.rowCount = std::uint32_t(t.value("rowCount").toInteger());
        for (const QJsonValue c : t.value("columns").toArray()) {
            const QJsonObject o = c.toObject();
            ReadColumn rc{o.value("name").toString().toStdString(), nodeType(o.value("type").toString()), 0};
            if (rc.type == "Text")
                rc.textSize = o.value("size").toInt() / 2;
            out.columns.push_back(rc);
        }
        for (const QJsonValue r : t.value("rows").toArray()) {
            std::vector<std::string> row;
            for (const QJsonValue v : r.toArray())
                row.push_back(v.toString().toStdString());
            out.rows.push_back(std::move(row));
        }
    }
    return result;
}

} // namespace katarix::mdbwriter::test
