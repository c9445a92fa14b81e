#pragma once

#include "mdbwriter/MdbContent.h"

#include <string>
#include <string_view>
#include <vector>

namespace katarix::registergen {

// One table of the register as the keeping system stores it.
struct TableSchema {
    std::string name;
    std::vector<mdbwriter::Column> columns;

    // Index of a column by name, without regard to case; -1 when there is none.
    int columnIndex(std::string_view column) const;
};

// Every table the program reads, each with the columns it reads and a few it does not (real
// registers carry more columns than any reader uses). Identifiers of objects, persons, changes
// and cases are Double; dictionary keys Long or Integer; dates are Long YYYYMMDD numbers, times
// Long HHMMSS numbers; ZMIANY.DATAD is the only DateTime column; long texts are Memo.
const std::vector<TableSchema> &registerSchema();

// The table of that name, without regard to case; nullptr when there is none.
const TableSchema *findTable(std::string_view name);

} // namespace katarix::registergen
