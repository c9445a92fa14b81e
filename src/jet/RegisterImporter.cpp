#include "RegisterImporter.h"

#include "ErrorText.h"
#include "JetError.h"
#include "StoredNames.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTime>

#include <sqlite3.h>

#include <cmath>
#include <cstring>

namespace katarix::jet {

namespace {

// Key columns of the register's tables and the columns its queries join on. Every table that
// has one of them gets an index on it.
const QSet<QString> &indexedColumns()
{
    static const QSet<QString> names = {
        // keys
        QStringLiteral("MSLINK"), QStringLiteral("ID"), QStringLiteral("ID_JR"),
        QStringLiteral("MIEJSC_ID"), QStringLiteral("KW_ID"), QStringLiteral("OSFIZ_ID"),
        QStringLiteral("OSPRAW_ID"), QStringLiteral("MALZ_ID"), QStringLiteral("ADRES_ID"),
        QStringLiteral("KOD_ID"), QStringLiteral("ULICA_ID"), QStringLiteral("RODZ_UL_ID"),
        QStringLiteral("SPRAWA_ID"), QStringLiteral("RODZ_ZM_ID"), QStringLiteral("DOK_ID"),
        QStringLiteral("OPERAT_ID"), QStringLiteral("OPERATZASOB_ID"), QStringLiteral("OPERATTYP_ID"),
        // joins
        QStringLiteral("DZIALKA_ID"), QStringLiteral("BUDYNEK_ID"), QStringLiteral("LOKAL_ID"),
        QStringLiteral("OSOBA_ID"), QStringLiteral("OBREB_ID"), QStringLiteral("OBSZAR_ID"),
        QStringLiteral("ZMIANA_ID"), QStringLiteral("GMINA_ID"), QStringLiteral("ARKUSZ_ID"),
        QStringLiteral("ON_ID"), QStringLiteral("ONA_ID"), QStringLiteral("KOMENT"),
    };
    return names;
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

const char *declaredType(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Boolean:
    case ColumnKind::Integer:
        return "INTEGER";
    case ColumnKind::Float:
    case ColumnKind::Currency:
        return "REAL";
    case ColumnKind::DateTime:
        return "TEXT";
    case ColumnKind::Text:
    case ColumnKind::Memo:
        return "TEXT COLLATE JET";
    case ColumnKind::Binary:
        return "BLOB";
    }
    return "";
}

// OLE Automation date (days since 1899-12-30; for negative values the fraction still counts
// forward from midnight) as 'YYYY-MM-DD HH:MM:SS'.
QString oleDateText(double days)
{
    if (!std::isfinite(days))
        return QString();
    const double whole = std::trunc(days);
    double fraction = std::fabs(days - whole);
    qint64 seconds = qint64(std::llround(fraction * 86400.0));
    qint64 dayNumber = qint64(whole);
    if (seconds >= 86400) {
        // Rounded up to the next midnight, which is later in time for negative days too.
        seconds -= 86400;
        dayNumber += 1;
    }
    const QDate date = QDate(1899, 12, 30).addDays(dayNumber);
    const QTime time = QTime(0, 0).addSecs(int(seconds));
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
        + time.toString(QStringLiteral("HH:mm:ss"));
}

QString dateTimeText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
            + dt.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1String(" 00:00:00");
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::LongLong:
    case QMetaType::Int:
        return oleDateText(value.toDouble());
    default:
        return value.toString();
    }
}

} // namespace

void RowBatch::addText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    addText(utf8.constData(), size_t(utf8.size()));
}

void RowBatch::addBytes(Tag tag, const char *bytes, size_t size)
{
    if (size > 0xffffffffu)
        throw JetError(QStringLiteral("Wartość jest zbyt duża (%1 bajtów).").arg(size));
    const quint32 length = quint32(size);
    char head[1 + sizeof length];
    head[0] = tag;
    std::memcpy(head + 1, &length, sizeof length);
    m_data.append(head, sizeof head);
    m_data.append(bytes, size);
}

