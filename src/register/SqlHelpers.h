#pragma once

#include <QString>

namespace katarix::reg {

// A comma list of values as an SQL condition over the column pole, in IN lists of at most
// naGrupe values joined by OR: " and (f in (1,2) OR f in (3))". The list is used as it stands
// (blanks are not removed); an empty list gives an empty IN list, so callers check for it first.
QString WarunekIn(const QString &lista, int naGrupe, const QString &pole);

// Text fit to stand between apostrophes in Jet SQL: every apostrophe becomes
// "' + Chr$(39) + '", so 'O' + Chr$(39) + 'Neil' evaluates to O'Neil.
QString CytujApostrofy(const QString &text);

} // namespace katarix::reg
