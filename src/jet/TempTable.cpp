#include "TempTable.h"

#include "Database.h"
#include "ErrorText.h"
#include "JetError.h"

#include <sqlite3.h>

namespace katarix::jet {

namespace {

// Appends between commits: one transaction per batch instead of one per row.
constexpr int kBatch = 1000;

} // namespace

TempTable::TempTable(Database &database, QString name, std::vector<Field> fields)
    : m_database(database), m_name(std::move(name)), m_fields(std::move(fields))
{
}

TempTable::~TempTable()
{
    try {
        drop();
    } catch (...) {
        // The table goes with the connection anyway.
    }
}

// Damage, a full disk and a lack of memory are said as such; anything else names the table.
void TempTable::fail(const SqliteFailure &failure) const
{
    if (failure.cause != JetError::Cause::Other)
        throw JetError(failure.text, failure.cause);
    throw JetError(QStringLiteral("Błąd tabeli tymczasowej %1: %2").arg(m_name, failure.text));
}

void TempTable::exec(const QString &sql)
{
    sqlite3 *db = m_database.handle();
    if (!db)
        throw JetError(QStringLiteral("Baza danych nie jest otwarta."));
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sqliteFailure(db));
}

void TempTable::create()
{
    drop();
    // Nr keeps the order of appending; texts compare the Jet way, as the register's do.
    QString columns = QStringLiteral("Nr INTEGER PRIMARY KEY");
    QString names;
    QString marks;
    for (const Field &field : m_fields) {
        QString type = QStringLiteral("TEXT COLLATE JET");
        if (field.type == FieldType::Float)
            type = QStringLiteral("REAL");
        else if (field.type == FieldType::Integer || field.type == FieldType::SmallInt || field.type == FieldType::Boolean)
            type = QStringLiteral("INTEGER");
        columns += QStringLiteral(", ") + field.name + u' ' + type;
        names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + field.name;
        marks += marks.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?");
    }
    exec(QStringLiteral("CREATE TEMP TABLE %1(%2)").arg(m_name, columns));
    m_exists = true;
    m_rows = 0;
    const QByteArray insert = QStringLiteral("INSERT INTO temp.%1(%2) VALUES (%3)").arg(m_name, names, marks).toUtf8();
    if (sqlite3_prepare_v2(m_database.handle(), insert.constData(), int(insert.size()), &m_insert, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_database.handle()));
        sqlite3_finalize(m_insert);
        m_insert = nullptr;
        throw JetError(QStringLiteral("Błąd tabeli tymczasowej %1: %2").arg(m_name, message));
    }
}

void TempTable::append(const QVariantList &values)
{
    if (!m_insert)
        throw JetError(QStringLiteral("Tabela tymczasowa %1 nie istnieje.").arg(m_name));
    if (m_inBatch == 0)
        sqlite3_exec(m_database.handle(), "BEGIN", nullptr, nullptr, nullptr); // without it: a row each
    sqlite3_reset(m_insert);
    for (int i = 0; i < int(m_fields.size()); ++i) {
        const QVariant value = i < values.size() ? values[i] : QVariant();
        const Field &field = m_fields[size_t(i)];
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(m_insert, i + 1);
        } else if (field.type == FieldType::Float) {
            rc = sqlite3_bind_double(m_insert, i + 1, Dataset::valueToFloat(value));
        } else if (field.type == FieldType::Text || field.type == FieldType::DateTime) {
            QString text = Dataset::valueToText(value);
            if (field.size > 0 && text.size() > field.size)
                text.truncate(field.size);
            const QByteArray utf8 = text.toUtf8();
            rc = sqlite3_bind_text(m_insert, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else {
            rc = sqlite3_bind_int64(m_insert, i + 1, Dataset::valueToInteger(value));
        }
        if (rc != SQLITE_OK)
            throw JetError(QStringLiteral("Błąd tabeli tymczasowej %1: %2").arg(m_name, QString::fromUtf8(sqlite3_errstr(rc))));
    }
    if (sqlite3_step(m_insert) != SQLITE_DONE) {
        const SqliteFailure failure = sqliteFailure(m_database.handle());
        sqlite3_reset(m_insert);
        fail(failure);
    }
    sqlite3_reset(m_insert);
    ++m_rows;
    if (++m_inBatch >= kBatch)
        commit();
}

void TempTable::commit()
{
    if (m_inBatch > 0 && m_database.handle())
        sqlite3_exec(m_database.handle(), "COMMIT", nullptr, nullptr, nullptr);
    m_inBatch = 0;
}

void TempTable::finish()
{
    commit();
}

void TempTable::drop()
{
    commit();
    if (m_insert)
        sqlite3_finalize(m_insert);
    m_insert = nullptr;
    if (m_exists && m_database.handle())
        exec(QStringLiteral("DROP TABLE IF EXISTS temp.%1").arg(m_name));
    m_exists = false;
    m_rows = 0;
}

QString TempTable::selectSql(const QString &orderField) const
{
    QStringList names;
    for (const Field &field : m_fields)
        names << field.name;
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY %3Nr")
        .arg(names.join(QStringLiteral(", ")), m_name, orderField.isEmpty() ? QString() : orderField + QStringLiteral(", "));
}

} // namespace katarix::jet
