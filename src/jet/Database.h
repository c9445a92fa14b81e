#pragma once

#include "Translator.h"

#include <QHash>
#include <QString>

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

    // The Polish text of an SQLite error message ("no such column: x" -> "Nieznana kolumna 'x'.").
    static QString polishMessage(const QString &sqliteMessage);

private:
    void installExtensions();

    sqlite3 *m_db = nullptr;
    QHash<QString, TranslatedSql> m_translations;
};

} // namespace katarix::jet
