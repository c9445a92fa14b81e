#pragma once

#include "jet/RegisterImporter.h"

#include <QString>
#include <vector>

namespace katarix::jet::mdb {

// Receives the tables of a register in the order they are read. appendRows takes each batch
// over; the reader goes on with a new one.
class TableSink {
public:
    virtual ~TableSink() = default;
    // Rows of all tables as the table definitions count them.
    virtual void start(qint64 totalRows) = 0;
    virtual void beginTable(const QString &name, const std::vector<ImportColumn> &columns) = 0;
    virtual void appendRows(RowBatch &&rows) = 0;
    virtual void endTable() = 0;
};

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

    void load(TableSink &sink);

private:
    struct Impl;
    Impl *d;
};

} // namespace katarix::jet::mdb
