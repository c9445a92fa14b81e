#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace katarix::jet {

// A set of values a statement tests with IN that the engine may keep as an indexed temporary
// table, so that running the statement again (with new parameters) does not build the set
// again: a long list of whole numbers, or a subquery (which the database uses only when it
// depends on nothing outside itself; see Database::resolve).
struct SqlSet {
    QString key;                // the same set in any statement has the same key
    QString text;               // SQLite text of the subquery (may hold inner sets' placeholders);
                                // for a list, the list without parentheses
    std::vector<qint64> values; // the list's numbers; empty for a subquery
    bool isList() const { return !values.empty(); }
};

// Jet SQL translated into SQLite SQL.
struct TranslatedSql {
    QString sql;                // SQLite text; parameters appear as :name in lower case
    QStringList parameterNames; // distinct parameter names, lower case, in order of first use
    // When sets were found: sql with a placeholder for each set's parenthesised text (inner sets
    // come before the sets that hold them); empty otherwise.
    QString pattern;
    std::vector<SqlSet> sets;
};

// Tokens -> tree -> SQLite text. Throws JetError showing where a text could not be read.
TranslatedSql translateJetSql(const QString &jetSql);

// Lists of at least this many whole numbers become sets.
inline constexpr int SetListMinimum = 100;

// Replaces each set placeholder of text by replacement(index of the set).
QString fillSetPlaceholders(const QString &text, const std::function<QString(int)> &replacement);
// The placeholder written for set index.
QString setPlaceholder(int index);

} // namespace katarix::jet
