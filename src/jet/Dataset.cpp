#include "Dataset.h"

#include "JetError.h"
#include "JetFunctions.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace katarix::jet {

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

bool isNumberType(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isIntegerType(const QVariant &value)
{
    return isNumberType(value) && value.typeId() != QMetaType::Double
        && value.typeId() != QMetaType::Float;
}

// A text typed by a person or produced by the engine: the regional form first, then the
// plain C form (so "12.5" is read whatever the regional separator).
bool parseNumber(const QString &text, double *result)
{
    bool ok = false;
    double value = textToNumber(text, &ok);
    if (!ok)
        value = text.trimmed().toDouble(&ok);
    if (ok)
        *result = value;
    return ok;
}

qint64 roundToInteger(double value, const QString &shown)
{
    // Round half to even, as the framework's float fields do.
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < double(std::numeric_limits<qint64>::min())
        || rounded >= double(std::numeric_limits<qint64>::max()))
        throw JetError(QStringLiteral("Wartość %1 nie mieści się w zakresie liczby całkowitej.")
                           .arg(shown));
    return qint64(rounded);
}

} // namespace

void Dataset::setRecNo(int recNo)
{
    if (m_rows.empty())
        return;
    const int row = qBound(0, recNo - 1, int(m_rows.size()) - 1);
    if (row == m_current)
        return;
    m_current = row;
    m_bof = false;
    m_eof = false;
    notifyScroll();
}

// Navigation follows the framework's datasets: first() raises bof, last() raises eof, next()
// on the last row and prior() on the first only raise the flag and stay put.
void Dataset::first()
{
    if (m_rows.empty()) {
        m_bof = m_eof = true;
        return;
    }
    if (m_rowsBefore > 0)
        throw JetError(messagePrefix() +
                       QStringLiteral("Zbioru danych czytanego tylko do przodu nie można przewinąć na początek."));
    m_current = 0;
    m_bof = true;
    m_eof = false;
    notifyScroll();
}

void Dataset::next()
{
    if (m_rows.empty()) {
        m_bof = m_eof = true;
        return;
    }
    m_bof = false;
    if (m_current + 1 < int(m_rows.size()))
        ++m_current;
    else if (!m_eof && fetchNext())
        m_current = 0;
    else
        m_eof = true;
    notifyScroll();
}

void Dataset::prior()
{
    if (m_rows.empty()) {
        m_bof = m_eof = true;
        return;
    }
    m_eof = false;
    if (m_current > 0)
        --m_current;
    else
        m_bof = true;
    notifyScroll();
}

void Dataset::last()
{
    if (m_rows.empty()) {
        m_bof = m_eof = true;
        return;
    }
    m_current = int(m_rows.size()) - 1;
    m_bof = false;
    m_eof = true;
    notifyScroll();
}

int Dataset::fieldIndex(const QString &name) const
{
    return m_fieldIndex.value(name.toCaseFolded(), -1);
}

FieldType Dataset::fieldType(int index) const
{
    if (index < 0 || index >= int(m_fieldTypes.size()))
        return FieldType::Text;
    return m_fieldTypes[size_t(index)];
}

QVariant Dataset::value(int index) const
{
    if (m_rows.empty())
        return {};
    return valueAt(m_current, index);
}

QVariant Dataset::value(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw JetError(messagePrefix() + QStringLiteral("Nie znaleziono pola %1.").arg(quoted(name)));
    return value(index);
}

bool Dataset::isNull(const QString &name) const
{
    return value(name).isNull();
}

QString Dataset::asString(const QString &name) const
{
    return valueToText(value(name));
}

double Dataset::asFloat(const QString &name) const
{
    try {
        return valueToFloat(value(name));
    } catch (const JetError &error) {
        throw JetError(messagePrefix() + QStringLiteral("Pole %1: ").arg(quoted(name)) + error.message());
    }
}

qint64 Dataset::asInteger(const QString &name) const
{
    try {
        return valueToInteger(value(name));
    } catch (const JetError &error) {
        throw JetError(messagePrefix() + QStringLiteral("Pole %1: ").arg(quoted(name)) + error.message());
    }
}

QVariant Dataset::valueAt(int row, int field) const
{
    if (row < 0 || row >= int(m_rows.size()))
        return {};
    const std::vector<QVariant> &values = m_rows[size_t(row)];
    if (field < 0 || field >= int(values.size()))
        return {};
    return values[size_t(field)];
}

QString Dataset::valueToText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return numberToText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        if (isIntegerType(value))
            return QString::number(value.toLongLong());
        return value.toString();
    }
}

