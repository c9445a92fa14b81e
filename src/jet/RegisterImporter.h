#pragma once

#include <QString>
#include <QVariant>

#include <cstring>
#include <string>
#include <vector>

struct sqlite3;

namespace katarix::jet {

// Column kinds of a register table as they arrive from a .mdb (or from the generator).
enum class ColumnKind { Boolean, Integer, Float, Currency, DateTime, Text, Memo, Binary };

struct ImportColumn {
    QString name;
    ColumnKind kind = ColumnKind::Text;
};

// Rows of one table in the form they are stored in: each value a tag and its bytes, so that a
// reader on another thread prepares them and the importer binds them as they are. A row holds
// one value per column of its table, in column order.
class RowBatch {
public:
    enum Tag : char { Null, Integer, Real, Text, Blob };

    void addNull() { m_data.push_back(Null); }
    void addInteger(qint64 value) { addFixed(Integer, value); }
    void addReal(double value) { addFixed(Real, value); }
    void addText(const char *utf8, size_t size) { addBytes(Text, utf8, size); }
    void addText(const QString &text);
    void addBlob(const char *bytes, size_t size) { addBytes(Blob, bytes, size); }
    // A text written in place: write(std::string &) appends its UTF-8 bytes.
    template<typename Write>
    void addTextWith(Write &&write)
    {
        const size_t start = m_data.size();
        m_data.append(1 + sizeof(quint32), Text);
        write(m_data);
        patchLength(start);
    }
    // Jet's date (OLE Automation days since 1899-12-30) as the text 'YYYY-MM-DD HH:MM:SS'; a
    // date that is not a number is the empty text.
    void addDateTime(double days);
    void endRow() { ++m_rows; }
    void reserve(size_t bytes) { m_data.reserve(bytes); }

    int rows() const { return m_rows; }
    size_t bytes() const { return m_data.size(); }
    bool empty() const { return m_rows == 0; }
    void clear()
    {
        m_data.clear();
        m_rows = 0;
    }
    const std::string &data() const { return m_data; }

private:
    template<typename T>
    void addFixed(Tag tag, T value)
    {
        char bytes[1 + sizeof(T)];
        bytes[0] = tag;
        std::memcpy(bytes + 1, &value, sizeof(T));
        m_data.append(bytes, sizeof bytes);
    }
    void addBytes(Tag tag, const char *bytes, size_t size);
    void patchLength(size_t start);

    std::string m_data;
    int m_rows = 0;
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
// QString, QDateTime, QByteArray. Tables are stored under storedTableName (StoredNames.h); the
// key and join columns of each table are indexed when the table ends.
class RegisterImporter {
public:
    explicit RegisterImporter(sqlite3 *db); // extensions already registered on db
    ~RegisterImporter();

    void beginTable(const QString &name, const std::vector<ImportColumn> &columns);
    void appendRow(const std::vector<QVariant> &values);
    void appendRows(const RowBatch &rows);
    // Indexes on the table's key and join columns.
    void endTable();
    // Statistics; commits.
    void finish();

    // One value of a column as the importer stores it.
    static void encode(const ImportColumn &column, const QVariant &value, RowBatch &out);

private:
    struct Impl;
    Impl *d;
};

} // namespace katarix::jet
