#pragma once

#include "Dataset.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

struct sqlite3_stmt;

namespace katarix::jet {

struct SqliteFailure;

class Database;

// Rows the program makes itself, kept in the database's temporary storage instead of in memory:
// an SQLite TEMP table, on disk in a file readable by the user alone that is gone when the
// connection closes. Rows are appended in order and read back through a forward-only Query over
// selectSql(), in the order they came or sorted on a field.
class TempTable {
public:
    struct Field {
        QString name;
        FieldType type = FieldType::Text;
        int size = 0; // texts longer than this are cut (0: no limit)
    };

    TempTable(Database &database, QString name, std::vector<Field> fields);
    ~TempTable(); // drops the table
    TempTable(const TempTable &) = delete;
    TempTable &operator=(const TempTable &) = delete;

    // Makes the table anew, empty. Throws JetError.
    void create();
    // Appends a row (values in field order, missing ones NULL). Throws JetError.
    void append(const QVariantList &values);
    // Ends a run of appends (they go to the table in batches).
    void finish();
    // Drops the table and what it holds.
    void drop();

    qint64 rowCount() const { return m_rows; }
    bool exists() const { return m_exists; }
    const QString &name() const { return m_name; }
    // Jet SQL selecting every field: in the order the rows came, or sorted on orderField (texts
    // in Jet order, NULL first) and then in the order they came.
    QString selectSql(const QString &orderField = QString()) const;

private:
    void exec(const QString &sql);
    [[noreturn]] void fail(const SqliteFailure &failure) const;
    void commit();

    Database &m_database;
    QString m_name;
    std::vector<Field> m_fields;
    sqlite3_stmt *m_insert = nullptr;
    qint64 m_rows = 0;
    int m_inBatch = 0;
    bool m_exists = false;
};

} // namespace katarix::jet
