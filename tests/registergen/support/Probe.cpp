#include "Probe.h"

#include <sqlite3.h>

#include <stdexcept>

namespace katarix::registergen::probe {

std::string scalar(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
    std::string result;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        const unsigned char *text = sqlite3_column_text(stmt, 0);
        result = sqlite3_column_type(stmt, 0) == SQLITE_NULL ? "NULL" : reinterpret_cast<const char *>(text);
    } else if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_finalize(stmt);
        throw std::runtime_error(message + " in: " + sql);
    }
    sqlite3_finalize(stmt);
    return result;
}

} // namespace katarix::registergen::probe
