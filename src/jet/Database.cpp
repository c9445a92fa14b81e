#include "Database.h"

#include "JetError.h"
#include "JetFunctions.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace katarix::jet {

namespace {

// Distinct texts kept translated; templates filled with id lists make the set open-ended.
constexpr int kTranslationCacheLimit = 1000;

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

QString Database::polishMessage(const QString &message)
{
    struct Pattern {
        const char *regex;
        const char *polish;
    };
    static const Pattern patterns[] = {
        {"^no such table: (.+)$", "Nie można odnaleźć tabeli '%1'."},
        {"^no such column: (.+)$", "Nieznana kolumna '%1'."},
        {"^ambiguous column name: (.+)$", "Niejednoznaczna nazwa kolumny '%1'."},
        {"^near \"(.*)\": syntax error$", "Błąd składni w pobliżu '%1'."},
        {"^no such function: (.+)$", "Niezdefiniowana funkcja '%1' w wyrażeniu."},
        {"^wrong number of arguments to function (.+)\\(\\)$", "Nieprawidłowa liczba argumentów funkcji '%1'."},
        {"^attempt to write a readonly database$", "Baza danych jest otwarta tylko do odczytu."},
        {"^file is not a database$", "Plik nie jest bazą danych."},
        {"^database disk image is malformed$", "Plik bazy danych jest uszkodzony."},
        {"^unable to open database file$", "Nie można otworzyć pliku bazy danych."},
        {"^interrupted$", "Przerwano wykonywanie zapytania."},
        {"^out of memory$", "Brak pamięci."},
    };
    for (const Pattern &p : patterns) {
        const QRegularExpression re(QString::fromLatin1(p.regex));
        const QRegularExpressionMatch m = re.match(message);
        if (m.hasMatch()) {
            QString polish = QString::fromUtf8(p.polish);
            return m.lastCapturedIndex() >= 1 ? polish.arg(m.captured(1)) : polish;
        }
    }
    // Messages of the Jet functions are Polish already; others are shown as SQLite gives them.
    return message.endsWith(u'.') ? message : message + u'.';
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

void Database::open(const QString &sqliteFile, bool readOnly)
{
    close();
    if (readOnly && !QFileInfo(sqliteFile).isFile())
        throw JetError(QStringLiteral("Nie można otworzyć bazy danych \"%1\": plik nie istnieje.").arg(sqliteFile));
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
        | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    const QByteArray path = sqliteFile.toUtf8();
    const int rc = sqlite3_open_v2(path.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = polishMessage(sqliteMessage(db));
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można otworzyć bazy danych \"%1\": %2").arg(sqliteFile, detail));
    }
    // SQLite reads the header lazily: make a damaged or foreign file fail here.
    char *error = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) != SQLITE_OK) {
        const QString detail = polishMessage(error ? QString::fromUtf8(error) : sqliteMessage(db));
        sqlite3_free(error);
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można otworzyć bazy danych \"%1\": %2").arg(sqliteFile, detail));
    }
    m_db = db;
    installExtensions();
}

void Database::openInMemory()
{
    close();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = polishMessage(sqliteMessage(db));
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można utworzyć bazy danych w pamięci: %1").arg(detail));
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
    char *error = nullptr;
    const QByteArray sql = sqliteSql.toUtf8();
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString detail = polishMessage(error ? QString::fromUtf8(error) : sqliteMessage(m_db));
        sqlite3_free(error);
        throw JetError(QStringLiteral("Błąd bazy danych: %1").arg(detail));
    }
}

} // namespace katarix::jet
