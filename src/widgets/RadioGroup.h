#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace katarix::widgets {

// A framed group of radio buttons chosen by index, one item per line.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString &title = QString(), QWidget *parent = nullptr);
    // For Designer forms: the title and items come from the form.
    explicit RadioGroup(QWidget *parent) : RadioGroup(QString(), parent) {}

    void setItems(const QStringList &items);
    QStringList items() const;
    int count() const;
    QRadioButton *button(int index) const;

    // -1 when no item is chosen. Setting: below -1 chooses none, past the end the last item.
    int itemIndex() const;
    void setItemIndex(int index);

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup *m_group;
};

} // namespace katarix::widgets