void RowBatch::patchLength(size_t start)
{
    const size_t size = m_data.size() - start - 1 - sizeof(quint32);
    if (size > 0xffffffffu)
        throw JetError(QStringLiteral("Wartość jest zbyt duża (%1 bajtów).").arg(size));
    const quint32 length = quint32(size);
    std::memcpy(m_data.data() + start + 1, &length, sizeof length);
}

void RowBatch::addDateTime(double days)
{
    addText(oleDateText(days));
}

struct RegisterImporter::Impl {
    sqlite3 *db = nullptr;
    sqlite3_stmt *insert = nullptr;
    QString table;
    std::vector<ImportColumn> columns;
    int indexNumber = 0;
    bool inTransaction = false;
    RowBatch single; // appendRow's one row

    [[noreturn]] void fail(const QString &what)
    {
        const SqliteFailure failure = sqliteFailure(db);
        if (failure.cause != JetError::Cause::Other)
            throw JetError(failure.text, failure.cause);
        if (what.isEmpty())
            throw JetError(QStringLiteral("Błąd zapisu wczytywanej bazy danych: %1.").arg(failure.text));
        throw JetError(QStringLiteral("Błąd zapisu wczytywanej bazy danych (tabela %1): %2 (%3).")
                           .arg(table, what, failure.text));
    }

    void exec(const QString &sql)
    {
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QString());
    }

    // Binds one row from `at`; returns where the next row starts.
    const char *bindRow(const char *at, const char *end)
    {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (at >= end)
                throw JetError(QStringLiteral("Wiersz tabeli %1 ma %2 wartości zamiast %3.")
                                   .arg(table)
                                   .arg(c)
                                   .arg(columns.size()));
            const int position = int(c) + 1;
            const char tag = *at++;
            int rc = SQLITE_OK;
            switch (tag) {
            case RowBatch::Null:
                rc = sqlite3_bind_null(insert, position);
                break;
            case RowBatch::Integer: {
                qint64 value;
                std::memcpy(&value, at, sizeof value);
                at += sizeof value;
                rc = sqlite3_bind_int64(insert, position, value);
                break;
            }
            case RowBatch::Real: {
                double value;
                std::memcpy(&value, at, sizeof value);
                at += sizeof value;
                rc = sqlite3_bind_double(insert, position, value);
                break;
            }
            case RowBatch::Text:
            case RowBatch::Blob: {
                quint32 length;
                std::memcpy(&length, at, sizeof length);
                at += sizeof length;
                // Never a null pointer: an empty text or blob is not NULL.
                rc = tag == RowBatch::Text
                    ? sqlite3_bind_text64(insert, position, at, length, SQLITE_STATIC, SQLITE_UTF8)
                    : sqlite3_bind_blob64(insert, position, at, length, SQLITE_STATIC);
                at += length;
                break;
            }
            default:
                throw JetError(QStringLiteral("Nieprawidłowa wartość w wierszu tabeli %1.").arg(table));
            }
            if (rc != SQLITE_OK)
                fail(QStringLiteral("kolumna %1").arg(columns[c].name));
        }
        return at;
    }
};

