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

struct StatementDeleter {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// The failure of the last call on db: damage, a full disk or a lack of memory said as such,
// anything else after what the query was doing.
[[noreturn]] void fail(sqlite3 *db, const QString &prefix, const QString &doing)
{
    const SqliteFailure failure = sqliteFailure(db);
    if (failure.cause != JetError::Cause::Other)
        throw JetError(prefix + failure.text, failure.cause);
    throw JetError(prefix + doing.arg(failure.text));
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

void Query::setSql(const QString &jetSql)
{
    close();
    m_sql = jetSql;
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

// Opening an open query does nothing, as with the framework's datasets: close it (or set its
// text) to run it again.
void Query::open()
{
    if (m_open)
        return;
    if (!m_database)
        throw JetError(messagePrefix() + QStringLiteral("Zapytanie nie ma przypisanej bazy danych."));
    if (!m_database->isOpen())
        throw JetError(messagePrefix() + QStringLiteral("Baza danych nie jest otwarta."));
    if (m_sql.trimmed().isEmpty())
        throw JetError(messagePrefix() + QStringLiteral("Zapytanie nie ma tekstu SQL."));

    try {
        run();
    } catch (const JetError &error) {
        // A damaged copy is rebuilt from the register once; the query then runs on the new one.
        if (error.cause() != JetError::Cause::DamagedCopy || !m_database->repairFile())
            throw;
        run();
    }
}

void Query::run()
{
    TranslatedSql translated;
    try {
        translated = m_database->translate(m_sql);
    } catch (const JetError &error) {
        throw JetError(messagePrefix() + error.message());
    }
    sqlite3 *db = m_database->handle();
    const QByteArray sql = translated.sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &raw, &tail) != SQLITE_OK) {
        sqlite3_finalize(raw);
        fail(db, messagePrefix(), QStringLiteral("Błąd zapytania: %1."));
    }
    Statement statement(raw);
    if (!statement)
        throw JetError(messagePrefix() + QStringLiteral("Zapytanie nie zawiera instrukcji."));
    if (tail && !QByteArray(tail).trimmed().isEmpty())
        throw JetError(messagePrefix()
                       + QStringLiteral("Zapytanie zawiera więcej niż jedną instrukcję."));

    bindParameters(statement.get());

    const int columns = sqlite3_column_count(statement.get());
    QStringList names;
    names.reserve(columns);
    std::vector<FieldType> types(size_t(columns), FieldType::Text);
    std::vector<bool> typeKnown(size_t(columns), false);
    for (int c = 0; c < columns; ++c) {
        // A repeated name gets _1, _2, ... as the framework's field definitions do.
        const QString name = QString::fromUtf8(sqlite3_column_name(statement.get(), c));
        QString unique = name;
        for (int n = 1; names.contains(unique, Qt::CaseInsensitive); ++n)
            unique = name + QLatin1Char('_') + QString::number(n);
        names.append(unique);
        bool known = false;
        types[size_t(c)] = typeFromDeclaration(sqlite3_column_decltype(statement.get(), c), &known);
        typeKnown[size_t(c)] = known;
    }

    std::vector<std::vector<QVariant>> rows;
    for (;;) {
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(db, messagePrefix(), QStringLiteral("Błąd podczas wykonywania zapytania: %1."));
        std::vector<QVariant> row(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            QVariant value = columnValue(statement.get(), c);
            if (!typeKnown[size_t(c)] && !value.isNull()) {
                types[size_t(c)] = typeFromStorage(value);
                typeKnown[size_t(c)] = true;
            }
            row[size_t(c)] = std::move(value);
        }
        rows.push_back(std::move(row));
    }

    // Yes/No columns hold Jet's -1 / 0.
    for (int c = 0; c < columns; ++c) {
        if (types[size_t(c)] != FieldType::Boolean)
            continue;
        for (std::vector<QVariant> &row : rows) {
            QVariant &value = row[size_t(c)];
            if (!value.isNull() && value.typeId() != QMetaType::QString)
                value = value.toLongLong() != 0;
        }
    }

    m_open = true;
    setRows(std::move(names), std::move(types), std::move(rows));
    Q_EMIT afterOpen();
    notifyScroll();
}

void Query::close()
{
    if (!m_open)
        return;
    m_open = false;
    setFields({}, {});
    clearRows();
    Q_EMIT afterClose();
}

} // namespace katarix::jet
