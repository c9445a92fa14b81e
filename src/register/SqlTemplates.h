#pragma once

#include "jet/StrHolder.h"
#include "register/sql/MacroTemplate.h"

namespace katarix::reg {

// A string holder loaded with a template: its text, macro character and macros at their
// defaults, ready for setMacro and expandedText.
jet::StrHolder holderFor(const sql::MacroTemplate &t);

} // namespace katarix::reg
