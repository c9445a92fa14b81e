#pragma once

#include <QString>

namespace katarix::jet {
class Query;
}

namespace katarix::reg {

// Text of one comment of the register (table KOMENTARZ): closes tempQry, selects the comment
// by mslink and returns its text, empty when there is none or it is NULL. The query stays open.
QString tekstKomentarza(jet::Query &tempQry, double mslink);

} // namespace katarix::reg
