#pragma once

#include <QString>

class QObject;

namespace katarix::jet {
class Database;
class Query;
} // namespace katarix::jet

namespace katarix::app {

// What the main window lends to the other windows and modules. Each answers also without a main
// window (windows built alone in tests and benchmarks, on a register of their own).

// The given register, or the main window's connection when none is given.
jet::Database *bazaProgramu(jet::Database *database);

// The configuration file of the program (empty without a main window).
QString plikIni();

// TempQry, the scratch query for look-ups that a window or module builds as text: each borrower
// closes it, sets its SQL, opens and reads it, and what it holds is valid only until the next
// borrower. On the main window's register (baza null or the main window's) it is the main
// window's one TempQry; on any other register it is a TempQry of the borrower's own, a child of
// wlasciciel made at its first borrowing. Never null.
jet::Query *pozyczTempQry(jet::Database *baza, QObject *wlasciciel);

} // namespace katarix::app
