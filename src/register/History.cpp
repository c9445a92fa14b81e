#include "History.h"

namespace katarix::reg::history {

namespace {

// "T.COLUMN", or "COLUMN" for an empty table name.
QString column(const QString &table, const char *name)
{
    const QString col = QString::fromLatin1(name);
    return table.isEmpty() ? col : table + QLatin1Char('.') + col;
}

} // namespace

QString current(const QString &table)
{
    const QString c = column(table, "ZMIANA_KAS_ID");
    return QStringLiteral("IIf(IsNull(%1), 0, %1) = 0").arg(c);
}

QString currentAnd(const QString &table)
{
    const QString c = column(table, "zmiana_kas_id");
    return QStringLiteral(" AND (%1 = 0 OR %1 is null)").arg(c);
}

QString archivedAnd(const QString &table)
{
    return QStringLiteral(" AND %1 <> 0 ").arg(column(table, "zmiana_kas_id"));
}

QString currentNullOnly(const QString &table)
{
    return column(table, "ZMIANA_KAS_ID") + QStringLiteral(" IS NULL");
}

QString currentZeroOnly(const QString &table)
{
    return column(table, "zmiana_kas_id") + QStringLiteral(" = 0");
}

QString landBookStatus(const QString &table)
{
    const QString c = column(table, "STATUS");
    return QStringLiteral("(%1 = 'P' OR %1 IS NULL)").arg(c);
}

QString landBookStatusPOnly(const QString &table)
{
    return column(table, "status") + QStringLiteral(" = 'P'");
}

QString retiringChange(const QString &versionTable)
{
    const QString c = column(versionTable, "zmiana_kas_id");
    return QStringLiteral("IIf(IsNull(%1) or %1=0, 9999999999,%1)").arg(c);
}

QString linkValidAt(const QString &linkTable, const QString &versionTable)
{
    const QString r = retiringChange(versionTable);
    const QString created = column(linkTable, "zmiana_id");
    const QString retired = column(linkTable, "zmiana_kas_id");
    return QStringLiteral("%1 < %2 AND IIf(IsNull(%3),9999999999,%3) >= %2").arg(created, r, retired);
}

} // namespace katarix::reg::history
