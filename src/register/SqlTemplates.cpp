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

QString expand(const sql::MacroTemplate &t, std::initializer_list<std::pair<const char *, QString>> values)
{
    jet::StrHolder holder = holderFor(t);
    for (const auto &[name, value] : values)
        holder.setMacro(QString::fromUtf8(name), value);
    return holder.expandedText();
}

} // namespace katarix::reg
