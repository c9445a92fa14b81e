#pragma once

// A readable text description of tables and rows, turned into writer content.
//
//   # comment; blank lines are ignored; keywords and type names are case-insensitive
//   table GMINA
//   column MSLINK Double
//   column NAZWA Text 50          (Text takes a size in characters, 255 when omitted)
//   column AKTYWNA Boolean
//   column OPIS Memo
//   column POWIERZCHNIA Decimal 18,4  (precision and scale; 18,0 when omitted)
//   row 1; "Łódź"; true; NULL
//   row 2; Zgierz; false; ""
//
// Values in a row are separated by ';'. NULL is a null value; "..." is text with the escapes
// \" \\ \n \r \t; #2024-01-31# or #2024-01-31 13:45:00# is a date; any other value is read by
// the column's type: integers for Byte/Integer/Long, numbers with a '.' for Single, Double,
// Currency and DateTime (OLE days), exact decimal text for Decimal, true/false (or 1/0) for
// Boolean, {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} for GUID, the bare trimmed text for Text, Memo
// and Hyperlink. Names with spaces can be written in double quotes.

#include "MdbContent.h"

#include <istream>

namespace katarix::mdbwriter {

// Throws std::runtime_error with a Polish message naming the line.
Content parseTextDescription(std::istream &in);

} // namespace katarix::mdbwriter