double Dataset::valueToFloat(const QVariant &value)
{
    if (value.isNull())
        return 0;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (isNumberType(value))
        return value.toDouble();
    const QString text = valueToText(value);
    double number = 0;
    if (!parseNumber(text, &number))
        throw JetError(QStringLiteral("%1 nie jest prawidłową liczbą.").arg(quoted(text)));
    return number;
}

qint64 Dataset::valueToInteger(const QVariant &value)
{
    if (value.isNull())
        return 0;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (isIntegerType(value))
        return value.toLongLong();
    if (isNumberType(value))
        return roundToInteger(value.toDouble(), numberToText(value.toDouble()));
    const QString text = valueToText(value).trimmed();
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok)
        throw JetError(QStringLiteral("%1 nie jest prawidłową liczbą całkowitą.").arg(quoted(text)));
    return number;
}

bool Dataset::locate(const QString &fieldName, const QVariant &wanted)
{
    return locate(fieldName, wanted, false);
}

bool Dataset::locate(const QString &fieldName, const QVariant &wanted, bool partialKey)
{
    const int field = fieldIndex(fieldName);
    if (field < 0)
        throw JetError(messagePrefix() + QStringLiteral("Nie znaleziono pola %1.").arg(quoted(fieldName)));

    // The wanted value is converted once: as text for text values, as a number for numbers
    // (a text that is no number then matches no number).
    const bool wantedNull = wanted.isNull();
    const QString wantedText = wantedNull ? QString() : valueToText(wanted);
    double wantedNumber = 0;
    bool wantedIsNumber = false;
    if (!wantedNull) {
        if (wanted.typeId() == QMetaType::Bool || isNumberType(wanted)) {
            wantedNumber = valueToFloat(wanted);
            wantedIsNumber = true;
        } else {
            wantedIsNumber = parseNumber(wantedText, &wantedNumber);
        }
    }

    for (int row = 0; row < int(m_rows.size()); ++row) {
        const QVariant &candidate = m_rows[size_t(row)][size_t(field)];
        bool equal = false;
        if (candidate.isNull() || wantedNull) {
            equal = candidate.isNull() && wantedNull;
        } else if (candidate.typeId() == QMetaType::QString) {
            const QString text = candidate.toString();
            equal = compareJetText(partialKey ? QStringView(text).left(wantedText.size()) : QStringView(text),
                                   wantedText) == 0;
        } else if (candidate.typeId() == QMetaType::Bool) {
            equal = wantedIsNumber && (candidate.toBool() ? -1.0 : 0.0) == wantedNumber;
        } else if (isNumberType(candidate)) {
            equal = wantedIsNumber && candidate.toDouble() == wantedNumber;
        } else {
            equal = candidate == wanted;
        }
        if (equal) {
            m_current = row;
            m_bof = false;
            m_eof = false;
            notifyScroll();
            return true;
        }
    }
    return false;
}

// The framework's datasets still run their after-scroll event while controls are disabled;
// every handler in this program then returns at once, and the counting loops disable the
// controls precisely so that they do not run per row. Here afterScroll is not emitted at all
// while disabled, and enabling emits controlsEnabled instead of a late afterScroll, so an
// after-open handler that walks the rows is followed by exactly one after-scroll.
void Dataset::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0)
        Q_EMIT controlsEnabled();
}

void Dataset::setFields(QStringList fieldNames, std::vector<FieldType> types)
{
    types.resize(size_t(fieldNames.size()), FieldType::Text);
    m_fieldNames = std::move(fieldNames);
    m_fieldTypes = std::move(types);
    m_fieldIndex.clear();
    m_fieldIndex.reserve(m_fieldNames.size());
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        const QString key = m_fieldNames[i].toCaseFolded();
        if (!m_fieldIndex.contains(key))
            m_fieldIndex.insert(key, i);
    }
}

void Dataset::setRows(QStringList fieldNames, std::vector<FieldType> types,
                      std::vector<std::vector<QVariant>> rows)
{
    setFields(std::move(fieldNames), std::move(types));
    m_rows = std::move(rows);
    m_rowsBefore = 0;
    m_current = 0;
    m_bof = true;
    m_eof = m_rows.empty();
    Q_EMIT dataChanged();
}

void Dataset::clearRows()
{
    m_rows.clear();
    m_rowsBefore = 0;
    m_current = 0;
    m_bof = m_eof = true;
    Q_EMIT dataChanged();
}

void Dataset::notifyScroll()
{
    if (m_disableCount == 0 && !m_rows.empty())
        Q_EMIT afterScroll();
}

QString Dataset::messagePrefix() const
{
    const QString name = objectName();
    return name.isEmpty() ? QString() : name + QStringLiteral(": ");
}

} // namespace katarix::jet
