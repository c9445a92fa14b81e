#pragma once

#include "jet/StrHolder.h"
#include "register/sql/MacroTemplate.h"

#include <QString>

#include <initializer_list>
#include <utility>

namespace katarix::reg {

// A string holder loaded with a template: its text, macro character and macros at their
// defaults, ready for setMacro and expandedText.
jet::StrHolder holderFor(const sql::MacroTemplate &t);

// The template's text with its macros at their defaults, then at the given values.
QString expand(const sql::MacroTemplate &t, std::initializer_list<std::pair<const char *, QString>> values = {});

} // namespace katarix::reg