RegisterImporter::RegisterImporter(sqlite3 *db)
    : d(new Impl)
{
    d->db = db;
    // The loaded copy is rebuilt from the .mdb whenever it is incomplete, so it is written
    // without a rollback journal. Most of the load is building indexes, each a full scan of its
    // table: 16 KiB pages make those scans (and the writes) a quarter as many reads, and a 16 MiB
    // cache keeps the loader's peak near 100 MB at 500,000 parcels.
    d->exec(QStringLiteral("PRAGMA page_size=16384; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                           "PRAGMA cache_size=-16384"));
    d->exec(QStringLiteral("BEGIN"));
    d->inTransaction = true;
}

RegisterImporter::~RegisterImporter()
{
    if (d->insert)
        sqlite3_finalize(d->insert);
    if (d->inTransaction)
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
    delete d;
}

void RegisterImporter::encode(const ImportColumn &column, const QVariant &value, RowBatch &out)
{
    if (!value.isValid() || value.isNull()) {
        out.addNull();
        return;
    }
    if (column.kind == ColumnKind::DateTime) {
        out.addText(dateTimeText(value));
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        out.addInteger(value.toBool() ? -1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
        if (column.kind == ColumnKind::Boolean)
            out.addInteger(value.toLongLong() != 0 ? -1 : 0);
        else
            out.addInteger(value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        out.addReal(value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        out.addBlob(bytes.constData(), size_t(bytes.size()));
        break;
    }
    default:
        out.addText(value.toString());
        break;
    }
}

void RegisterImporter::beginTable(const QString &name, const std::vector<ImportColumn> &columns)
{
    if (d->insert)
        endTable();
    d->table = name;
    d->columns = columns;
    QStringList definitions;
    QStringList placeholders;
    for (const ImportColumn &column : columns) {
        definitions << quoteIdentifier(column.name) + QLatin1Char(' ') + QLatin1String(declaredType(column.kind));
        placeholders << QStringLiteral("?");
    }
    if (columns.empty())
        throw JetError(QStringLiteral("Tabela %1 nie ma kolumn.").arg(name));
    const QString stored = quoteIdentifier(storedTableName(name));
    d->exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(stored, definitions.join(QStringLiteral(", "))));
    const QByteArray insert =
        QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(stored, placeholders.join(QLatin1Char(','))).toUtf8();
    if (sqlite3_prepare_v2(d->db, insert.constData(), int(insert.size()), &d->insert, nullptr) != SQLITE_OK)
        d->fail(QStringLiteral("przygotowanie wstawiania"));
}

void RegisterImporter::appendRow(const std::vector<QVariant> &values)
{
    if (!d->insert)
        throw JetError(QStringLiteral("Wiersz poza tabelą wczytywanej bazy danych."));
    if (values.size() != d->columns.size())
        throw JetError(QStringLiteral("Wiersz tabeli %1 ma %2 wartości zamiast %3.")
                           .arg(d->table)
                           .arg(values.size())
                           .arg(d->columns.size()));
    d->single.clear();
    for (size_t i = 0; i < values.size(); ++i)
        encode(d->columns[i], values[i], d->single);
    d->single.endRow();
    appendRows(d->single);
}

void RegisterImporter::appendRows(const RowBatch &rows)
{
    if (!d->insert)
        throw JetError(QStringLiteral("Wiersz poza tabelą wczytywanej bazy danych."));
    const char *at = rows.data().data();
    const char *end = at + rows.data().size();
    for (int r = 0; r < rows.rows(); ++r) {
        at = d->bindRow(at, end);
        const int rc = sqlite3_step(d->insert);
        sqlite3_reset(d->insert);
        if (rc != SQLITE_DONE)
            d->fail(QStringLiteral("wstawianie wiersza"));
    }
    if (at != end)
        throw JetError(QStringLiteral("Wiersz tabeli %1 ma więcej wartości niż kolumn.").arg(d->table));
}

void RegisterImporter::endTable()
{
    if (!d->insert)
        return;
    sqlite3_finalize(d->insert);
    d->insert = nullptr;
    const QSet<QString> &indexed = indexedColumns();
    const QString table = quoteIdentifier(storedTableName(d->table));
    for (const ImportColumn &column : d->columns) {
        if (!indexed.contains(column.name.toUpper()))
            continue;
        const QString index = indexName(++d->indexNumber, d->table, column.name);
        d->exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                    .arg(quoteIdentifier(index), table, quoteIdentifier(column.name)));
    }
}

void RegisterImporter::finish()
{
    endTable();
    d->exec(QStringLiteral("PRAGMA analysis_limit=2000; ANALYZE"));
    d->exec(QStringLiteral("COMMIT"));
    d->inTransaction = false;
}

} // namespace katarix::jet
