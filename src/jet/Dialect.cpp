#include "Dialect.h"

namespace katarix::jet {

// Interim: the text passes through unchanged until the parser lands.
TranslatedSql translateJetSql(const QString &jetSql)
{
    TranslatedSql result;
    result.sql = jetSql;
    return result;
}

} // namespace katarix::jet
