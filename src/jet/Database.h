#pragma once

#include "Translator.h"

#include <QHash>
#include <QString>

#include <functional>

struct sqlite3;

namespace katarix::jet {

// One SQLite database with the Jet semantics installed (user functions and the JET collation).
// All program SQL reaches it as Jet text through translate(); native SQL is for loaders only.
class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void open(const QString &sqliteFile, bool readOnly = true); // throws JetError
    void openInMemory();
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Cached translation of a Jet SQL text (throws JetError). The reference stays valid until
    // the next call; copy it to keep it.
    const TranslatedSql &translate(const QString &jetSql);

    // Runs native SQLite statements (schema creation, bulk loading). Throws JetError.
    void execNative(const QString &sqliteSql);

    // How the file is made anew when SQLite finds it damaged during the session (set by
    // openRegister: the copy is rebuilt from the register and this database reopened on it).
    // repairFile runs it and returns true, or returns false when there is none; a query that
    // failed on a damaged file runs once more after it. Closing keeps it; open and
    // openInMemory drop it.
    void setRepair(std::function<void()> repair) { m_repair = std::move(repair); }
    bool repairFile();

private:
    void installExtensions();
    [[noreturn]] void failOpening(sqlite3 *db, const QString &file);

    sqlite3 *m_db = nullptr;
    QHash<QString, TranslatedSql> m_translations;
    std::function<void()> m_repair;
};

} // namespace katarix::jet
