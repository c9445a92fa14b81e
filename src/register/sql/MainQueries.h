#pragma once

// SQL of the main window.
namespace katarix::reg::sql::main {

// TekstKomentarza: followed by the comment's mslink in its shortest decimal form.
inline constexpr char TekstKomentarzaSql[] = "SELECT tekst FROM komentarz WHERE mslink = ";

} // namespace katarix::reg::sql::main
