#pragma once

#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "register/SqlTemplates.h"

#include "common/SeparatorGuard.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <ostream>
#include <utility>
#include <vector>

// Readable texts in test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace katarix::regtest {

struct Param {
    const char *name;
    QVariant value;
    jet::FieldType type = jet::FieldType::Float;
};

// The rows of a Jet query, every value as the engine's text (NULL as "").
struct Result {
    QStringList fields;
    std::vector<QStringList> rows;

    int column(const QString &name) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QStringList columnValues(const QString &name) const
    {
        QStringList values;
        const int c = column(name);
        for (const QStringList &row : rows)
            values << (c < 0 ? QStringLiteral("<no column %1>").arg(name) : row.value(c));
        return values;
    }
};

// A value as the engine prints it: numbers in their shortest form with the regional separator.
inline QString text(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
        return jet::numberToText(v.toDouble());
    default:
        return v.toString();
    }
}

inline Result run(jet::Database &db, const QString &sql, const std::vector<Param> &params = {})
{
    jet::Query query;
    query.setDatabase(&db);
    query.setSql(sql);
    for (const Param &p : params)
        query.setParameter(QString::fromLatin1(p.name), p.value, p.type);
    query.open();
    Result result;
    result.fields = query.fieldNames();
    for (query.first(); !query.eof(); query.next()) {
        QStringList row;
        for (int i = 0; i < query.fieldCount(); ++i) {
            const QVariant v = query.value(i);
            row << text(v);
        }
        result.rows.push_back(row);
    }
    query.close();
    return result;
}

// A template's text as a window fills its holder: the macros at their defaults, then at the
// given values.
inline QString expand(const reg::sql::MacroTemplate &t,
                      std::initializer_list<std::pair<const char *, QString>> values = {})
{
    jet::StrHolder holder = reg::holderFor(t);
    for (const auto &[name, value] : values)
        holder.setMacro(QString::fromUtf8(name), value);
    return holder.expandedText();
}

// The first value of the first row.
inline QString scalar(jet::Database &db, const QString &sql, const std::vector<Param> &params = {})
{
    const Result r = run(db, sql, params);
    return r.rows.empty() ? QStringLiteral("<no row>") : r.rows.front().value(0);
}

} // namespace katarix::regtest
