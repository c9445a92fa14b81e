#include "Database.h"

#include "JetError.h"
#include "JetFunctions.h"

#include <sqlite3.h>

namespace katarix::jet {

namespace {

QString sqliteMessage(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("brak pamięci");
}

} // namespace

Database::Database() = default;

Database::~Database()
{
    close();
}

void Database::open(const QString &sqliteFile, bool readOnly)
{
    close();
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
        | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    const QByteArray path = sqliteFile.toUtf8();
    const int rc = sqlite3_open_v2(path.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = sqliteMessage(db);
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można otworzyć bazy danych \"%1\": %2.").arg(sqliteFile, detail));
    }
    m_db = db;
    try {
        registerJetExtensions(m_db);
    } catch (...) {
        close();
        throw;
    }
}

void Database::openInMemory()
{
    close();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = sqliteMessage(db);
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można utworzyć bazy danych w pamięci: %1.").arg(detail));
    }
    m_db = db;
    try {
        registerJetExtensions(m_db);
    } catch (...) {
        close();
        throw;
    }
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

const TranslatedSql &Database::translate(const QString &jetSql)
{
    auto it = m_translations.constFind(jetSql);
    if (it != m_translations.constEnd())
        return *it;
    TranslatedSql translated = translateJetSql(jetSql);
    return *m_translations.insert(jetSql, std::move(translated));
}

void Database::execNative(const QString &sqliteSql)
{
    if (!m_db)
        throw JetError(QStringLiteral("Baza danych nie jest otwarta."));
    char *error = nullptr;
    const QByteArray sql = sqliteSql.toUtf8();
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString detail = error ? QString::fromUtf8(error) : sqliteMessage(m_db);
        sqlite3_free(error);
        throw JetError(QStringLiteral("Błąd bazy danych: %1.").arg(detail));
    }
}

} // namespace katarix::jet
