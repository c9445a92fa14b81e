#pragma once

// Reading the clerk's guide (docs/podrecznik) as its tests need it: a page's Markdown tables, cell
// by cell, and the texts quoted in „…” within a cell.

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <vector>

namespace katarix::test {

inline QString katalogPodrecznikaZrodel()
{
    return QStringLiteral(KATARIX_SOURCE_DIR "/docs/podrecznik");
}

inline QString stronaPodrecznika(const QString &nazwa)
{
    QFile file(katalogPodrecznikaZrodel() + QLatin1Char('/') + nazwa);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

struct TabelaMarkdown {
    QStringList naglowek;
    std::vector<QStringList> wiersze;
};

// A cell as the reader sees it: Markdown's backslash escapes and code marks removed.
inline QString tekstKomorki(const QString &cell)
{
    QString text;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] == QLatin1Char('\\') && i + 1 < cell.size() && cell[i + 1].isPunct())
            ++i;
        else if (cell[i] == QLatin1Char('`'))
            continue;
        text += cell[i];
    }
    return text.trimmed();
}

inline QStringList komorki(const QString &line)
{
    QString row = line.trimmed();
    if (row.startsWith(QLatin1Char('|')))
        row.remove(0, 1);
    if (row.endsWith(QLatin1Char('|')) && !row.endsWith(QLatin1String("\\|")))
        row.chop(1);
    QStringList cells;
    QString cell;
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (row[i] == QLatin1Char('\\') && i + 1 < row.size()) {
            cell += row[i];
            cell += row[++i];
        } else if (row[i] == QLatin1Char('|')) {
            cells << tekstKomorki(cell);
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    cells << tekstKomorki(cell);
    return cells;
}

// Every table of a page, in page order.
inline std::vector<TabelaMarkdown> tabeleMarkdown(const QString &markdown)
{
    static const QRegularExpression separator(QStringLiteral("^\\s*\\|?\\s*:?-{3,}"));
    std::vector<TabelaMarkdown> tables;
    const QStringList lines = markdown.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].trimmed().startsWith(QLatin1Char('|')) || !separator.match(lines[i + 1]).hasMatch())
            continue;
        TabelaMarkdown table;
        table.naglowek = komorki(lines[i]);
        qsizetype j = i + 2;
        for (; j < lines.size() && lines[j].trimmed().startsWith(QLatin1Char('|')); ++j)
            table.wiersze.push_back(komorki(lines[j]));
        tables.push_back(table);
        i = j;
    }
    return tables;
}

// The texts quoted „like this” in a cell.
inline QStringList cytaty(const QString &text)
{
    static const QRegularExpression quote(QStringLiteral("„([^”]*)”"));
    QStringList found;
    for (auto it = quote.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

} // namespace katarix::test
