#pragma once

// The cache of loaded registers. Internal to src/jet.
//
// The folder (the user's cache folder, or OpenOptions::cacheDir) holds for each register a copy,
// <name>.sqlite, and its key file, <name>.sqlite.key: the key of the .mdb the copy was made from
// and the copy's size and XXH3, written when the copy was completed. A copy is reused only when
// all three agree; anything else rebuilds it. Copies are written under temporary names
// (<copy>.tmp-...), shared-locked by whoever writes them; one that nobody holds is left over from
// an ended process and is removed by the next opening of any register. Folder 0700, files 0600
// from their first byte: the copies hold the register's personal data.

#include "MdbHeader.h"

#include <QString>

namespace katarix::jet {

struct OpenOptions;

// A temporary file of the cache, created and shared-locked by this process; removed with it
// unless it was moved into place.
class TemporaryCopy {
public:
    TemporaryCopy() = default;
    explicit TemporaryCopy(const QString &finalName); // throws JetError
    TemporaryCopy(TemporaryCopy &&other) noexcept;
    TemporaryCopy &operator=(TemporaryCopy &&other) noexcept;
    ~TemporaryCopy();

    const QString &path() const { return m_path; }
    int fd() const { return m_fd; }
    // Renames it to its final name; throws JetError.
    void moveIntoPlace();
    void remove();

private:
    QString m_path;
    QString m_finalName;
    int m_fd = -1;
};

class RegisterCache {
public:
    // The cache entry of mdbPath as the header describes it; touches nothing on disk.
    RegisterCache(const QString &mdbPath, const MdbHeader &header, const OpenOptions &options);

    const QString &folder() const { return m_folder; }
    const QString &copyFile() const { return m_copy; }
    const QString &key() const { return m_key; }
    QString keyOf(const MdbHeader &header) const;

    // Creates the folder private to the user (0700, missing parents too), tightens an existing
    // one and removes the temporary copies nobody holds. Throws JetError.
    void prepareFolder() const;
    bool copyExists() const;
    // The key file names this version of the .mdb (the copy is not read).
    bool keyMatches() const;
    // keyMatches, and the copy is the file that was written: its size and XXH3.
    bool copyIsIntact() const;
    void removeCopy() const;
    // Puts a finished copy in place with its key file. Throws JetError.
    void install(TemporaryCopy &copy, const QString &key, const QString &checksum) const;

private:
    QString m_folder;
    QString m_canonical;
    QString m_copy;
    QString m_key;
};

} // namespace katarix::jet
