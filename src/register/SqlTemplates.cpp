#include "SqlTemplates.h"

namespace katarix::reg {

jet::StrHolder holderFor(const sql::MacroTemplate &t)
{
    jet::StrHolder holder{QLatin1Char(t.macroChar)};
    holder.setText(QString::fromUtf8(t.text));
    for (int i = 0; i < t.macroCount(); ++i)
        holder.setMacro(QString::fromUtf8(t.macros[i]), QString::fromUtf8(t.defaults[i]));
    return holder;
}

} // namespace katarix::reg
