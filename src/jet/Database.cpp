#include "Database.h"

#include "ErrorText.h"
#include "JetError.h"
#include "JetFunctions.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <memory>

#include <sqlite3.h>

namespace katarix::jet {

namespace {

// Distinct texts kept translated; templates filled with id lists make the set open-ended.
constexpr int kTranslationCacheLimit = 1000;
// Sets kept as temporary tables; beyond it the least recently used is dropped.
constexpr int kKeptSetLimit = 64;

struct StatementDeleter {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3 *db, const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, &tail) != SQLITE_OK ||
        (tail && !QByteArray(tail).trimmed().isEmpty())) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return Statement(statement);
}

bool run(sqlite3 *db, const QString &sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString quotedName(const char *name)
{
    return u'"' + QString::fromUtf8(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

Database::Database() = default;

Database::~Database()
{
    close();
}

void Database::installExtensions()
{
    try {
        registerJetExtensions(m_db);
    } catch (...) {
        close();
        throw;
    }
}

// A failure of SQLite that names its cause (damage, a full disk, memory) says only that; others
// name the file that could not be opened.
void Database::failOpening(sqlite3 *db, const QString &file)
{
    const SqliteFailure failure = sqliteFailure(db);
    sqlite3_close(db);
    if (failure.cause != JetError::Cause::Other)
        throw JetError(failure.text, failure.cause);
    throw JetError(QStringLiteral("Nie można otworzyć bazy danych \"%1\": %2.").arg(file, failure.text));
}

void Database::open(const QString &sqliteFile, bool readOnly)
{
    close();
    m_repair = nullptr;
    if (readOnly && !QFileInfo(sqliteFile).isFile())
        throw JetError(QStringLiteral("Nie można otworzyć bazy danych \"%1\": plik nie istnieje.").arg(sqliteFile));
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
        | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    const QByteArray path = sqliteFile.toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, flags, nullptr) != SQLITE_OK)
        failOpening(db, sqliteFile);
    // A copy opened read-only is never written while it is open (a new copy replaces the file):
    // the connection keeps its shared lock instead of taking it, checking the file and
    // dropping it again for every statement. SQLite reads the header lazily: make a damaged or
    // foreign file fail here, which also takes that lock.
    if (readOnly)
        sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE", nullptr, nullptr, nullptr);
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        failOpening(db, sqliteFile);
    m_db = db;
    installExtensions();
}

void Database::openInMemory()
{
    close();
    m_repair = nullptr;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const SqliteFailure failure = sqliteFailure(db);
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można utworzyć bazy danych w pamięci: %1").arg(failure.text), failure.cause);
    }
    m_db = db;
    installExtensions();
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    forgetSets();
}

const TranslatedSql &Database::translate(const QString &jetSql)
{
    auto it = m_translations.constFind(jetSql);
    if (it != m_translations.constEnd())
        return *it;
    TranslatedSql translated = translateJetSql(jetSql);
    if (m_translations.size() >= kTranslationCacheLimit)
        m_translations.clear();
    return *m_translations.insert(jetSql, std::move(translated));
}

void Database::execNative(const QString &sqliteSql)
{
    if (!m_db)
        throw JetError(QStringLiteral("Baza danych nie jest otwarta."));
    m_dataChanged = true; // kept sets may no longer hold what their subqueries give
    const QByteArray sql = sqliteSql.toUtf8();
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const SqliteFailure failure = sqliteFailure(m_db);
        if (failure.cause != JetError::Cause::Other)
            throw JetError(failure.text, failure.cause);
        throw JetError(QStringLiteral("Błąd bazy danych: %1.").arg(failure.text));
    }
}

quint64 Database::setGeneration()
{
    if (!m_db)
        return m_generation;
    const qint64 changes = sqlite3_total_changes64(m_db);
    if (m_dataChanged || (m_changes >= 0 && changes != m_changes))
        dropSets();
    m_dataChanged = false;
    m_changes = sqlite3_total_changes64(m_db);
    return m_generation;
}

QString Database::resolve(const TranslatedSql &translated)
{
    if (translated.sets.empty() || !m_db)
        return translated.sql;
    setGeneration();
    ++m_resolution;
    std::vector<QString> resolved(translated.sets.size());
    const QString sql = fillSetPlaceholders(translated.pattern, [&](int index) {
        return setReference(translated, index, resolved);
    });
    m_changes = sqlite3_total_changes64(m_db); // the rows of the sets just made
    return sql;
}

