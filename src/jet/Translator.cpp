#include "Translator.h"

#include "Parser.h"
#include "SqlGenerator.h"

namespace katarix::jet {

TranslatedSql translateJetSql(const QString &jetSql)
{
    const sql::SelectPtr select = sql::parseSelect(jetSql);
    return sql::generateSqlite(*select);
}

} // namespace katarix::jet
