#pragma once

#include "Dataset.h"

#include <QMap>

struct sqlite3_stmt;

namespace katarix::jet {

class Database;

// The framework query: Jet SQL text, typed named parameters, open/close.
class Query : public Dataset {
    Q_OBJECT
public:
    explicit Query(QObject *parent = nullptr);

    void setDatabase(Database *database) { m_database = database; }
    Database *database() const { return m_database; }

    void setSql(const QString &jetSql); // closes the query
    const QString &sql() const { return m_sql; }

    // Parameters by name, case-insensitive; the type decides how the value is bound.
    void setParameter(const QString &name, const QVariant &value, FieldType type);
    QVariant parameter(const QString &name) const;

    // Throws JetError; emits afterOpen, then afterScroll when there is a row (unless controls
    // are disabled). Does nothing when already open.
    void open();
    void close() override;
    bool isOpen() const override { return m_open; }
    bool active() const { return m_open; }

private:
    void run();
    void bindParameters(sqlite3_stmt *statement) const;
    QString parameterSpelling(const QString &lowerName) const; // as written in the SQL text

    struct Parameter {
        QVariant value;
        FieldType type = FieldType::Text;
    };
    Database *m_database = nullptr;
    QString m_sql;
    QMap<QString, Parameter> m_parameters; // key: lower-case name
    bool m_open = false;
};

} // namespace katarix::jet
