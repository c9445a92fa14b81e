#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace katarix::widgets {

RadioGroup::RadioGroup(const QString &title, QWidget *parent) : QGroupBox(title, parent), m_group(new QButtonGroup(this))
{
    new QVBoxLayout(this);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

void RadioGroup::setItems(const QStringList &items)
{
    for (QAbstractButton *old : m_group->buttons()) {
        m_group->removeButton(old);
        delete old;
    }
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items[i], this);
        m_group->addButton(radio, i);
        layout()->addWidget(radio);
    }
}

QStringList RadioGroup::items() const
{
    QStringList texts;
    for (int i = 0; i < count(); ++i)
        texts.append(button(i)->text());
    return texts;
}

int RadioGroup::count() const { return static_cast<int>(m_group->buttons().size()); }

QRadioButton *RadioGroup::button(int index) const { return qobject_cast<QRadioButton *>(m_group->button(index)); }

int RadioGroup::itemIndex() const { return m_group->checkedId(); }

void RadioGroup::setItemIndex(int index)
{
    // Like a framework radio group: below -1 means none, past the end means the last item.
    index = std::clamp(index, -1, count() - 1);
    if (QAbstractButton *chosen = m_group->button(index)) {
        chosen->setChecked(true);
        return;
    }
    // No item: an exclusive group keeps one checked, so lift exclusivity for the moment.
    m_group->setExclusive(false);
    for (QAbstractButton *b : m_group->buttons())
        b->setChecked(false);
    m_group->setExclusive(true);
}

} // namespace katarix::widgets
