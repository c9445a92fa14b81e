#pragma once

#include "Database.h"

#include <QString>
#include <functional>

namespace katarix::jet {

using LoadProgress = std::function<void(int percent)>;

struct OpenOptions {
    QString password;   // database password; empty when the file has none
    QString cacheDir;   // empty: the user's cache folder
    QString loaderPath; // empty: katarix-loader beside the running program
    LoadProgress progress;
    int stallTimeoutMs = 120000; // the helper is stopped after this long without reporting
};

// True when the .mdb carries a database password (false for an unreadable file).
bool registerHasPassword(const QString &mdbPath);

// Opens a register read-only into db: loads the .mdb in the helper process, or reuses the
// cached copy while the file is unchanged. Throws JetError with the engine's Polish message
// ("Nieprawidłowe hasło." for a wrong password); db stays closed then.
void openRegister(Database &db, const QString &mdbPath, const OpenOptions &options = {});

} // namespace katarix::jet
