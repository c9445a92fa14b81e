#pragma once

#include "JetError.h"

#include <QString>
#include <exception>

struct sqlite3;

namespace katarix::jet {

// The one place where failures become the Polish text a person reads: loading a register,
// queries, reports and the windows' actions all show what these functions give.

// The text of any exception: the Polish message the program's own errors carry (JetError,
// AppError, IniError, RtfError: what() is their UTF-8 message), a Polish text for running out
// of memory, else the library's own text.
QString errorText(const std::exception &error);
// For anything thrown that is not a std::exception.
QString unknownErrorText();

QString outOfMemoryText();
QString diskFullText(const QString &folder);
QString damagedCopyText(const QString &file);

// The last failure of an SQLite call on db in Polish, with the cause the caller acts on. Damage,
// a full disk and a lack of memory are told by SQLite's result code and name the database file
// (or its folder); the mistakes a query text can hold are told by SQLite's message.
struct SqliteFailure {
    QString text;
    JetError::Cause cause = JetError::Cause::Other;
};
SqliteFailure sqliteFailure(sqlite3 *db);

} // namespace katarix::jet
