#pragma once

#include "RegisterSchema.h"

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace katarix::jet {
class Database;
}

namespace katarix::registergen {

// A value given to RegisterBuilder::add. Numbers are converted to the column's type (an integral
// number into a Double column, a whole double into a Long column); texts go to Text and Memo
// columns only; DateTime columns take OLE Automation days (see oleDate).
class FieldValue {
public:
    FieldValue() = default;                       // NULL
    FieldValue(std::nullptr_t) {}                 // NULL
    FieldValue(bool v) : m_value(v) {}
    FieldValue(int v) : m_value(std::int64_t(v)) {}
    FieldValue(long v) : m_value(std::int64_t(v)) {}
    FieldValue(long long v) : m_value(std::int64_t(v)) {}
    FieldValue(double v) : m_value(v) {}
    FieldValue(const char *v) : m_value(std::string(v)) {}
    FieldValue(std::string v) : m_value(std::move(v)) {}
    FieldValue(mdbwriter::Value v) : m_value(std::move(v)) {}

    const mdbwriter::Value &value() const { return m_value; }

private:
    mdbwriter::Value m_value;
};

struct Field {
    std::string column;
    FieldValue value;
};

// Misuse of the builder: unknown table or column, a value of the wrong kind for its column.
class BuilderError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// OLE Automation date (days since 1899-12-30, time as the fraction of a day).
double oleDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Builds register contents row by row over the full register schema: every table exists, empty
// until rows are added; a column not named in add() is NULL (false in a Boolean column, which
// Jet cannot leave NULL).
//
//   RegisterBuilder b;
//   b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"NR_L", 12}, {"AREA", 1234.0}});
//   jet::Database db;
//   b.toDatabase(db);   // in-memory engine database, loaded as from a .mdb
class RegisterBuilder {
public:
    RegisterBuilder();

    // Appends one row; throws BuilderError on an unknown table or column or a value the column
    // cannot hold. Returns *this for chaining.
    RegisterBuilder &add(std::string_view table, std::initializer_list<Field> fields);
    RegisterBuilder &add(std::string_view table, const std::vector<Field> &fields);

    // Appends one row given positionally in schema column order (generators); the values must
    // already have the columns' representation. Throws BuilderError on a wrong count.
    void addRow(int tableIndex, std::vector<mdbwriter::Value> row);
    // Index of a table for addRow; throws BuilderError when unknown.
    int tableIndex(std::string_view table) const;

    std::size_t rowCount(std::string_view table) const;
    const mdbwriter::Content &content() const { return m_content; }

    // Sinks.
    mdbwriter::Content toContent() const { return m_content; }
    mdbwriter::Content takeContent() { return std::move(m_content); }
    // Loads every table into an engine database handle through the register importer.
    void loadInto(sqlite3 *db) const;
    // Opens db in memory when it is not open, then loads into it.
    void toDatabase(jet::Database &db) const;

private:
    RegisterBuilder &addFields(std::string_view table, const Field *first, std::size_t count);

    mdbwriter::Content m_content;
};

// Loads any register content (built or generated) into an engine database handle.
void loadContent(const mdbwriter::Content &content, sqlite3 *db);

} // namespace katarix::registergen
