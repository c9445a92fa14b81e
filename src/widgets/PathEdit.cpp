#include "widgets/PathEdit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace katarix::widgets {

PathEdit::PathEdit(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    m_button->setFocusPolicy(Qt::TabFocus);
    m_button->setCursor(Qt::ArrowCursor);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &PathEdit::textChanged);
    connect(m_button, &QToolButton::clicked, this, &PathEdit::pick);
}

QString PathEdit::text() const { return m_edit->text(); }

void PathEdit::setText(const QString &text) { m_edit->setText(text); }

void PathEdit::pick()
{
    if (!m_picker)
        return;
    const std::optional<QString> chosen = m_picker(text());
    if (!chosen || chosen->isEmpty())
        return;
    setText(*chosen);
    emit picked(*chosen);
}

FileNameEdit::FileNameEdit(QWidget *parent) : PathEdit(parent)
{
    button()->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    button()->setToolTip(QStringLiteral("Wybierz plik"));
}

DirectoryEdit::DirectoryEdit(QWidget *parent) : PathEdit(parent)
{
    button()->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    button()->setToolTip(QStringLiteral("Wybierz katalog"));
}

} // namespace katarix::widgets
