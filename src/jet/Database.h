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

    // The SQLite text to run for a translation: each of its sets that can be kept (a list of
    // numbers; a subquery of one column taken from a table that depends on nothing outside
    // itself: no outer column, no parameter) is an indexed temporary table made at its first use,
    // and the statement reads that table instead of building the set at every run. The tables
    // compare as the subquery's column does (its declared type and collation). They are dropped
    // when the data changes (execNative, any change of rows made through this connection) and
    // beyond a few dozen, the least recently used first; setGeneration() then changes, and a
    // statement prepared from an earlier text must be prepared again.
    QString resolve(const TranslatedSql &translated);
    quint64 setGeneration();

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
    QString setReference(const TranslatedSql &translated, int index, std::vector<QString> &resolved);
    bool makeSet(const SqlSet &set, const QString &text, const QString &table);
    void evictSets();
    void dropSets();
    void dropTable(const QString &table);
    void forgetSets();

    struct KeptSet {
        QString table;      // empty: the set cannot be kept (the statement keeps its own text)
        quint64 lastUse = 0;
        quint64 resolution = 0; // the last resolve() that used it
    };

    [[noreturn]] void failOpening(sqlite3 *db, const QString &file);

    sqlite3 *m_db = nullptr;
    QHash<QString, TranslatedSql> m_translations;
    QHash<QString, KeptSet> m_sets; // by SqlSet::key
    QStringList m_unDropped;        // set tables a running statement still reads
    quint64 m_generation = 0;
    quint64 m_uses = 0;
    quint64 m_resolution = 0;
    quint64 m_tablesMade = 0;
    qint64 m_changes = -1;          // total changes when the sets were last checked
    bool m_dataChanged = false;
    std::function<void()> m_repair;
};

} // namespace katarix::jet
