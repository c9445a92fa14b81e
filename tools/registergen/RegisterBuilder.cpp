#include "RegisterBuilder.h"

#include "jet/Database.h"
#include "jet/RegisterImporter.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <span>
#include <limits>

namespace katarix::registergen {

namespace {

using mdbwriter::ColumnType;
using mdbwriter::Value;

std::size_t utf8Length(const std::string &s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

[[noreturn]] void fail(const std::string &table, const mdbwriter::Column &column, const std::string &why)
{
    throw BuilderError(table + "." + column.name + ": " + why);
}

std::int64_t integralRange(ColumnType type, std::int64_t &low)
{
    switch (type) {
    case ColumnType::Byte: low = 0; return 255;
    case ColumnType::Integer: low = -32768; return 32767;
    default: low = std::numeric_limits<std::int32_t>::min(); return std::numeric_limits<std::int32_t>::max();
    }
}

// The value in the representation the column's type takes.
Value coerce(const std::string &table, const mdbwriter::Column &column, const Value &value)
{
    if (std::holds_alternative<std::monostate>(value))
        return value;
    switch (column.type) {
    case ColumnType::Boolean:
        if (auto b = std::get_if<bool>(&value))
            return *b;
        if (auto i = std::get_if<std::int64_t>(&value))
            return *i != 0;
        fail(table, column, "a Boolean column takes bool or an integer");
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long: {
        std::int64_t v = 0;
        if (auto i = std::get_if<std::int64_t>(&value)) {
            v = *i;
        } else if (auto d = std::get_if<double>(&value)) {
            if (!std::isfinite(*d) || std::trunc(*d) != *d || std::fabs(*d) > 9.2e18)
                fail(table, column, "an integer column takes whole numbers only");
            v = std::int64_t(*d);
        } else {
            fail(table, column, "an integer column takes numbers only");
        }
        std::int64_t low = 0;
        const std::int64_t high = integralRange(column.type, low);
        if (v < low || v > high)
            fail(table, column, "value " + std::to_string(v) + " out of the column's range");
        return v;
    }
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::Currency:
    case ColumnType::DateTime: {
        double d = 0;
        if (auto v = std::get_if<double>(&value))
            d = *v;
        else if (auto i = std::get_if<std::int64_t>(&value))
            d = double(*i);
        else
            fail(table, column, "a numeric column takes numbers only");
        // What the file can hold: a float, or a count of ten-thousandths.
        if (column.type == ColumnType::Single)
            d = double(float(d));
        else if (column.type == ColumnType::Currency)
            d = double(std::llround(d * 10000.0)) / 10000.0;
        return d;
    }
    case ColumnType::Text:
    case ColumnType::Memo:
        if (auto s = std::get_if<std::string>(&value)) {
            if (column.type == ColumnType::Text && utf8Length(*s) > std::size_t(column.textSize))
                fail(table, column, "text longer than " + std::to_string(column.textSize) + " characters");
            return *s;
        }
        fail(table, column, "a text column takes texts only");
    case ColumnType::Decimal:
    case ColumnType::Guid:
    case ColumnType::Hyperlink:
    case ColumnType::Ole:
        break; // the register schema has no such columns
    }
    fail(table, column, "unsupported column type");
}

jet::ColumnKind kindOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return jet::ColumnKind::Boolean;
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long: return jet::ColumnKind::Integer;
    case ColumnType::Currency: return jet::ColumnKind::Currency;
    case ColumnType::Single:
    case ColumnType::Double: return jet::ColumnKind::Float;
    case ColumnType::DateTime: return jet::ColumnKind::DateTime;
    case ColumnType::Text: return jet::ColumnKind::Text;
    case ColumnType::Memo: return jet::ColumnKind::Memo;
    case ColumnType::Decimal:
    case ColumnType::Guid:
    case ColumnType::Hyperlink:
    case ColumnType::Ole:
        break; // refused by coerce before a row is stored
    }
    return jet::ColumnKind::Text;
}

QDateTime fromOleDays(double days)
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc());
    return epoch.addMSecs(std::llround(days * 86400000.0));
}

