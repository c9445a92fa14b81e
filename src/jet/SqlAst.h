#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace katarix::jet::sql {

struct Select;

struct Expr {
    enum class Kind {
        Number,    // text: the literal as written
        String,    // text: the value
        Null,
        Boolean,   // text: "-1" or "0"
        Parameter, // text: the name as written
        Column,    // qualifier (may be empty) and text: the column name
        Star,      // qualifier.* or * (inside Count(*) or the select list)
        Unary,     // text: "NOT", "-" or "+"; args[0]
        Binary,    // text: operator in upper case (OR AND XOR EQV IMP = <> < > <= >= & + - * / \ MOD ^)
        Function,  // text: the name as written; args
        Like,      // args[0] LIKE args[1]; negated for NOT LIKE
        Between,   // args[0] BETWEEN args[1] AND args[2]; negated
        InList,    // args[0] IN (args[1..]); negated
        InSelect,  // args[0] IN (select); negated
        IsNull,    // args[0] IS [NOT] NULL; negated for IS NOT NULL
        Exists,    // EXISTS (select)
        Subquery,  // (select) as a value
    };

    Kind kind = Kind::Null;
    QString text;
    QString qualifier;
    bool negated = false;
    bool parenthesised = false;
    int offset = 0;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> select;
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    ExprPtr expr;
    QString alias; // empty when none was written
};

struct TableRef {
    enum class Kind { Table, Subquery, Join };
    enum class JoinType { Inner, Left, Right, Cross };

    Kind kind = Kind::Table;
    QString name;  // table name
    QString alias; // alias, empty when none
    std::unique_ptr<Select> subquery;
    JoinType joinType = JoinType::Inner;
    std::unique_ptr<TableRef> left;
    std::unique_ptr<TableRef> right;
    ExprPtr on;
};
using TableRefPtr = std::unique_ptr<TableRef>;

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct SelectCore {
    bool distinct = false;
    std::optional<qint64> top;
    std::vector<SelectItem> items;
    std::vector<TableRefPtr> from; // comma-separated sources
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
};

// One or more cores joined by UNION [ALL], with an optional ORDER BY over the whole.
struct Select {
    std::vector<SelectCore> cores;
    std::vector<bool> unionAll; // between cores[i] and cores[i + 1]
    std::vector<OrderItem> orderBy;
};
using SelectPtr = std::unique_ptr<Select>;

} // namespace katarix::jet::sql
