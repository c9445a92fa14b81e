#pragma once

#include <QString>
#include <QVariant>
#include <vector>

struct sqlite3;

namespace katarix::jet {

// Column kinds of a register table as they arrive from a .mdb (or from the generator).
enum class ColumnKind { Boolean, Integer, Float, Currency, DateTime, Text, Memo, Binary };

struct ImportColumn {
    QString name;
    ColumnKind kind = ColumnKind::Text;
};

// Writes register tables into an engine database, with the one SQLite representation every
// source shares:
//   Boolean  -> INTEGER -1 / 0 (Jet's True/False)
//   Integer  -> INTEGER (Byte, Integer, Long)
//   Float    -> REAL, bit-exact (Single widened exactly, Double as stored)
//   Currency -> REAL (the scaled 64-bit value / 10000)
//   DateTime -> TEXT 'YYYY-MM-DD HH:MM:SS'
//   Text, Memo -> TEXT COLLATE JET (UTF-8)
//   Binary   -> BLOB
// NULL stays NULL, apart from 0 and ''. Values: null QVariant, bool, qlonglong, double,
// QString, QDateTime, QByteArray.
class RegisterImporter {
public:
    explicit RegisterImporter(sqlite3 *db); // extensions already registered on db
    ~RegisterImporter();

    void beginTable(const QString &name, const std::vector<ImportColumn> &columns);
    void appendRow(const std::vector<QVariant> &values);
    void endTable();
    // Indexes on the key and join columns of the register, statistics; commits.
    void finish();

private:
    struct Impl;
    Impl *d;
};

} // namespace katarix::jet