QVariant toVariant(const Value &value, ColumnType type)
{
    if (auto b = std::get_if<bool>(&value))
        return *b;
    if (auto i = std::get_if<std::int64_t>(&value))
        return qlonglong(*i);
    if (auto d = std::get_if<double>(&value))
        return type == ColumnType::DateTime ? QVariant(fromOleDays(*d)) : QVariant(*d);
    if (auto s = std::get_if<std::string>(&value))
        return QString::fromStdString(*s);
    return {};
}

} // namespace

double oleDate(int year, int month, int day, int hour, int minute, int second)
{
    const qint64 days = QDate(1899, 12, 30).daysTo(QDate(year, month, day));
    return double(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

RegisterBuilder::RegisterBuilder()
{
    for (const TableSchema &schema : registerSchema())
        m_content.tables.push_back({schema.name, schema.columns, {}});
}

int RegisterBuilder::tableIndex(std::string_view table) const
{
    const TableSchema *schema = findTable(table);
    if (!schema)
        throw BuilderError("unknown table " + std::string(table));
    return int(schema - registerSchema().data());
}

RegisterBuilder &RegisterBuilder::add(std::string_view table, std::initializer_list<Field> fields)
{
    return addFields(table, fields.begin(), fields.size());
}

RegisterBuilder &RegisterBuilder::add(std::string_view table, const std::vector<Field> &fields)
{
    return addFields(table, fields.data(), fields.size());
}

RegisterBuilder &RegisterBuilder::addFields(std::string_view table, const Field *first, std::size_t count)
{
    const auto fields = std::span<const Field>(first, count);
    const int index = tableIndex(table);
    const TableSchema &schema = registerSchema()[std::size_t(index)];
    std::vector<Value> row(schema.columns.size());
    std::vector<bool> named(schema.columns.size(), false);
    for (const Field &field : fields) {
        const int column = schema.columnIndex(field.column);
        if (column < 0)
            throw BuilderError("unknown column " + schema.name + "." + field.column);
        if (named[std::size_t(column)])
            throw BuilderError("column " + schema.name + "." + field.column + " given twice");
        named[std::size_t(column)] = true;
        row[std::size_t(column)] = coerce(schema.name, schema.columns[std::size_t(column)], field.value.value());
    }
    for (std::size_t i = 0; i < row.size(); ++i) // a Jet Yes/No column has no NULL
        if (schema.columns[i].type == ColumnType::Boolean && std::holds_alternative<std::monostate>(row[i]))
            row[i] = false;
    m_content.tables[std::size_t(index)].rows.push_back(std::move(row));
    return *this;
}

void RegisterBuilder::addRow(int tableIndex, std::vector<Value> row)
{
    mdbwriter::Table &table = m_content.tables.at(std::size_t(tableIndex));
    if (row.size() != table.columns.size())
        throw BuilderError("row of " + std::to_string(row.size()) + " values for table " + table.name);
    table.rows.push_back(std::move(row));
}

std::size_t RegisterBuilder::rowCount(std::string_view table) const
{
    return m_content.tables[std::size_t(tableIndex(table))].rows.size();
}

void RegisterBuilder::loadInto(sqlite3 *db) const
{
    loadContent(m_content, db);
}

void RegisterBuilder::toDatabase(jet::Database &db) const
{
    if (!db.isOpen())
        db.openInMemory();
    loadInto(db.handle());
}

void loadContent(const mdbwriter::Content &content, sqlite3 *db)
{
    jet::RegisterImporter importer(db);
    for (const mdbwriter::Table &table : content.tables) {
        std::vector<jet::ImportColumn> columns;
        columns.reserve(table.columns.size());
        for (const mdbwriter::Column &column : table.columns)
            columns.push_back({QString::fromStdString(column.name), kindOf(column.type)});
        importer.beginTable(QString::fromStdString(table.name), columns);
        std::vector<QVariant> values(table.columns.size());
        for (const std::vector<Value> &row : table.rows) {
            for (std::size_t i = 0; i < row.size(); ++i)
                values[i] = toVariant(row[i], table.columns[i].type);
            importer.appendRow(values);
        }
        importer.endTable();
    }
    importer.finish();
}

} // namespace katarix::registergen
