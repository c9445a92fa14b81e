#include "Query.h"

#include "Database.h"
#include "ErrorText.h"
#include "JetError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <memory>
#include <sqlite3.h>

namespace katarix::jet {

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// Throws the failure: damage, a full disk or a lack of memory said as such, anything else after
// what the query was doing.
[[noreturn]] void throwFailure(const SqliteFailure &failure, const QString &prefix, const QString &doing)
{
    if (failure.cause != JetError::Cause::Other)
        throw JetError(prefix + failure.text, failure.cause);
    throw JetError(prefix + doing.arg(failure.text));
}

// The failure of the last call on db.
[[noreturn]] void fail(sqlite3 *db, const QString &prefix, const QString &doing)
{
    throwFailure(sqliteFailure(db), prefix, doing);
}

// Runs run; when it fails on a damaged copy, the copy is rebuilt from the register once and run
// runs again on the new one (its statement, prepared on the old connection, is prepared anew).
template <class Run>
auto onceRepaired(Database *database, Run run)
{
    try {
        return run();
    } catch (const JetError &error) {
        if (error.cause() != JetError::Cause::DamagedCopy || !database || !database->repairFile())
            throw;
        return run();
    }
}

FieldType typeFromDeclaration(const char *declared, bool *known)
{
    *known = declared != nullptr;
    if (!declared)
        return FieldType::Text;
    const QByteArray type = QByteArray(declared).toUpper();
    if (type.contains("BOOL") || type.contains("BIT") || type.contains("YESNO"))
        return FieldType::Boolean;
    if (type.contains("SMALLINT") || type.contains("SHORT"))
        return FieldType::SmallInt;
    if (type.contains("INT"))
        return FieldType::Integer;
    if (type.contains("REAL") || type.contains("FLOA") || type.contains("DOUB")
        || type.contains("NUMERIC") || type.contains("DECIMAL") || type.contains("CURRENCY")
        || type.contains("MONEY"))
        return FieldType::Float;
    if (type.contains("DATE") || type.contains("TIME"))
        return FieldType::DateTime;
    if (type.contains("CHAR") || type.contains("TEXT") || type.contains("CLOB")
        || type.contains("MEMO"))
        return FieldType::Text;
    *known = false;
    return FieldType::Text;
}

FieldType typeFromStorage(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return FieldType::Integer;
    case QMetaType::Double:
        return FieldType::Float;
    default:
        return FieldType::Text;
    }
}

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        return QByteArray(data, sqlite3_column_bytes(statement, column));
    }
    default:
        return {};
    }
}

} // namespace

Query::Query(QObject *parent)
    : Dataset(parent)
{
}

Query::~Query()
{
    finalize();
}

void Query::setSql(const QString &jetSql)
{
    release();
    m_sql = jetSql;
}

void Query::release()
{
    close();
    finalize();
    m_translated = false;
    m_translation = {};
}

void Query::finalize()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_statementDb = nullptr;
    m_statementDatabase = nullptr;
}

void Query::setParameter(const QString &name, const QVariant &value, FieldType type)
{
    m_parameters.insert(name.toLower(), Parameter{value, type});
}

QVariant Query::parameter(const QString &name) const
{
    return m_parameters.value(name.toLower()).value;
}

