#pragma once

#include "Database.h"
#include "JetError.h"

#include <QString>
#include <functional>

namespace katarix::jet {

using LoadProgress = std::function<void(int percent)>;

struct OpenOptions {
    QString password;   // database password; empty when the file has none
    QString cacheDir;   // empty: the user's cache folder
    QString loaderPath; // empty: loaderForProgram of the running program's folder
    LoadProgress progress;
    // Asked between the helper's reports (every 50 ms at most): the caller may repaint here;
    // true cancels the load (the helper is ended, nothing is cached, LoadCancelled is thrown).
    std::function<bool()> cancelled;
    int stallTimeoutMs = 120000; // the helper is stopped after this long without reporting
};

// The user cancelled the load.
class LoadCancelled : public JetError {
public:
    LoadCancelled() : JetError(QStringLiteral("Wczytywanie bazy danych zostało anulowane.")) {}
};

// The loader helper of a program in programDir: katarix-loader beside it (a build or copied
// tree), else <prefix>/libexec/katarix/katarix-loader for a program installed in <prefix>/bin.
QString loaderForProgram(const QString &programDir);

// True when the .mdb carries a database password (false for an unreadable file).
bool registerHasPassword(const QString &mdbPath);

// Opens a register read-only into db: loads the .mdb in the helper process, or reuses the
// cached copy while the file is unchanged. The cache folder is private to the user (0700) and
// so is every copy (0600); a file that changed during the load is loaded once more, a second
// change is an error and nothing is cached. Throws JetError with the engine's Polish message
// ("Nieprawidłowe hasło." for a wrong password); db stays closed then.
void openRegister(Database &db, const QString &mdbPath, const OpenOptions &options = {});

} // namespace katarix::jet
