#pragma once

#include <QString>
#include <QStringList>

namespace katarix::jet {

// Jet SQL translated into SQLite SQL.
struct TranslatedSql {
    QString sql;                // SQLite text; parameters appear as :name in lower case
    QStringList parameterNames; // distinct parameter names, lower case, in order of first use
};

// Tokens -> tree -> SQLite text. Throws JetError showing where a text could not be read.
TranslatedSql translateJetSql(const QString &jetSql);

} // namespace katarix::jet
