#pragma once

#include "Dataset.h"
#include "Translator.h"

#include <QMap>

struct sqlite3;
struct sqlite3_stmt;

namespace katarix::jet {

class Database;

// The framework query: Jet SQL text, typed named parameters, open/close.
// The translation and the prepared statement are kept while the text stays the same, so opening
// again with new parameters costs only the run. A forward-only query (setForwardOnly) holds just
// its current row: next() reads the next one from the engine, recordCount() is the number of rows
// read so far, and it cannot go back (first() on a later row throws).
class Query : public Dataset {
    Q_OBJECT
public:
    explicit Query(QObject *parent = nullptr);
    ~Query() override;

    void setDatabase(Database *database) { m_database = database; }
    Database *database() const { return m_database; }

    void setSql(const QString &jetSql); // closes the query and forgets the prepared statement
    const QString &sql() const { return m_sql; }

    void setForwardOnly(bool forwardOnly) { close(); m_forwardOnly = forwardOnly; }
    bool forwardOnly() const { return m_forwardOnly; }

    // Parameters by name, case-insensitive; the type decides how the value is bound.
    void setParameter(const QString &name, const QVariant &value, FieldType type);
    QVariant parameter(const QString &name) const;

    // Throws JetError; emits afterOpen, then afterScroll when there is a row (unless controls
    // are disabled). Does nothing when already open.
    void open();
    void close() override;
    // Runs the query with its current parameters and returns the number of its rows, without
    // keeping them; the query stays closed. Throws JetError.
    qint64 countRows();
    // Closes the query and lets go of its translation and prepared statement; the text and the
    // parameters stay, and the next open() prepares them again.
    void release();
    bool isOpen() const override { return m_open; }
    bool active() const { return m_open; }

protected:
    bool fetchNext() override;

private:
    sqlite3_stmt *prepared();
    void finalize();
    void openStatement(); // open() without the repair of a damaged copy
    void bindParameters(sqlite3_stmt *statement) const;
    bool readRow(std::vector<QVariant> &row);
    QString parameterSpelling(const QString &lowerName) const; // as written in the SQL text

    struct Parameter {
        QVariant value;
        FieldType type = FieldType::Text;
    };
    Database *m_database = nullptr;
    QString m_sql;
    QMap<QString, Parameter> m_parameters; // key: lower-case name
    bool m_open = false;
    bool m_forwardOnly = false;

    // What open() prepared, valid while the text, the connection and its sets stay the same.
    bool m_translated = false;
    TranslatedSql m_translation;
    sqlite3_stmt *m_statement = nullptr;
    sqlite3 *m_statementDb = nullptr;
    Database *m_statementDatabase = nullptr;
    quint64 m_statementGeneration = 0;
    std::vector<bool> m_typeKnown;
};

} // namespace katarix::jet
