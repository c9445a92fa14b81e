#pragma once

#include "Database.h"
#include "JetError.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace katarix::jet {

using LoadProgress = std::function<void(int percent)>;
class RegisterPreload;

struct OpenOptions {
    QString password;   // database password; empty when the file has none
    QString cacheDir;   // empty: the user's cache folder
    QString loaderPath; // empty: loaderForProgram of the running program's folder
    LoadProgress progress;
    // Asked between the helper's reports (every 50 ms at most): the caller may repaint here;
    // true cancels the load (the helper is ended, nothing is cached, LoadCancelled is thrown).
    std::function<bool()> cancelled;
    // Wraps every wait for the helper (a first load, a background load taken over, the rebuild
    // of a copy found damaged during the session): the caller shows its progress dialog while
    // `wait` runs. progress and cancelled are called inside it, and once with 100 after a copy
    // is reused.
    std::function<void(const std::function<void()> &wait)> aroundLoad;
    // A background load that the opening takes over when it loads this file as it is now.
    RegisterPreload *preload = nullptr;
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

// True when the cache holds a copy made from the .mdb as it is now (its key; the copy's bytes
// are checked when it is opened). False for an unreadable file.
bool registerCopyIsCurrent(const QString &mdbPath, const OpenOptions &options = {});

// Opens a register read-only into db: loads the .mdb in the helper process, or reuses the
// cached copy while the file is unchanged and the copy's bytes are those written. The cache
// folder is private to the user (0700) and so is every copy (0600); a file that changed during
// the load is loaded once more, a second change is an error and nothing is cached. A copy that
// SQLite finds damaged during the session is rebuilt once (Database::repairFile). Throws
// JetError with the engine's Polish message ("Nieprawidłowe hasło." for a wrong password); db
// stays closed then.
void openRegister(Database &db, const QString &mdbPath, const OpenOptions &options = {});

struct LoadJob;

// A register's copy refreshed before anyone asks for it: the helper loads the .mdb at low
// priority while the program waits for the user, and openRegister takes the load over (or
// finds the copy ready) when the register is asked for. Destroying it stops the helper and
// removes its temporary copy. Everything happens on the thread that made it, through its
// event loop.
class RegisterPreload : public QObject {
    Q_OBJECT
public:
    // Starts when the copy of mdbPath is missing or older than the file, and the file has no
    // password or a copy of it exists (its user has been let in before). Null otherwise, and
    // when the helper cannot start: the opening then reports what is wrong.
    static std::unique_ptr<RegisterPreload> start(const QString &mdbPath, const OpenOptions &options = {});
    ~RegisterPreload() override;

    const QString &path() const { return m_path; }
    bool loading() const;
    int percent() const;

Q_SIGNALS:
    void progressed(int percent);
    // The load ended: copyCurrent when its copy is in place.
    void finished(bool copyCurrent);

private:
    RegisterPreload(const QString &mdbPath, const OpenOptions &options);
    void complete();
    // The running load if it loads the file as it is now (key); it is stopped otherwise.
    std::unique_ptr<LoadJob> takeOver(const QString &key);
    friend void openRegister(Database &, const QString &, const OpenOptions &);

    QString m_path;
    QString m_cacheDir;
    std::unique_ptr<LoadJob> m_job;
};

} // namespace katarix::jet
