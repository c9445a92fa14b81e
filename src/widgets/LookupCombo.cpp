#include "widgets/LookupCombo.h"

#include "jet/Dataset.h"
#include "jet/NumberText.h"
#include "widgets/ListaRozwijana.h"

#include <algorithm>

namespace katarix::widgets {

namespace {

// Keys go into SQL as they stand: a number in its shortest form with a full stop.
QString keyText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return jet::sqlNumber(value.toDouble());
    return jet::Dataset::valueToText(value);
}

} // namespace

LookupCombo::LookupCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    ograniczListe(this, 12);
    refill();
}

void LookupCombo::setLookup(jet::Dataset *dataset, const QString &keyField, const QString &listField)
{
    m_dataset = dataset;
    m_keyField = keyField;
    m_listField = listField;
}

void LookupCombo::setEmpty(const QString &text, const QString &value)
{
    m_emptyText = text;
    m_emptyValue = value;
}

void LookupCombo::refill(bool keepChoice)
{
    const QString before = value();
    const QSignalBlocker blocker(this);
    clear();
    addItem(m_emptyText, m_emptyValue);
    if (m_dataset && m_dataset->isOpen()) {
        const int key = m_dataset->fieldIndex(m_keyField);
        const int list = m_dataset->fieldIndex(m_listField);
        for (int row = 0; row < m_dataset->recordCount(); ++row)
            addItem(jet::Dataset::valueToText(m_dataset->valueAt(row, list)), keyText(m_dataset->valueAt(row, key)));
    }
    const int kept = keepChoice && before != m_emptyValue ? findData(before) : -1;
    setCurrentIndex(std::max(kept, 0));
}

QString LookupCombo::value() const
{
    return currentIndex() < 0 ? m_emptyValue : currentData().toString();
}

bool LookupCombo::reset()
{
    const bool changed = chosen();
    setCurrentIndex(0);
    return changed;
}

bool LookupCombo::setValue(const QString &key)
{
    const int index = findData(key);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

} // namespace katarix::widgets
