#pragma once

#include <string>

struct sqlite3;

namespace katarix::registergen::probe {

// First column of the first row of a native SQLite query as text: "NULL" for NULL, "" when
// there is no row. Fails the calling test (throws) on an SQL error.
std::string scalar(sqlite3 *db, const std::string &sql);

} // namespace katarix::registergen::probe
