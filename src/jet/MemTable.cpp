#include "MemTable.h"

#include "JetError.h"
#include "JetFunctions.h"

#include <algorithm>

namespace katarix::jet {

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

int compareValues(const QVariant &a, const QVariant &b, FieldType type)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    switch (type) {
    case FieldType::Text:
        return compareJetText(a.toString(), b.toString());
    case FieldType::Integer:
    case FieldType::SmallInt: {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Float: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Boolean:
        // Jet's True is -1, so it sorts before False.
        return int(a.toBool()) == int(b.toBool()) ? 0 : (a.toBool() ? -1 : 1);
    case FieldType::DateTime:
        return QVariant::compare(a, b) == QPartialOrdering::Less
            ? -1
            : (QVariant::compare(a, b) == QPartialOrdering::Greater ? 1 : 0);
    }
    return 0;
}

} // namespace

MemTable::MemTable(QObject *parent)
    : Dataset(parent)
{
}

void MemTable::addField(const QString &name, FieldType type, int size, bool required)
{
    if (name.isEmpty())
        throw JetError(messagePrefix() + QStringLiteral("Pole musi mieć nazwę."));
    if (fieldIndex(name) >= 0)
        throw JetError(messagePrefix() + QStringLiteral("Pole %1 już istnieje.").arg(quoted(name)));
    close();
    QStringList names = m_fieldNames;
    std::vector<FieldType> types = m_fieldTypes;
    names.append(name);
    types.push_back(type);
    setFields(std::move(names), std::move(types));
    m_sizes.push_back(type == FieldType::Text ? qMax(0, size) : 0);
    m_required.push_back(required);
}

void MemTable::clearFields()
{
    close();
    setFields({}, {});
    m_sizes.clear();
    m_required.clear();
}

int MemTable::fieldSize(int index) const
{
    return index >= 0 && index < int(m_sizes.size()) ? m_sizes[size_t(index)] : 0;
}

bool MemTable::fieldRequired(int index) const
{
    return index >= 0 && index < int(m_required.size()) && m_required[size_t(index)];
}

void MemTable::open()
{
    if (m_open)
        return;
    m_open = true;
    m_current = 0;
    m_bof = true;
    m_eof = m_rows.empty();
    Q_EMIT dataChanged();
    Q_EMIT afterOpen();
    notifyScroll();
}

void MemTable::close()
{
    if (!m_open)
        return;
    m_open = false;
    clearRows();
    Q_EMIT afterClose();
}

void MemTable::emptyTable()
{
    clearRows();
}

QVariant MemTable::converted(int field, const QVariant &value) const
{
    if (value.isNull())
        return {};
    switch (m_fieldTypes[size_t(field)]) {
    case FieldType::Text: {
        QString text = valueToText(value);
        const int size = m_sizes[size_t(field)];
        if (size > 0 && text.size() > size)
            text.truncate(size);
        return text;
    }
    case FieldType::Integer:
        return qlonglong(valueToInteger(value));
    case FieldType::SmallInt: {
        const qint64 number = valueToInteger(value);
        if (number < -32768 || number > 32767)
            throw JetError(QStringLiteral("Wartość %1 nie mieści się w zakresie pola.").arg(number));
        return qlonglong(number);
    }
    case FieldType::Float:
        return valueToFloat(value);
    case FieldType::Boolean:
        if (value.typeId() == QMetaType::Bool)
            return value.toBool();
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return true;
            if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return false;
        }
        return valueToInteger(value) != 0;
    case FieldType::DateTime:
        return value;
    }
    return value;
}

void MemTable::appendConverted(std::vector<QVariant> row)
{
    if (!m_open)
        throw JetError(messagePrefix()
                       + QStringLiteral("Nie można dopisać wiersza do zamkniętej tabeli."));
    for (int i = 0; i < fieldCount(); ++i) {
        try {
            row[size_t(i)] = converted(i, row[size_t(i)]);
        } catch (const JetError &error) {
            throw JetError(messagePrefix()
                           + QStringLiteral("Pole %1: ").arg(quoted(m_fieldNames[i]))
                           + error.message());
        }
        if (m_required[size_t(i)] && row[size_t(i)].isNull())
            throw JetError(messagePrefix()
                           + QStringLiteral("Pole %1 musi mieć wartość.").arg(quoted(m_fieldNames[i])));
    }
    m_rows.push_back(std::move(row));
    m_current = int(m_rows.size()) - 1;
    m_bof = false;
    m_eof = false;
    Q_EMIT dataChanged();
    notifyScroll();
}

void MemTable::append(const QVariantList &values)
{
    if (values.size() > fieldCount())
        throw JetError(messagePrefix()
                       + QStringLiteral("Za dużo wartości: podano %2, a liczba pól tabeli to %1.")
                             .arg(fieldCount())
                             .arg(values.size()));
    std::vector<QVariant> row(static_cast<size_t>(fieldCount()));
    for (int i = 0; i < values.size(); ++i)
        row[size_t(i)] = values[i];
    appendConverted(std::move(row));
}

void MemTable::appendRecord(const QVariantMap &values)
{
    std::vector<QVariant> row(static_cast<size_t>(fieldCount()));
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const int index = fieldIndex(it.key());
        if (index < 0)
            throw JetError(messagePrefix()
                           + QStringLiteral("Nie znaleziono pola %1.").arg(quoted(it.key())));
        row[size_t(index)] = it.value();
    }
    appendConverted(std::move(row));
}

void MemTable::sortOnField(const QString &name, bool descending)
{
    const int field = fieldIndex(name);
    if (field < 0)
        throw JetError(messagePrefix() + QStringLiteral("Nie znaleziono pola %1.").arg(quoted(name)));
    const FieldType type = m_fieldTypes[size_t(field)];
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [&](const std::vector<QVariant> &a, const std::vector<QVariant> &b) {
                         const int order = compareValues(a[size_t(field)], b[size_t(field)], type);
                         return descending ? order > 0 : order < 0;
                     });
    m_current = 0;
    m_bof = true;
    m_eof = m_rows.empty();
    Q_EMIT dataChanged();
    notifyScroll();
}

} // namespace katarix::jet
