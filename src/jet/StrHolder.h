#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace katarix::jet {

// A text template with named macros (the framework's string holder). A macro stands in the
// text as the macro character followed by its name; expandedText() replaces every occurrence
// of every macro by its value as plain text. Names are matched without regard to case; where
// names overlap the longest one wins, and values are never scanned again.
class StrHolder {
public:
    explicit StrHolder(QChar macroChar = QLatin1Char('%'));

    void setText(const QString &text) { m_text = text; }
    void setLines(const QStringList &lines) { m_text = lines.join(QLatin1Char('\n')); }
    const QString &text() const { return m_text; }

    void setMacroChar(QChar macroChar) { m_macroChar = macroChar; }
    QChar macroChar() const { return m_macroChar; }

    // Defines the macro or changes its value.
    void setMacro(const QString &name, const QString &value);
    QString macro(const QString &name) const; // empty for an unknown macro
    bool hasMacro(const QString &name) const;
    QStringList macroNames() const; // as first defined, in order of definition
    void removeMacro(const QString &name);
    void clearMacros() { m_macros.clear(); }

    QString expandedText() const;

private:
    struct Macro {
        QString name;
        QString key; // case-folded name
        QString value;
    };
    const Macro *find(const QString &name) const;

    QString m_text;
    QChar m_macroChar;
    QList<Macro> m_macros;
};

} // namespace katarix::jet