QString Database::setReference(const TranslatedSql &translated, int index, std::vector<QString> &resolved)
{
    QString &reference = resolved[size_t(index)];
    if (!reference.isEmpty())
        return reference;
    const SqlSet &set = translated.sets[size_t(index)];
    auto innerText = [&] {
        return fillSetPlaceholders(set.text, [&](int inner) { return setReference(translated, inner, resolved); });
    };
    auto kept = m_sets.find(set.key);
    if (kept == m_sets.end()) {
        evictSets();
        KeptSet made;
        const QString table = QStringLiteral("katarix_set_%1").arg(++m_tablesMade);
        if (makeSet(set, innerText(), table))
            made.table = table;
        kept = m_sets.insert(set.key, made);
    }
    kept->lastUse = ++m_uses;
    kept->resolution = m_resolution;
    const QString table = kept->table; // innerText() below may add sets and move the hash's items
    reference = table.isEmpty() ? u'(' + innerText() + u')' : QStringLiteral("(SELECT v FROM temp.") + table + u')';
    return reference;
}

bool Database::makeSet(const SqlSet &set, const QString &text, const QString &table)
{
    if (set.isList()) {
        QByteArray json = "[";
        for (const qint64 value : set.values)
            json += QByteArray::number(value) + ',';
        json.back() = ']';
        if (!run(m_db, QStringLiteral("CREATE TEMP TABLE %1(v INTEGER PRIMARY KEY)").arg(table)))
            return false;
        Statement insert = prepare(m_db, QStringLiteral("INSERT OR IGNORE INTO temp.%1(v) SELECT value FROM json_each(?1)").arg(table));
        if (insert && sqlite3_bind_text(insert.get(), 1, json.constData(), int(json.size()), SQLITE_TRANSIENT) == SQLITE_OK &&
            sqlite3_step(insert.get()) == SQLITE_DONE)
            return true;
        dropTable(table);
        return false;
    }
    // A subquery is kept only when it stands alone (every name its own, no parameter) and gives
    // one column of a table, whose type and collation the kept column takes.
    Statement probe = prepare(m_db, text);
    if (!probe || sqlite3_bind_parameter_count(probe.get()) != 0 || sqlite3_column_count(probe.get()) != 1)
        return false;
    const char *database = sqlite3_column_database_name(probe.get(), 0);
    const char *origin = sqlite3_column_table_name(probe.get(), 0);
    const char *column = sqlite3_column_origin_name(probe.get(), 0);
    const char *declared = nullptr;
    const char *collation = nullptr;
    if (!database || !origin || !column ||
        sqlite3_table_column_metadata(m_db, database, origin, column, &declared, &collation, nullptr, nullptr,
                                      nullptr) != SQLITE_OK)
        return false;
    const QString type = declared && *declared ? quotedName(declared) + u' ' : QString();
    const QString collate = collation ? QStringLiteral("COLLATE ") + quotedName(collation) : QString();
    probe.reset();
    if (!run(m_db, QStringLiteral("CREATE TEMP TABLE %1(v %2%3)").arg(table, type, collate)))
        return false;
    if (run(m_db, QStringLiteral("INSERT INTO temp.%1(v) ").arg(table) + text) &&
        run(m_db, QStringLiteral("CREATE INDEX temp.%1_v ON %1(v)").arg(table)))
        return true;
    dropTable(table);
    return false;
}

void Database::evictSets()
{
    while (m_sets.size() >= kKeptSetLimit) {
        auto oldest = m_sets.end();
        for (auto it = m_sets.begin(); it != m_sets.end(); ++it) {
            if (it->resolution != m_resolution && (oldest == m_sets.end() || it->lastUse < oldest->lastUse))
                oldest = it;
        }
        if (oldest == m_sets.end())
            return; // every kept set serves the statement being resolved
        if (!oldest->table.isEmpty())
            dropTable(oldest->table);
        m_sets.erase(oldest);
        ++m_generation;
    }
}

void Database::dropSets()
{
    const QStringList waiting = m_unDropped;
    m_unDropped.clear();
    for (const QString &table : waiting)
        dropTable(table);
    if (m_sets.isEmpty())
        return;
    for (const KeptSet &kept : std::as_const(m_sets))
        if (!kept.table.isEmpty())
            dropTable(kept.table);
    m_sets.clear();
    ++m_generation;
}

void Database::dropTable(const QString &table)
{
    // A statement still reading the table (a forward-only query) keeps it until a later try.
    if (!run(m_db, QStringLiteral("DROP TABLE IF EXISTS temp.%1").arg(table)))
        m_unDropped << table;
}

void Database::forgetSets()
{
    m_sets.clear();
    m_unDropped.clear();
    m_changes = -1;
    m_dataChanged = false;
    ++m_generation;
}

bool Database::repairFile()
{
    if (!m_repair)
        return false;
    // The repair reopens this database and installs its own repair for the new file.
    const std::function<void()> repair = std::move(m_repair);
    m_repair = nullptr;
    repair();
    return true;
}

} // namespace katarix::jet
