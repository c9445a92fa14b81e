#include "StrHolder.h"

#include <algorithm>

namespace katarix::jet {

StrHolder::StrHolder(QChar macroChar)
    : m_macroChar(macroChar)
{
}

const StrHolder::Macro *StrHolder::find(const QString &name) const
{
    const QString key = name.toCaseFolded();
    for (const Macro &macro : m_macros) {
        if (macro.key == key)
            return &macro;
    }
    return nullptr;
}

void StrHolder::setMacro(const QString &name, const QString &value)
{
    const QString key = name.toCaseFolded();
    for (Macro &macro : m_macros) {
        if (macro.key == key) {
            macro.value = value;
            return;
        }
    }
    m_macros.append(Macro{name, key, value});
}

QString StrHolder::macro(const QString &name) const
{
    const Macro *found = find(name);
    return found ? found->value : QString();
}

bool StrHolder::hasMacro(const QString &name) const
{
    return find(name) != nullptr;
}

QStringList StrHolder::macroNames() const
{
    QStringList names;
    names.reserve(m_macros.size());
    for (const Macro &macro : m_macros)
        names.append(macro.name);
    return names;
}

void StrHolder::removeMacro(const QString &name)
{
    const QString key = name.toCaseFolded();
    m_macros.removeIf([&](const Macro &macro) { return macro.key == key; });
}

QString StrHolder::expandedText() const
{
    // Longest names first, so that %ABC is not taken for %AB followed by "C".
    QList<const Macro *> byLength;
    for (const Macro &macro : m_macros) {
        if (!macro.name.isEmpty())
            byLength.append(&macro);
    }
    std::stable_sort(byLength.begin(), byLength.end(), [](const Macro *a, const Macro *b) {
        return a->name.size() > b->name.size();
    });

    QString result;
    result.reserve(m_text.size());
    const QStringView text(m_text);
    qsizetype done = 0; // text before this position is already in result
    qsizetype at = text.indexOf(m_macroChar);
    while (at >= 0) {
        const QStringView rest = text.mid(at + 1);
        const Macro *match = nullptr;
        for (const Macro *macro : byLength) {
            if (rest.startsWith(macro->name, Qt::CaseInsensitive)) {
                match = macro;
                break;
            }
        }
        if (match) {
            result.append(text.mid(done, at - done));
            result.append(match->value);
            done = at + 1 + match->name.size();
            at = text.indexOf(m_macroChar, done);
        } else {
            at = text.indexOf(m_macroChar, at + 1);
        }
    }
    result.append(text.mid(done));
    return result;
}

} // namespace katarix::jet