QString Query::parameterSpelling(const QString &lowerName) const
{
    const QRegularExpression marker(QStringLiteral(":(%1)(?![\\w])").arg(QRegularExpression::escape(lowerName)),
                                    QRegularExpression::CaseInsensitiveOption
                                        | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = marker.match(m_sql);
    return match.hasMatch() ? match.captured(1) : lowerName;
}

void Query::bindParameters(sqlite3_stmt *statement) const
{
    sqlite3_clear_bindings(statement);
    const int count = sqlite3_bind_parameter_count(statement);
    for (int i = 1; i <= count; ++i) {
        const char *marker = sqlite3_bind_parameter_name(statement, i);
        if (!marker || !*marker || !marker[1])
            throw JetError(messagePrefix()
                           + QStringLiteral("Parametr zapytania nie ma nazwy (pozycja %1).").arg(i));
        const QString key = QString::fromUtf8(marker + 1).toLower();
        const auto it = m_parameters.constFind(key);
        if (it == m_parameters.constEnd())
            throw JetError(messagePrefix()
                           + QStringLiteral("Brak wartości parametru %1.").arg(quoted(parameterSpelling(key))));
        const QVariant &value = it->value;
        int rc = SQLITE_OK;
        try {
            if (value.isNull()) {
                rc = sqlite3_bind_null(statement, i);
            } else {
                switch (it->type) {
                case FieldType::Integer:
                case FieldType::SmallInt:
                    rc = sqlite3_bind_int64(statement, i, valueToInteger(value));
                    break;
                case FieldType::Float:
                    rc = sqlite3_bind_double(statement, i, valueToFloat(value));
                    break;
                case FieldType::Boolean: {
                    const bool truth = value.typeId() == QMetaType::Bool ? value.toBool()
                                                                         : valueToInteger(value) != 0;
                    rc = sqlite3_bind_int64(statement, i, truth ? -1 : 0); // Jet's True is -1
                    break;
                }
                case FieldType::DateTime:
                case FieldType::Text: {
                    const QByteArray text = valueToText(value).toUtf8();
                    rc = sqlite3_bind_text(statement, i, text.constData(), int(text.size()),
                                           SQLITE_TRANSIENT);
                    break;
                }
                }
            }
        } catch (const JetError &error) {
            throw JetError(messagePrefix()
                           + QStringLiteral("Nieprawidłowa wartość parametru %1: ").arg(quoted(parameterSpelling(key)))
                           + error.message());
        }
        if (rc != SQLITE_OK)
            throw JetError(messagePrefix()
                           + QStringLiteral("Nie można przekazać parametru %1: %2.")
                                 .arg(quoted(parameterSpelling(key)), QString::fromUtf8(sqlite3_errstr(rc))));
    }
}

// The statement for the current text, parameters bound, ready to step: the one prepared before
// when the text, the connection and the database's sets are what they were.
sqlite3_stmt *Query::prepared()
{
    if (!m_database)
        throw JetError(messagePrefix() + QStringLiteral("Zapytanie nie ma przypisanej bazy danych."));
    if (!m_database->isOpen())
        throw JetError(messagePrefix() + QStringLiteral("Baza danych nie jest otwarta."));
    if (m_sql.trimmed().isEmpty())
        throw JetError(messagePrefix() + QStringLiteral("Zapytanie nie ma tekstu SQL."));

    sqlite3 *db = m_database->handle();
    if (m_statement && (m_statementDatabase != m_database || m_statementDb != db ||
                        (!m_translation.sets.empty() && m_statementGeneration != m_database->setGeneration())))
        finalize();
    if (!m_statement) {
        if (!m_translated) {
            try {
                m_translation = m_database->translate(m_sql);
            } catch (const JetError &error) {
                throw JetError(messagePrefix() + error.message());
            }
            m_translated = true;
        }
        const QByteArray sql = m_database->resolve(m_translation).toUtf8();
        sqlite3_stmt *raw = nullptr;
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &raw, &tail) != SQLITE_OK) {
            sqlite3_finalize(raw);
            fail(db, messagePrefix(), QStringLiteral("Błąd zapytania: %1."));
        }
        if (!raw)
            throw JetError(messagePrefix() + QStringLiteral("Zapytanie nie zawiera instrukcji."));
        if (tail && !QByteArray(tail).trimmed().isEmpty()) {
            sqlite3_finalize(raw);
            throw JetError(messagePrefix()
                           + QStringLiteral("Zapytanie zawiera więcej niż jedną instrukcję."));
        }
        m_statement = raw;
        m_statementDb = db;
        m_statementDatabase = m_database;
        m_statementGeneration = m_database->setGeneration();
    } else {
        sqlite3_reset(m_statement);
    }
    bindParameters(m_statement);
    return m_statement;
}

