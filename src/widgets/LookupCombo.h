#pragma once

#include <QComboBox>
#include <QString>

namespace katarix::jet {
class Dataset;
}

namespace katarix::widgets {

// A lookup combo box over a dataset: its first item is the empty entry (empty text, empty
// value), the others show the list field of each row and carry the key field as text. While the
// dataset is closed only the empty entry is there. activated() comes from the user only.
class LookupCombo : public QComboBox {
    Q_OBJECT
public:
    explicit LookupCombo(QWidget *parent = nullptr);

    void setLookup(jet::Dataset *dataset, const QString &keyField, const QString &listField);
    void setEmpty(const QString &text, const QString &value);
    const QString &emptyValue() const { return m_emptyValue; }

    // Reads the rows again (or only the empty entry for a closed dataset). The empty entry is
    // chosen, or with keepChoice the row chosen before when its key is still listed.
    void refill(bool keepChoice = false);
    // The key of the chosen row as text; the empty value when none is chosen.
    QString value() const;
    bool chosen() const { return value() != m_emptyValue; }
    // Chooses the empty entry; returns whether the value changed.
    bool reset();
    // Chooses the row with this key; false when there is none.
    bool setValue(const QString &key);

private:
    jet::Dataset *m_dataset = nullptr;
    QString m_keyField, m_listField;
    QString m_emptyText, m_emptyValue;
};

} // namespace katarix::widgets
