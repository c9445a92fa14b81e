#pragma once

#include "SqlAst.h"
#include "Translator.h"

namespace katarix::jet::sql {

// Generates SQLite text from a parsed Jet statement. Jet semantics are kept by the jet_*
// functions and the JET collation (installed by registerJetExtensions); result columns are
// always named explicitly (alias, else column name, else Expr1000, Expr1001 ...).
// Long lists of whole numbers tested by a column and IN subqueries of a single SELECT become
// the translation's sets when setsAllowed (see TranslatedSql).
// Throws JetError for an unknown function or a wrong number of arguments.
TranslatedSql generateSqlite(const Select &select, bool setsAllowed = true);

} // namespace katarix::jet::sql
