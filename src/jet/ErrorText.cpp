#include "ErrorText.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <new>
#include <system_error>
#include <sqlite3.h>

namespace katarix::jet {

namespace {

// SQLite's messages for the mistakes a query text can hold, in Polish; others verbatim.
QString messageText(const QString &message)
{
    struct Pattern {
        const char *regex;
        const char *polish;
    };
    static const Pattern patterns[] = {
        {"^no such table: (.+)$", "nie ma tabeli '%1'"},
        {"^no such column: (.+)$", "nie ma kolumny '%1'"},
        {"^no such function: (.+)$", "nie ma funkcji '%1'"},
        {"^ambiguous column name: (.+)$", "niejednoznaczna nazwa kolumny '%1'"},
        {"^near \"(.*)\": syntax error$", "błąd składni w pobliżu '%1'"},
        {"^incomplete input$", "niepełny tekst zapytania"},
        {"^wrong number of arguments to function (.+)\\(\\)$", "zła liczba argumentów funkcji %1"},
        {"^misuse of aggregate(?: function)?:? (.+)\\(\\)$", "niewłaściwe użycie funkcji agregującej %1"},
        {"^SELECTs to the left and right of (.+) do not have the same number of result columns$",
         "części zapytania %1 mają różne liczby kolumn"},
        {"^(\\d+)\\w* ORDER BY term out of range - should be between 1 and (\\d+)$",
         "pozycja %1 w ORDER BY jest spoza zakresu kolumn (1-%2)"},
        {"^(\\d+)\\w* GROUP BY term out of range - should be between 1 and (\\d+)$",
         "pozycja %1 w GROUP BY jest spoza zakresu kolumn (1-%2)"},
        {"^attempt to write a readonly database$", "baza danych jest otwarta tylko do odczytu"},
        {"^unable to open database file$", "nie można otworzyć pliku bazy danych"},
        {"^interrupted$", "przerwano wykonywanie zapytania"},
    };
    for (const Pattern &pattern : patterns) {
        const QRegularExpression regex(QString::fromLatin1(pattern.regex));
        const QRegularExpressionMatch match = regex.match(message);
        if (!match.hasMatch())
            continue;
        QString polish = QString::fromUtf8(pattern.polish);
        for (int i = 1; i <= regex.captureCount(); ++i)
            polish = polish.arg(match.captured(i));
        return polish;
    }
    return message;
}

} // namespace

QString outOfMemoryText()
{
    return QStringLiteral("Brak pamięci: ta operacja wymaga więcej pamięci, niż jest dostępne w komputerze.");
}

QString diskFullText(const QString &folder)
{
    return QStringLiteral("Brak miejsca na dysku: %1").arg(folder);
}

QString damagedCopyText(const QString &file)
{
    return QStringLiteral("Kopia robocza bazy danych jest uszkodzona: %1").arg(file);
}

QString unknownErrorText()
{
    return QStringLiteral("Nieznany błąd.");
}

QString errorText(const std::exception &error)
{
    if (const auto *jetError = dynamic_cast<const JetError *>(&error))
        return jetError->message();
    if (dynamic_cast<const std::bad_alloc *>(&error))
        return outOfMemoryText();
    // A thread or another resource the system could not give (std::thread when it finds no
    // memory for the stack).
    if (const auto *system = dynamic_cast<const std::system_error *>(&error);
        system && (system->code() == std::errc::not_enough_memory || system->code() == std::errc::resource_unavailable_try_again))
        return outOfMemoryText();
    const QString text = QString::fromUtf8(error.what());
    return text.isEmpty() ? unknownErrorText() : text;
}

SqliteFailure sqliteFailure(sqlite3 *db)
{
    if (!db)
        return {outOfMemoryText(), JetError::Cause::OutOfMemory};
    const char *name = sqlite3_db_filename(db, "main");
    const QString file = name ? QString::fromUtf8(name) : QString();
    if (sqlite3_extended_errcode(db) == SQLITE_IOERR_NOMEM)
        return {outOfMemoryText(), JetError::Cause::OutOfMemory};
    switch (sqlite3_errcode(db) & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return {damagedCopyText(file), JetError::Cause::DamagedCopy};
    case SQLITE_FULL:
        return {diskFullText(QFileInfo(file).absolutePath()), JetError::Cause::DiskFull};
    case SQLITE_NOMEM:
        return {outOfMemoryText(), JetError::Cause::OutOfMemory};
    case SQLITE_IOERR:
        return {QStringLiteral("Błąd odczytu lub zapisu pliku %1 (%2).").arg(file, QString::fromUtf8(sqlite3_errmsg(db))),
                JetError::Cause::Other};
    default:
        return {messageText(QString::fromUtf8(sqlite3_errmsg(db))), JetError::Cause::Other};
    }
}

} // namespace katarix::jet
