#include "Translator.h"

#include "Parser.h"
#include "SqlGenerator.h"

namespace katarix::jet {

namespace {

// Private-use characters around a set's number; a statement holding either gets no sets.
constexpr char16_t kSetOpen = 0xE000;
constexpr char16_t kSetClose = 0xE001;

} // namespace

TranslatedSql translateJetSql(const QString &jetSql)
{
    const sql::SelectPtr select = sql::parseSelect(jetSql);
    const bool setsAllowed = !jetSql.contains(QChar(kSetOpen)) && !jetSql.contains(QChar(kSetClose));
    return sql::generateSqlite(*select, setsAllowed);
}

QString setPlaceholder(int index)
{
    return QChar(kSetOpen) + QString::number(index) + QChar(kSetClose);
}

QString fillSetPlaceholders(const QString &text, const std::function<QString(int)> &replacement)
{
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QChar(kSetOpen), from);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(QChar(kSetClose), open);
        out += QStringView(text).mid(from, open - from);
        out += replacement(QStringView(text).mid(open + 1, close - open - 1).toInt());
        from = close + 1;
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace katarix::jet
