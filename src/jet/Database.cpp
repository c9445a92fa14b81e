#include "Database.h"

#include "ErrorText.h"
#include "JetError.h"
#include "JetFunctions.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace katarix::jet {

namespace {

// Distinct texts kept translated; templates filled with id lists make the set open-ended.
constexpr int kTranslationCacheLimit = 1000;

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
    // SQLite reads the header lazily: make a damaged or foreign file fail here.
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
    const QByteArray sql = sqliteSql.toUtf8();
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const SqliteFailure failure = sqliteFailure(m_db);
        if (failure.cause != JetError::Cause::Other)
            throw JetError(failure.text, failure.cause);
        throw JetError(QStringLiteral("Błąd bazy danych: %1.").arg(failure.text));
    }
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
