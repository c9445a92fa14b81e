#pragma once

#include <QString>

namespace katarix::jet {

// Names in an engine database. A register table keeps its own name, except one that SQLite
// keeps for itself (beginning with "sqlite_", in any case) or one holding a full stop: names
// with a full stop belong to the database's own objects (the indexes "ix3.KDZIALKA.MSLINK"),
// which no register table can then reach. Such a table is stored as "katarix.table.<name>";
// the Jet SQL translator refers to it by that name under its own name as alias.
inline QString storedTableName(const QString &registerTable)
{
    if (registerTable.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) || registerTable.contains(u'.'))
        return QStringLiteral("katarix.table.") + registerTable;
    return registerTable;
}

// The n-th index of a loaded register, on one column of a table.
inline QString indexName(int number, const QString &table, const QString &column)
{
    return QStringLiteral("ix%1.%2.%3").arg(number).arg(table, column);
}

} // namespace katarix::jet
