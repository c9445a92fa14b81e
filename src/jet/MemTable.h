#pragma once

#include "Dataset.h"

#include <QVariantList>
#include <QVariantMap>

namespace katarix::jet {

// The in-memory table: fixed fields, rows appended by the program, sorting on a field.
// Values are stored converted to their field's type; text longer than its field's size is cut.
class MemTable : public Dataset {
    Q_OBJECT
public:
    explicit MemTable(QObject *parent = nullptr);

    // Field definitions; size limits text fields (0: no limit). Changing them drops the rows.
    void addField(const QString &name, FieldType type, int size = 0, bool required = false);
    void clearFields();
    int fieldSize(int index) const;
    bool fieldRequired(int index) const;

    void open(); // does nothing when already open
    void close() override; // drops the rows
    bool isOpen() const override { return m_open; }

    void emptyTable(); // drops the rows; stays open or closed
    void reserve(int rows) { m_rows.reserve(size_t(rows)); } // room for rows without reallocation

    // Appends a row and makes it current; throws JetError when closed, for a value that does
    // not fit its field's type, or for a missing required value.
    void append(const QVariantList &values); // in field order; missing trailing values are NULL
    void appendRecord(const QVariantMap &values); // by field name (any case); others NULL

    // Stable sort on one field: text in Jet order (Polish, case-insensitive), numbers by
    // value, NULL first. Moves to the first row.
    void sortOnField(const QString &name, bool descending = false);

private:
    void appendConverted(std::vector<QVariant> row);
    QVariant converted(int field, const QVariant &value) const;

    std::vector<int> m_sizes;
    std::vector<bool> m_required;
    bool m_open = false;
};

} // namespace katarix::jet
