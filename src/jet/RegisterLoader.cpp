#include "RegisterLoader.h"

#include "JetError.h"
#include "LoaderProcess.h"
#include "MdbHeader.h"
#include "RegisterCache.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace katarix::jet {

// One load of a register into a temporary copy of the cache.
struct LoadJob {
    QString mdbPath; // absolute
    QString key;     // of the .mdb when the load started
    TemporaryCopy copy;
    std::unique_ptr<LoaderProcess> process;
};

namespace {

constexpr int kPollMs = 50;      // longest wait for the helper between two looks at the caller
constexpr int kLoadAttempts = 2; // loads of a file that keeps changing before giving up

QString loaderProgram(const OpenOptions &options)
{
    if (!options.loaderPath.isEmpty())
        return options.loaderPath;
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    return loaderForProgram(dir);
}

std::unique_ptr<LoadJob> startJob(const RegisterCache &cache, const QString &mdbPath, const QString &key,
                                  const OpenOptions &options, LoaderProcess::Priority priority)
{
    auto job = std::make_unique<LoadJob>();
    job->mdbPath = QFileInfo(mdbPath).absoluteFilePath();
    job->key = key;
    job->copy = TemporaryCopy(cache.copyFile());
    job->process = std::make_unique<LoaderProcess>(loaderProgram(options), job->mdbPath, job->copy.path(), priority);
    return job;
}

// Waits for the helper to end, passing its progress on and asking the caller whether to go on
// between reports. Any failure of the helper, including a crash or a stall, ends in JetError.
void waitFor(LoadJob &job, const OpenOptions &options)
{
    LoaderProcess &process = *job.process;
    int reported = -1;
    auto report = [&] {
        if (options.progress && process.percent() != reported) {
            reported = process.percent();
            options.progress(reported);
        }
    };
    report();
    const int stall = options.stallTimeoutMs > 0 ? options.stallTimeoutMs : 120000;
    QElapsedTimer waiting; // a load taken over counts its silence from here
    waiting.start();
    for (;;) {
        const bool running = process.waitForReport(kPollMs);
        report();
        if (options.cancelled && options.cancelled()) {
            process.stop();
            throw LoadCancelled();
        }
        if (!running)
            break;
        if (std::min(process.msSinceReport(), waiting.elapsed()) > stall) {
            process.stop();
            throw JetError(QStringLiteral("Wczytywanie bazy danych nie zostało ukończone w wyznaczonym czasie "
                                          "(plik może być uszkodzony): %1")
                               .arg(job.mdbPath));
        }
    }
}

// Puts the finished copy in place when the .mdb is still the file it was loaded from; returns
// the key of the file as it is now (another than the job's: the copy is thrown away).
QString installJob(LoadJob &job, const RegisterCache &cache)
{
    const QString checksum = job.process->checksum();
    const QString keyAfter = cache.keyOf(readMdbHeader(job.mdbPath));
    if (keyAfter != job.key)
        job.copy.remove();
    else
        cache.install(job.copy, job.key, checksum);
    return keyAfter;
}

} // namespace

