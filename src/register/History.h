#pragma once

#include <QString>

// The tests that tell current register rows from historical ones. Every versioned row carries
// ZMIANA_ID (the change that created it) and ZMIANA_KAS_ID (the change that retired it). The
// queries use several spellings of the test that differ in how NULL and 0 are treated; each
// function gives one spelling for a table name (or alias) exactly as the queries write it.
// An empty table name gives the unqualified column.
namespace katarix::reg::history {

// Current: ZMIANA_KAS_ID NULL or 0.
// "IIf(IsNull(T.ZMIANA_KAS_ID), 0, T.ZMIANA_KAS_ID) = 0"
QString current(const QString &table);

// Current, appended form of the parcel search "Aktualne" and the reports:
// " AND (t.zmiana_kas_id = 0 OR t.zmiana_kas_id is null)"
QString currentAnd(const QString &table);

// Historical only (NULL excluded), appended form of the parcel search "Archiwalne":
// " AND t.zmiana_kas_id <> 0 "
QString archivedAnd(const QString &table);

// Current means NULL only: "T.ZMIANA_KAS_ID IS NULL".
QString currentNullOnly(const QString &table);

// Current means 0 only (the building join of the premises register): "t.zmiana_kas_id = 0".
QString currentZeroOnly(const QString &table);

// Land-book link followed by the program: "(T.STATUS = 'P' OR T.STATUS IS NULL)".
QString landBookStatus(const QString &table);

// Land-book link followed by the tool windows: "t.status = 'P'".
QString landBookStatusPOnly(const QString &table);

// The change that retired a version, 9999999999 while it is current:
// "IIf(IsNull(t.zmiana_kas_id) or t.zmiana_kas_id=0, 9999999999,t.zmiana_kas_id)"
QString retiringChange(const QString &versionTable);

// The link row valid when a version was retired (or now, for a current version): created
// before the retiring change R and retired at R or later, NULL counting as never retired.
// "l.zmiana_id < R AND IIf(IsNull(l.zmiana_kas_id),9999999999,l.zmiana_kas_id) >= R"
QString linkValidAt(const QString &linkTable, const QString &versionTable);

// The retiring change number that stands for "not retired".
inline constexpr double kNotRetired = 9999999999.0;

} // namespace katarix::reg::history
