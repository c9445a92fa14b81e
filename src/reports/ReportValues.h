#pragma once

#include <QString>

namespace katarix::reports {

// A number in fixed notation as the reports print it: rounded to `decimals` places from at
// most 10 significant digits, with the regional decimal separator.
QString liczbaStala(double value, int decimals);

// An identifier as written into SQL: its shortest decimal form with a full stop.
QString liczbaSql(double value);

// Today's date "dd.mm.yyyy" and the time now "h:mm:ss" (hour without a leading zero).
QString biezacaData();
QString biezacyCzas();

} // namespace katarix::reports
