#pragma once

#include "SqlAst.h"
#include "Tokenizer.h"

namespace katarix::jet::sql {

// Recursive-descent parser of Jet SELECT statements (with UNION, joins and sub-queries).
// Throws JetError with the line, column and a marked snippet of the first unreadable place.
SelectPtr parseSelect(const QString &source);

} // namespace katarix::jet::sql
