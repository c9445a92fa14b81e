#pragma once

#include <QString>
#include <functional>

namespace katarix::jet {

class RegisterImporter;

namespace mdb {

// Reads every user table of a Jet 3 or Jet 4 .mdb through libmdb, decoding values from the row
// bytes so that numbers arrive exactly. The file is opened read-only. Damaged structures end in
// JetError with a Polish message; libmdb itself may still crash on some corrupted pages, which
// is why this runs in the loader process only.
class MdbReader {
public:
    explicit MdbReader(const QString &path); // throws JetError
    ~MdbReader();
    MdbReader(const MdbReader &) = delete;
    MdbReader &operator=(const MdbReader &) = delete;

    // rowsDone / rowsTotal over all tables (as the table definitions count them).
    using Progress = std::function<void(qint64 rowsDone, qint64 rowsTotal)>;
    void load(RegisterImporter &importer, const Progress &progress = {});

private:
    struct Impl;
    Impl *d;
};

} // namespace mdb
} // namespace katarix::jet