// Steps the statement to its next row into row; false at the end. Throws JetError.
bool Query::readRow(std::vector<QVariant> &row)
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW) {
        const SqliteFailure failure = sqliteFailure(m_statementDb);
        sqlite3_reset(m_statement);
        throwFailure(failure, messagePrefix(), QStringLiteral("Błąd podczas wykonywania zapytania: %1."));
    }
    const int columns = int(m_fieldTypes.size());
    row.assign(static_cast<size_t>(columns), QVariant());
    for (int c = 0; c < columns; ++c) {
        QVariant value = columnValue(m_statement, c);
        if (!value.isNull()) {
            if (!m_typeKnown[size_t(c)]) {
                m_fieldTypes[size_t(c)] = typeFromStorage(value);
                m_typeKnown[size_t(c)] = true;
            }
            // Yes/No columns hold Jet's -1 / 0.
            if (m_fieldTypes[size_t(c)] == FieldType::Boolean && value.typeId() != QMetaType::QString)
                value = value.toLongLong() != 0;
        }
        row[size_t(c)] = std::move(value);
    }
    return true;
}

// Opening an open query does nothing, as with the framework's datasets: close it (or set its
// text) to run it again.
void Query::open()
{
    if (m_open)
        return;
    onceRepaired(m_database, [this] { openStatement(); });
}

void Query::openStatement()
{
    sqlite3_stmt *statement = prepared();

    const int columns = sqlite3_column_count(statement);
    QStringList names;
    names.reserve(columns);
    std::vector<FieldType> types(size_t(columns), FieldType::Text);
    m_typeKnown.assign(size_t(columns), false);
    for (int c = 0; c < columns; ++c) {
        // A repeated name gets _1, _2, ... as the framework's field definitions do.
        const QString name = QString::fromUtf8(sqlite3_column_name(statement, c));
        QString unique = name;
        for (int n = 1; names.contains(unique, Qt::CaseInsensitive); ++n)
            unique = name + QLatin1Char('_') + QString::number(n);
        names.append(unique);
        bool known = false;
        types[size_t(c)] = typeFromDeclaration(sqlite3_column_decltype(statement, c), &known);
        m_typeKnown[size_t(c)] = known;
    }
    setFields(names, types);

    std::vector<std::vector<QVariant>> rows;
    std::vector<QVariant> row;
    while ((rows.empty() || !m_forwardOnly) && readRow(row))
        rows.push_back(std::move(row));
    if (!m_forwardOnly || rows.empty())
        sqlite3_reset(statement); // read whole: no lock stays behind
    if (!sqlite3_stmt_readonly(statement))
        m_database->setGeneration(); // a statement that wrote: kept sets are checked again

    m_open = true;
    setRows(std::move(names), m_fieldTypes, std::move(rows));
    Q_EMIT afterOpen();
    notifyScroll();
}

bool Query::fetchNext()
{
    if (!m_open || !m_forwardOnly || !m_statement)
        return false;
    std::vector<QVariant> row;
    if (!readRow(row)) {
        sqlite3_reset(m_statement);
        return false;
    }
    m_rowsBefore += qint64(m_rows.size());
    m_rows.assign(1, std::move(row));
    return true;
}

qint64 Query::countRows()
{
    close();
    return onceRepaired(m_database, [this] {
        sqlite3_stmt *statement = prepared();
        qint64 rows = 0;
        for (;;) {
            const int rc = sqlite3_step(statement);
            if (rc == SQLITE_ROW) {
                ++rows;
                continue;
            }
            if (rc == SQLITE_DONE) {
                sqlite3_reset(statement);
                return rows;
            }
            const SqliteFailure failure = sqliteFailure(m_statementDb);
            sqlite3_reset(statement);
            throwFailure(failure, messagePrefix(), QStringLiteral("Błąd podczas wykonywania zapytania: %1."));
        }
    });
}

void Query::close()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_statement)
        sqlite3_reset(m_statement);
    setFields({}, {});
    clearRows();
    Q_EMIT afterClose();
}

} // namespace katarix::jet