QString loaderForProgram(const QString &programDir)
{
    const QString beside = QDir(programDir).filePath(QStringLiteral("katarix-loader"));
    const QString installed =
        QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../libexec/katarix/katarix-loader")));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}

bool registerHasPassword(const QString &mdbPath)
{
    try {
        return readMdbHeader(mdbPath).hasPassword;
    } catch (const JetError &) {
        return false;
    }
}

bool registerCopyIsCurrent(const QString &mdbPath, const OpenOptions &options)
{
    try {
        return RegisterCache(mdbPath, readMdbHeader(mdbPath), options).keyMatches();
    } catch (const JetError &) {
        return false;
    }
}

void openRegister(Database &db, const QString &mdbPath, const OpenOptions &options)
{
    db.close();
    const MdbHeader header = readMdbHeader(mdbPath);
    if (header.hasPassword ? options.password != header.password : false)
        throw JetError(QStringLiteral("Nieprawidłowe hasło."));

    const RegisterCache cache(mdbPath, header, options);
    cache.prepareFolder();

    // A copy that SQLite finds damaged later on is rebuilt from the .mdb (whose password was
    // checked here) and the database reopened on the new one.
    auto openCopy = [&] {
        db.open(cache.copyFile(), true);
        OpenOptions again = options;
        again.preload = nullptr;
        again.password = header.password;
        db.setRepair([&db, mdbPath, again, cache] {
            cache.removeCopy();
            openRegister(db, mdbPath, again);
        });
    };

    if (cache.copyIsIntact()) {
        ::chmod(QFile::encodeName(cache.copyFile()).constData(), 0600); // a copy from an older version
        try {
            openCopy();
            if (options.progress)
                options.progress(100);
            return;
        } catch (const JetError &) {
            db.close(); // a damaged copy is rebuilt below
        }
    }

    // The file is examined again after the load: a copy of a file that changed meanwhile may
    // mix old and new pages, so it is thrown away and the load runs once more.
    std::unique_ptr<LoadJob> job = options.preload ? options.preload->takeOver(cache.key()) : nullptr;
    auto load = [&] {
        QString key = cache.key();
        for (int attempt = 1;; ++attempt) {
            if (job)
                job->process->raisePriority(); // someone waits for it now
            else
                job = startJob(cache, mdbPath, key, options, LoaderProcess::Priority::Normal);
            waitFor(*job, options);
            const QString keyAfter = installJob(*job, cache);
            if (keyAfter == job->key)
                return;
            if (attempt == kLoadAttempts)
                throw JetError(QStringLiteral("Plik bazy danych zmieniał się podczas wczytywania; nie został "
                                              "otwarty. Spróbuj ponownie, gdy nikt go nie zapisuje: %1")
                                   .arg(mdbPath));
            job.reset();
            key = keyAfter;
        }
    };
    if (options.aroundLoad)
        options.aroundLoad(load);
    else
        load();
    job.reset();
    openCopy();
}

RegisterPreload::RegisterPreload(const QString &mdbPath, const OpenOptions &options)
    : m_path(mdbPath)
    , m_cacheDir(options.cacheDir)
{
}

RegisterPreload::~RegisterPreload() = default;

std::unique_ptr<RegisterPreload> RegisterPreload::start(const QString &mdbPath, const OpenOptions &options)
{
    try {
        const MdbHeader header = readMdbHeader(mdbPath);
        const RegisterCache cache(mdbPath, header, options);
        if (cache.keyMatches() || (header.hasPassword && !cache.copyExists()))
            return nullptr;
        cache.prepareFolder();
        std::unique_ptr<RegisterPreload> preload(new RegisterPreload(mdbPath, options));
        preload->m_job = startJob(cache, mdbPath, cache.key(), options, LoaderProcess::Priority::Background);
        LoaderProcess *process = preload->m_job->process.get();
        RegisterPreload *self = preload.get();
        connect(process, &LoaderProcess::progressed, self, &RegisterPreload::progressed);
        // Queued: the job (and the process that signals) is finished with outside its signal.
        connect(process, &LoaderProcess::ended, self, &RegisterPreload::complete, Qt::QueuedConnection);
        return preload;
    } catch (const JetError &) {
        return nullptr;
    }
}

bool RegisterPreload::loading() const
{
    return m_job != nullptr;
}

int RegisterPreload::percent() const
{
    return m_job ? m_job->process->percent() : 0;
}

void RegisterPreload::complete()
{
    if (!m_job)
        return; // taken over meanwhile
    const std::unique_ptr<LoadJob> job = std::move(m_job);
    bool current = false;
    try {
        OpenOptions options;
        options.cacheDir = m_cacheDir;
        const RegisterCache cache(m_path, readMdbHeader(m_path), options);
        current = installJob(*job, cache) == job->key;
    } catch (const JetError &) {
        // The opening that asks for this register loads it again and reports what is wrong.
    }
    Q_EMIT finished(current);
}

std::unique_ptr<LoadJob> RegisterPreload::takeOver(const QString &key)
{
    std::unique_ptr<LoadJob> job = std::move(m_job);
    if (!job)
        return nullptr;
    disconnect(job->process.get(), nullptr, this, nullptr);
    if (job->key != key)
        return nullptr; // an older version of the file: stopped, its copy removed
    return job;
}

} // namespace katarix::jet
