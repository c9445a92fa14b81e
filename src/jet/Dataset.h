#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace katarix::jet {

// Field types of datasets and parameters.
enum class FieldType { Integer, SmallInt, Float, Text, Boolean, DateTime };

// The dataset interface shared by Query and MemTable: a current row over buffered rows.
// Values are QVariant: null QVariant for NULL, qlonglong, double, QString, bool.
class Dataset : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Dataset() override = default;

    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    int recordCount() const { return int(m_rowsBefore) + int(m_rows.size()); }
    int recNo() const { return m_rows.empty() ? 0 : int(m_rowsBefore) + m_current + 1; } // 1-based, 0 when empty
    void setRecNo(int recNo);
    int currentRow() const { return m_rows.empty() ? -1 : m_current; } // 0-based, -1 when empty
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_rows.empty(); }
    void first();
    void next();
    void prior();
    void last();

    int fieldCount() const { return int(m_fieldNames.size()); }
    QString fieldName(int index) const { return m_fieldNames.value(index); }
    const QStringList &fieldNames() const { return m_fieldNames; }
    int fieldIndex(const QString &name) const; // case-insensitive; -1 when unknown
    FieldType fieldType(int index) const;

    // Values of the current row; by name throws JetError for an unknown field.
    QVariant value(int index) const;
    QVariant value(const QString &name) const;
    bool isNull(const QString &name) const;
    QString asString(const QString &name) const; // numbers in the engine's text form; NULL -> ""
    double asFloat(const QString &name) const;   // NULL -> 0
    qint64 asInteger(const QString &name) const; // NULL -> 0
    QVariant valueAt(int row, int field) const; // null outside the rows or fields

    // The conversions behind asString/asFloat/asInteger, for values taken from any row.
    static QString valueToText(const QVariant &value);   // NULL -> ""
    static double valueToFloat(const QVariant &value);   // NULL -> 0; bad text throws JetError
    static qint64 valueToInteger(const QVariant &value); // NULL -> 0; rounds; bad text throws

    // Moves to the first row whose field equals value (texts compared as Jet does). Stays put
    // and returns false when there is none.
    bool locate(const QString &fieldName, const QVariant &value);
    // With partialKey, a text matches when it begins with the wanted text (as lookups do
    // while the user types).
    bool locate(const QString &fieldName, const QVariant &value, bool partialKey);

    // While disabled, navigation does not notify the attached controls (afterScroll).
    // Calls nest; enabling the last level emits controlsEnabled, not afterScroll.
    void disableControls() { ++m_disableCount; }
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

Q_SIGNALS:
    void afterOpen();
    void afterClose();
    void afterScroll();
    void dataChanged();     // rows replaced (open, close, append, sort)
    void controlsEnabled(); // controls follow again; the current row may have moved meanwhile

protected:
    // A forward-only dataset replaces its one buffered row by the next one here (adding the row
    // it leaves to m_rowsBefore); false at the end.
    virtual bool fetchNext() { return false; }

    void setRows(QStringList fieldNames, std::vector<FieldType> types,
                 std::vector<std::vector<QVariant>> rows); // positions on the first row
    void clearRows();
    void setFields(QStringList fieldNames, std::vector<FieldType> types); // keeps no rows
    void notifyScroll();
    QString messagePrefix() const; // "name: " for a named dataset, else empty

    QStringList m_fieldNames;
    std::vector<FieldType> m_fieldTypes;
    std::vector<std::vector<QVariant>> m_rows;
    int m_current = 0;
    qint64 m_rowsBefore = 0; // rows a forward-only dataset has left behind
    bool m_eof = true;
    bool m_bof = true;
    int m_disableCount = 0;
    QHash<QString, int> m_fieldIndex; // case-folded name -> first field of that name
};

} // namespace katarix::jet
