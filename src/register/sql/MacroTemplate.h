#pragma once

// An SQL (or page) template kept in a string holder: the text with its macros written as the
// macro character followed by the macro name, the names and their default values.
namespace katarix::reg::sql {

struct MacroTemplate {
    static constexpr int kMaxMacros = 6;
    const char *text;
    char macroChar;
    const char *macros[kMaxMacros];   // names; nullptr after the last
    const char *defaults[kMaxMacros]; // default value of each name ("" when empty)

    constexpr int macroCount() const
    {
        int n = 0;
        while (n < kMaxMacros && macros[n])
            ++n;
        return n;
    }
};

} // namespace katarix::reg::sql
