#include "RegisterImporter.h"

#include "JetError.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTime>

#include <sqlite3.h>

#include <cmath>

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

struct RegisterImporter::Impl {
    sqlite3 *db = nullptr;
    sqlite3_stmt *insert = nullptr;
    QString table;
    std::vector<ImportColumn> columns;
    QStringList tables;
    std::vector<std::vector<ImportColumn>> tableColumns;
    bool inTransaction = false;

    void exec(const QString &sql)
    {
        char *error = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            const QString detail = QString::fromUtf8(error ? error : sqlite3_errmsg(db));
            sqlite3_free(error);
            throw JetError(QStringLiteral("Błąd zapisu wczytywanej bazy danych: %1.").arg(detail));
        }
    }

    [[noreturn]] void fail(const QString &what)
    {
        throw JetError(QStringLiteral("Błąd zapisu wczytywanej bazy danych (tabela %1): %2 (%3).")
                           .arg(table, what, QString::fromUtf8(sqlite3_errmsg(db))));
    }

    void bind(int position, const ImportColumn &column, const QVariant &value)
    {
        int rc = SQLITE_OK;
        if (!value.isValid() || value.isNull()) {
            rc = sqlite3_bind_null(insert, position);
        } else if (column.kind == ColumnKind::DateTime) {
            const QByteArray text = dateTimeText(value).toUtf8();
            rc = sqlite3_bind_text(insert, position, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(insert, position, value.toBool() ? -1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::UChar:
            case QMetaType::SChar:
                if (column.kind == ColumnKind::Boolean)
                    rc = sqlite3_bind_int64(insert, position, value.toLongLong() != 0 ? -1 : 0);
                else
                    rc = sqlite3_bind_int64(insert, position, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(insert, position, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob64(insert, position, bytes.constData(), sqlite3_uint64(bytes.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = value.toString().toUtf8();
                rc = sqlite3_bind_text64(insert, position, text.constData(), sqlite3_uint64(text.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            fail(QStringLiteral("kolumna %1").arg(column.name));
    }
};

RegisterImporter::RegisterImporter(sqlite3 *db)
    : d(new Impl)
{
    d->db = db;
    // The loaded copy is rebuilt from the .mdb whenever it is incomplete, so it is written
    // without a rollback journal.
    d->exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536"));
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
    d->exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(name), definitions.join(QStringLiteral(", "))));
    const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                  .arg(quoteIdentifier(name), placeholders.join(QLatin1Char(',')))
                                  .toUtf8();
    if (sqlite3_prepare_v2(d->db, insert.constData(), int(insert.size()), &d->insert, nullptr) != SQLITE_OK)
        d->fail(QStringLiteral("przygotowanie wstawiania"));
    d->tables << name;
    d->tableColumns.push_back(columns);
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
    for (size_t i = 0; i < values.size(); ++i)
        d->bind(int(i) + 1, d->columns[i], values[i]);
    const int rc = sqlite3_step(d->insert);
    sqlite3_reset(d->insert);
    if (rc != SQLITE_DONE)
        d->fail(QStringLiteral("wstawianie wiersza"));
}

void RegisterImporter::endTable()
{
    if (d->insert) {
        sqlite3_finalize(d->insert);
        d->insert = nullptr;
    }
}

void RegisterImporter::finish()
{
    endTable();
    const QSet<QString> &indexed = indexedColumns();
    int indexNumber = 0;
    for (size_t t = 0; t < size_t(d->tables.size()); ++t) {
        const QString &table = d->tables[qsizetype(t)];
        for (const ImportColumn &column : d->tableColumns[t]) {
            if (!indexed.contains(column.name.toUpper()))
                continue;
            const QString index = QStringLiteral("ix%1_%2_%3").arg(++indexNumber).arg(table, column.name).toLower();
            d->exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                        .arg(quoteIdentifier(index), quoteIdentifier(table), quoteIdentifier(column.name)));
        }
    }
    d->exec(QStringLiteral("PRAGMA analysis_limit=2000; ANALYZE"));
    d->exec(QStringLiteral("COMMIT"));
    d->inTransaction = false;
}

} // namespace katarix::jet
