#pragma once

#include <QString>

namespace katarix::reports {

// Today's date "dd.mm.yyyy" and the time now "h:mm:ss" (hour without a leading zero).
QString biezacaData();
QString biezacyCzas();

} // namespace katarix::reports
