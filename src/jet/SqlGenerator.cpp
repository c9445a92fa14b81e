#include "SqlGenerator.h"

#include "JetError.h"
#include "StoredNames.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>

#include <sqlite3.h>

namespace katarix::jet::sql {

namespace {

// What the generator knows of an expression's type without the schema.
enum class Type { Unknown, Null, Number, Text, Boolean };

struct FunctionSpec {
    enum class Emit { Call, IIf, IsNull, Nz, Count, Aggregate };
    int minArgs;
    int maxArgs;
    Emit how;
    const char *sqlName;
    Type type; // Unknown: the type of the first argument
};

const QHash<QString, FunctionSpec> &functions()
{
    using E = FunctionSpec::Emit;
    static const QHash<QString, FunctionSpec> table = {
        {QStringLiteral("iif"), {3, 3, E::IIf, "", Type::Unknown}},
        {QStringLiteral("isnull"), {1, 1, E::IsNull, "", Type::Boolean}},
        {QStringLiteral("nz"), {1, 2, E::Nz, "coalesce", Type::Unknown}},
        {QStringLiteral("len"), {1, 1, E::Call, "jet_len", Type::Number}},
        {QStringLiteral("ucase"), {1, 1, E::Call, "jet_ucase", Type::Text}},
        {QStringLiteral("lcase"), {1, 1, E::Call, "jet_lcase", Type::Text}},
        {QStringLiteral("left"), {2, 2, E::Call, "jet_left", Type::Text}},
        {QStringLiteral("right"), {2, 2, E::Call, "jet_right", Type::Text}},
        {QStringLiteral("mid"), {2, 3, E::Call, "jet_mid", Type::Text}},
        {QStringLiteral("trim"), {1, 1, E::Call, "jet_trim", Type::Text}},
        {QStringLiteral("ltrim"), {1, 1, E::Call, "jet_ltrim", Type::Text}},
        {QStringLiteral("rtrim"), {1, 1, E::Call, "jet_rtrim", Type::Text}},
        {QStringLiteral("chr"), {1, 1, E::Call, "jet_chr", Type::Text}},
        {QStringLiteral("asc"), {1, 1, E::Call, "jet_asc", Type::Number}},
        {QStringLiteral("format"), {1, 2, E::Call, "jet_format", Type::Text}},
        {QStringLiteral("val"), {1, 1, E::Call, "jet_val", Type::Number}},
        {QStringLiteral("str"), {1, 1, E::Call, "jet_str", Type::Text}},
        {QStringLiteral("cstr"), {1, 1, E::Call, "jet_cstr", Type::Text}},
        {QStringLiteral("cdbl"), {1, 1, E::Call, "jet_cdbl", Type::Number}},
        {QStringLiteral("csng"), {1, 1, E::Call, "jet_cdbl", Type::Number}},
        {QStringLiteral("ccur"), {1, 1, E::Call, "jet_cdbl", Type::Number}},
        {QStringLiteral("clng"), {1, 1, E::Call, "jet_clng", Type::Number}},
        {QStringLiteral("cint"), {1, 1, E::Call, "jet_clng", Type::Number}},
        {QStringLiteral("int"), {1, 1, E::Call, "jet_int", Type::Number}},
        {QStringLiteral("fix"), {1, 1, E::Call, "jet_fix", Type::Number}},
        {QStringLiteral("abs"), {1, 1, E::Call, "abs", Type::Number}},
        {QStringLiteral("sgn"), {1, 1, E::Call, "jet_sgn", Type::Number}},
        {QStringLiteral("round"), {1, 2, E::Call, "jet_round", Type::Number}},
        {QStringLiteral("sqr"), {1, 1, E::Call, "jet_sqr", Type::Number}},
        {QStringLiteral("instr"), {2, 3, E::Call, "jet_instr", Type::Number}},
        {QStringLiteral("replace"), {3, 3, E::Call, "jet_replace", Type::Text}},
        {QStringLiteral("space"), {1, 1, E::Call, "jet_space", Type::Text}},
        {QStringLiteral("isnumeric"), {1, 1, E::Call, "jet_isnumeric", Type::Number}}, // -1 / 0 already
        {QStringLiteral("count"), {1, 1, E::Count, "count", Type::Number}},
        {QStringLiteral("sum"), {1, 1, E::Aggregate, "sum", Type::Number}},
        {QStringLiteral("avg"), {1, 1, E::Aggregate, "avg", Type::Number}},
        {QStringLiteral("min"), {1, 1, E::Aggregate, "min", Type::Unknown}},
        {QStringLiteral("max"), {1, 1, E::Aggregate, "max", Type::Unknown}},
        {QStringLiteral("first"), {1, 1, E::Aggregate, "jet_first", Type::Unknown}},
        {QStringLiteral("last"), {1, 1, E::Aggregate, "jet_last", Type::Unknown}},
    };
    return table;
}

bool isPlainName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
        if (!letter && !(i > 0 && c >= u'0' && c <= u'9'))
            return false;
    }
    const QByteArray latin = name.toLatin1();
    return sqlite3_keyword_check(latin.constData(), int(latin.size())) == 0;
}

QString quoteName(const QString &name)
{
    if (isPlainName(name))
        return name;
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString quoteAlias(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString quoteString(const QString &value)
{
    QString quoted = value;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

bool isColumn(const Expr &e)
{
    return e.kind == Expr::Kind::Column;
}

bool isTextual(Type t)
{
    return t == Type::Text || t == Type::Unknown;
}

class Generator {
public:
    explicit Generator(bool setsAllowed) : m_setsAllowed(setsAllowed) {}

    TranslatedSql run(const Select &select)
    {
        TranslatedSql result;
        const QString text = selectText(select);
        if (m_sets.empty()) {
            result.sql = text;
        } else {
            result.sql = plainText(text);
            result.pattern = text;
            result.sets = std::move(m_sets);
        }
        result.parameterNames = m_parameters;
        return result;
    }

private:
    bool m_setsAllowed;
    std::vector<SqlSet> m_sets;
    QStringList m_parameters;
    // The select list being written: an unqualified name there may be the alias of another
    // item, which Jet reads as that item's expression.
    const SelectCore *m_listCore = nullptr;
    int m_listItem = -1;
    int m_aliasDepth = 0;

    [[noreturn]] static void fail(const QString &message) { throw JetError(message); }

    // --- sets -------------------------------------------------------------------------------

    // Text with every set placeholder replaced by the set's own parenthesised text.
    QString plainText(const QString &text) const
    {
        return fillSetPlaceholders(text, [this](int index) {
            return u'(' + plainText(m_sets[size_t(index)].text) + u')';
        });
    }

    // A set standing for "(text)": its placeholder.
    QString addSet(QString text, std::vector<qint64> values)
    {
        SqlSet set;
        set.text = std::move(text);
        set.values = std::move(values);
        const QByteArray identity = (set.isList() ? QStringLiteral("list:") : QStringLiteral("select:")).toUtf8() +
                                    plainText(set.text).toUtf8();
        set.key = QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex());
        m_sets.push_back(std::move(set));
        return setPlaceholder(int(m_sets.size()) - 1);
    }

    // The numbers of an IN list when it is long and holds only whole numbers as written.
    static std::vector<qint64> wholeNumbers(const Expr &in)
    {
        std::vector<qint64> values;
        if (in.args.size() <= size_t(SetListMinimum))
            return values;
        values.reserve(in.args.size() - 1);
        for (size_t i = 1; i < in.args.size(); ++i) {
            const Expr &item = *in.args[i];
            bool ok = item.kind == Expr::Kind::Number;
            for (const QChar c : item.text)
                ok = ok && c.isDigit() && c.unicode() < 128;
            const qint64 value = ok ? item.text.toLongLong(&ok) : 0;
            if (!ok)
                return {};
            values.push_back(value);
        }
        return values;
    }

    // --- statements -----------------------------------------------------------------------

    // Result names of a core: alias, else the column name (qualified when two items share
    // it), else Expr1000, Expr1001 ...; empty for *.
    static QStringList resultNames(const SelectCore &core)
    {
        QStringList names;
        QHash<QString, int> counts;
        for (const SelectItem &item : core.items) {
            QString n;
            if (!item.alias.isEmpty())
                n = item.alias;
            else if (isColumn(*item.expr))
                n = item.expr->text;
            names << n;
            if (!n.isEmpty())
                ++counts[n.toLower()];
        }
        int expression = 1000;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const SelectItem &item = core.items[size_t(i)];
            if (item.expr->kind == Expr::Kind::Star)
                continue;
            if (names[i].isEmpty())
                names[i] = QStringLiteral("Expr%1").arg(expression++);
            else if (item.alias.isEmpty() && counts.value(names[i].toLower()) > 1 && !item.expr->qualifier.isEmpty())
                names[i] = item.expr->qualifier + u'.' + item.expr->text;
        }
        return names;
    }

    QString selectText(const Select &select)
    {
        const bool compound = select.cores.size() > 1;
        QString sql;
        for (size_t i = 0; i < select.cores.size(); ++i) {
            if (i > 0)
                sql += select.unionAll[i - 1] ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION ");
            const SelectCore &core = select.cores[i];
            if (compound && core.top)
                sql += QStringLiteral("SELECT * FROM (") + coreText(core) + QStringLiteral(" LIMIT %1)").arg(*core.top);
            else
                sql += coreText(core);
        }
        if (!select.orderBy.empty()) {
            const SelectCore &first = select.cores.front();
            const QStringList names = resultNames(first);
            sql += QStringLiteral(" ORDER BY ");
            for (size_t i = 0; i < select.orderBy.size(); ++i) {
                if (i > 0)
                    sql += QStringLiteral(", ");
                sql += orderTerm(select.orderBy[i].expr, first, names, compound);
                if (select.orderBy[i].descending)
                    sql += QStringLiteral(" DESC");
            }
        }
        if (!compound && select.cores.front().top)
            sql += QStringLiteral(" LIMIT %1").arg(*select.cores.front().top);
        return sql;
    }

    // ORDER BY: a position stays; a name of a result column becomes its position; in a
    // UNION every term must name a result column of the first SELECT.
    QString orderTerm(const ExprPtr &term, const SelectCore &first, const QStringList &names, bool compound)
    {
        if (term->kind == Expr::Kind::Number) {
            bool ok = false;
            const int position = term->text.toInt(&ok);
            if (!ok || position < 1 || position > int(first.items.size()))
                fail(QStringLiteral("Numer kolumny %1 w ORDER BY jest poza listą wyników zapytania.").arg(term->text));
            return term->text;
        }
        if (isColumn(*term)) {
            for (qsizetype i = 0; i < names.size(); ++i) {
                const Expr &e = *first.items[size_t(i)].expr;
                const bool sameColumn = isColumn(e) && e.text.compare(term->text, Qt::CaseInsensitive) == 0
                    && (term->qualifier.isEmpty() || e.qualifier.compare(term->qualifier, Qt::CaseInsensitive) == 0);
                if (term->qualifier.isEmpty() ? names[i].compare(term->text, Qt::CaseInsensitive) == 0 : sameColumn)
                    return QString::number(i + 1);
            }
            if (compound && !term->qualifier.isEmpty()) {
                for (qsizetype i = 0; i < names.size(); ++i) {
                    if (names[i].compare(term->text, Qt::CaseInsensitive) == 0)
                        return QString::number(i + 1);
                }
            }
        }
        if (compound)
            fail(QStringLiteral("Wyrażenie ORDER BY nie odpowiada żadnej kolumnie wyniku zapytania UNION."));
        Type type = Type::Unknown;
        QString text = expr(*term, type);
        if (!isColumn(*term) && isTextual(type))
            text += QStringLiteral(" COLLATE JET");
        return text;
    }

    QString coreText(const SelectCore &core)
    {
        QString sql = QStringLiteral("SELECT ");
        if (core.distinct)
            sql += QStringLiteral("DISTINCT ");
        const QStringList names = resultNames(core);
        const SelectCore *outerCore = m_listCore;
        const int outerItem = m_listItem;
        m_listCore = &core;
        for (size_t i = 0; i < core.items.size(); ++i) {
            if (i > 0)
                sql += QStringLiteral(", ");
            m_listItem = int(i);
            const Expr &e = *core.items[i].expr;
            if (e.kind == Expr::Kind::Star) {
                sql += e.qualifier.isEmpty() ? QStringLiteral("*") : quoteName(e.qualifier) + QStringLiteral(".*");
                continue;
            }
            Type type = Type::Unknown;
            const QString value = expr(e, type);
            if (type == Type::Boolean) {
                // Jet's True is -1; SQLite's conditions give 1.
                sql += QStringLiteral("(- ") + value + u')';
            } else {
                sql += value;
                // Computed texts compare, sort and de-duplicate the Jet way, like text columns.
                if (!isColumn(e) && (isTextual(type) || type == Type::Null))
                    sql += QStringLiteral(" COLLATE JET");
            }
            sql += QStringLiteral(" AS ") + quoteAlias(names[qsizetype(i)]);
        }
        m_listCore = nullptr;
        if (!core.from.empty()) {
            sql += QStringLiteral(" FROM ");
            for (size_t i = 0; i < core.from.size(); ++i) {
                if (i > 0)
                    sql += QStringLiteral(", ");
                const bool wrap = core.from.size() > 1 && core.from[i]->kind == TableRef::Kind::Join;
                sql += wrap ? u'(' + tableText(*core.from[i]) + u')' : tableText(*core.from[i]);
            }
        }
        if (core.where)
            sql += QStringLiteral(" WHERE ") + condition(*core.where);
        if (!core.groupBy.empty()) {
            sql += QStringLiteral(" GROUP BY ");
            for (size_t i = 0; i < core.groupBy.size(); ++i) {
                if (i > 0)
                    sql += QStringLiteral(", ");
                Type type = Type::Unknown;
                sql += expr(*core.groupBy[i], type);
                if (!isColumn(*core.groupBy[i]) && isTextual(type))
                    sql += QStringLiteral(" COLLATE JET");
            }
        }
        if (core.having)
            sql += QStringLiteral(" HAVING ") + condition(*core.having);
        m_listCore = outerCore;
        m_listItem = outerItem;
        return sql;
    }

    // Joins nest to the left in Jet's parentheses; they are written flat, which SQLite reads
    // the same way. A join nested on the right keeps its parentheses.
    QString tableText(const TableRef &ref)
    {
        switch (ref.kind) {
        case TableRef::Kind::Table: {
            // A table stored under another name keeps its own as alias, so qualified columns
            // still find it.
            const QString stored = storedTableName(ref.name);
            const QString alias = ref.alias.isEmpty() && stored != ref.name ? ref.name : ref.alias;
            return alias.isEmpty() ? quoteName(stored) : quoteName(stored) + QStringLiteral(" AS ") + quoteName(alias);
        }
        case TableRef::Kind::Subquery: {
            QString sql = u'(' + selectText(*ref.subquery) + u')';
            if (!ref.alias.isEmpty())
                sql += QStringLiteral(" AS ") + quoteName(ref.alias);
            return sql;
        }
        case TableRef::Kind::Join: {
            QString sql = tableText(*ref.left);
            if (const QString flat = flatLeftJoin(ref); !flat.isEmpty())
                return sql + flat;
            switch (ref.joinType) {
            case TableRef::JoinType::Left:
                sql += QStringLiteral(" LEFT JOIN ");
                break;
            case TableRef::JoinType::Right:
                sql += QStringLiteral(" RIGHT JOIN ");
                break;
            default:
                sql += QStringLiteral(" INNER JOIN ");
            }
            sql += ref.right->kind == TableRef::Kind::Join ? u'(' + tableText(*ref.right) + u')' : tableText(*ref.right);
            sql += QStringLiteral(" ON ") + condition(*ref.on);
            return sql;
        }
        }
        return {};
    }

    // The name a table is referred to by, in lower case.
    static QString refName(const TableRef &table) { return (table.alias.isEmpty() ? table.name : table.alias).toLower(); }

    // Adds the lower-case qualifiers of every column in e; false when a column has none.
    static bool qualifiers(const Expr &e, QStringList &out)
    {
        if (e.kind == Expr::Kind::Column) {
            if (e.qualifier.isEmpty())
                return false;
            out << e.qualifier.toLower();
        }
        if (e.select)
            return false;
        for (const ExprPtr &arg : e.args)
            if (arg && !qualifiers(*arg, out))
                return false;
        return true;
    }

    // e is "x.a = y.b" or a conjunction of such equalities, one of them naming a table of
    // `joined`: it rejects a row whose joined tables are all NULL.
    static bool nullRejecting(const Expr &e, const QStringList &joined, bool &namesJoined)
    {
        if (e.kind == Expr::Kind::Binary && e.text == QLatin1String("AND") && e.args.size() == 2)
            return nullRejecting(*e.args[0], joined, namesJoined) && nullRejecting(*e.args[1], joined, namesJoined);
        if (e.kind != Expr::Kind::Binary || e.text != QLatin1String("=") || e.args.size() != 2)
            return false;
        for (const ExprPtr &side : e.args) {
            if (side->kind != Expr::Kind::Column || side->qualifier.isEmpty())
                return false;
            namesJoined = namesJoined || joined.contains(side->qualifier.toLower());
        }
        return true;
    }

    // "A LEFT JOIN (B LEFT JOIN C ON q) ON p" written as "A LEFT JOIN B ON p LEFT JOIN C ON q",
    // which SQLite plans as one join instead of materialising the group first. The two are the
    // same when every q is an equality on a table joined before it (a row of NULLs for B matches
    // nothing in C) and p names no table of the group but B. Returns the text after A, or empty
    // text when the group does not qualify.
    QString flatLeftJoin(const TableRef &ref)
    {
        if (ref.joinType != TableRef::JoinType::Left || ref.right->kind != TableRef::Kind::Join)
            return {};
        std::vector<const TableRef *> chain; // the group's joins, innermost (leftmost) first
        const TableRef *first = ref.right.get();
        while (first->kind == TableRef::Kind::Join) {
            if (first->joinType != TableRef::JoinType::Left || first->right->kind != TableRef::Kind::Table)
                return {};
            chain.insert(chain.begin(), first);
            first = first->left.get();
        }
        if (first->kind != TableRef::Kind::Table)
            return {};
        QStringList joined{refName(*first)};
        for (const TableRef *join : chain) {
            bool namesJoined = false;
            if (!nullRejecting(*join->on, joined, namesJoined) || !namesJoined)
                return {};
            joined << refName(*join->right);
        }
        QStringList named;
        if (!qualifiers(*ref.on, named))
            return {};
        for (const QString &name : named)
            if (name != joined.first() && joined.contains(name))
                return {};
        QString sql = QStringLiteral(" LEFT JOIN ") + tableText(*first) + QStringLiteral(" ON ") + condition(*ref.on);
        for (const TableRef *join : chain)
            sql += QStringLiteral(" LEFT JOIN ") + tableText(*join->right) + QStringLiteral(" ON ") + condition(*join->on);
        return sql;
    }

    QString condition(const Expr &e)
    {
        Type type = Type::Unknown;
        return expr(e, type);
    }

    // --- expressions ----------------------------------------------------------------------

    // Operands of a left-associative chain of one operator (a + b + c); a parenthesised
    // operand below the root stays whole.
    static void collectChain(const Expr &e, const QString &op, std::vector<const Expr *> &out, bool root = true)
    {
        if (e.kind == Expr::Kind::Binary && e.text == op && (root || !e.parenthesised)) {
            collectChain(*e.args[0], op, out, false);
            collectChain(*e.args[1], op, out, false);
        } else {
            out.push_back(&e);
        }
    }

    // Comparison operand pair: when neither side is a column (whose declared collation SQLite
    // would use), texts are compared with the JET collation.
    QString comparisonLeft(const Expr &left, Type leftType, const QString &leftText, const Expr &right, Type rightType)
    {
        if (!isColumn(left) && !isColumn(right) && (leftType == Type::Text || rightType == Type::Text))
            return leftText + QStringLiteral(" COLLATE JET");
        return leftText;
    }

    QString expr(const Expr &e, Type &type)
    {
        switch (e.kind) {
        case Expr::Kind::Number:
            type = Type::Number;
            return e.text.startsWith(u'.') ? u'0' + e.text : e.text;
        case Expr::Kind::String:
            type = Type::Text;
            return quoteString(e.text);
        case Expr::Kind::Null:
            type = Type::Null;
            return QStringLiteral("NULL");
        case Expr::Kind::Boolean:
            type = Type::Number;
            return e.text;
        case Expr::Kind::Parameter: {
            type = Type::Unknown;
            const QString name = e.text.toLower();
            if (!m_parameters.contains(name))
                m_parameters << name;
            return u':' + name;
        }
        case Expr::Kind::Column:
            type = Type::Unknown;
            if (m_listCore && e.qualifier.isEmpty() && m_aliasDepth < 16) {
                const auto &items = m_listCore->items;
                for (int j = 0; j < int(items.size()); ++j) {
                    if (j == m_listItem || items[size_t(j)].alias.compare(e.text, Qt::CaseInsensitive) != 0)
                        continue;
                    const int savedItem = m_listItem;
                    m_listItem = j;
                    ++m_aliasDepth;
                    const QString text = u'(' + expr(*items[size_t(j)].expr, type) + u')';
                    --m_aliasDepth;
                    m_listItem = savedItem;
                    return text;
                }
            }
            return e.qualifier.isEmpty() ? quoteName(e.text) : quoteName(e.qualifier) + u'.' + quoteName(e.text);
        case Expr::Kind::Star:
            fail(QStringLiteral("Znak '*' może wystąpić tylko w liście kolumn lub w funkcji Count(*)."));
        case Expr::Kind::Unary: {
            Type inner = Type::Unknown;
            const QString operand = expr(*e.args[0], inner);
            if (e.text == u"NOT") {
                type = Type::Boolean;
                return QStringLiteral("(NOT ") + operand + u')';
            }
            type = Type::Number;
            return e.text == u"-" ? QStringLiteral("(- ") + operand + u')' : operand;
        }
        case Expr::Kind::Binary:
            return binary(e, type);
        case Expr::Kind::Function:
            return function(e, type);
        case Expr::Kind::Like: {
            type = Type::Boolean;
            Type t1 = Type::Unknown, t2 = Type::Unknown;
            const QString a = expr(*e.args[0], t1);
            const QString b = expr(*e.args[1], t2);
            return u'(' + a + (e.negated ? QStringLiteral(" NOT LIKE ") : QStringLiteral(" LIKE ")) + b + u')';
        }
        case Expr::Kind::Between: {
            type = Type::Boolean;
            Type t0 = Type::Unknown, t1 = Type::Unknown, t2 = Type::Unknown;
            QString a = expr(*e.args[0], t0);
            const QString low = expr(*e.args[1], t1);
            const QString high = expr(*e.args[2], t2);
            if (!isColumn(*e.args[0]) && (t0 == Type::Text || t1 == Type::Text || t2 == Type::Text))
                a += QStringLiteral(" COLLATE JET");
            return u'(' + a + (e.negated ? QStringLiteral(" NOT BETWEEN ") : QStringLiteral(" BETWEEN ")) + low
                + QStringLiteral(" AND ") + high + u')';
        }
        case Expr::Kind::InList: {
            type = Type::Boolean;
            Type t0 = Type::Unknown;
            QString a = expr(*e.args[0], t0);
            QString list;
            bool anyText = t0 == Type::Text;
            for (size_t i = 1; i < e.args.size(); ++i) {
                Type t = Type::Unknown;
                if (i > 1)
                    list += QStringLiteral(", ");
                list += expr(*e.args[i], t);
                anyText = anyText || t == Type::Text;
            }
            if (!isColumn(*e.args[0]) && anyText)
                a += QStringLiteral(" COLLATE JET");
            // A column against many whole numbers: the numbers are a set. (A column of text
            // compares them as numbers then, "01" equal to 1; Jet refuses text against numbers.)
            if (m_setsAllowed && isColumn(*e.args[0])) {
                std::vector<qint64> values = wholeNumbers(e);
                if (!values.empty())
                    return u'(' + a + (e.negated ? QStringLiteral(" NOT IN ") : QStringLiteral(" IN ")) +
                           addSet(list, std::move(values)) + u')';
            }
            return u'(' + a + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN (")) + list + QStringLiteral("))");
        }
        case Expr::Kind::InSelect: {
            type = Type::Boolean;
            Type t0 = Type::Unknown;
            QString a = expr(*e.args[0], t0);
            if (!isColumn(*e.args[0]) && t0 == Type::Text)
                a += QStringLiteral(" COLLATE JET");
            if (m_setsAllowed && e.select->cores.size() == 1)
                return u'(' + a + (e.negated ? QStringLiteral(" NOT IN ") : QStringLiteral(" IN ")) +
                       addSet(selectText(*e.select), {}) + u')';
            return u'(' + a + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN (")) + selectText(*e.select)
                + QStringLiteral("))");
        }
        case Expr::Kind::IsNull: {
            type = Type::Boolean;
            Type t0 = Type::Unknown;
            return u'(' + expr(*e.args[0], t0) + (e.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
        }
        case Expr::Kind::Exists:
            type = Type::Boolean;
            return QStringLiteral("EXISTS (") + selectText(*e.select) + u')';
        case Expr::Kind::Subquery:
            type = Type::Unknown;
            return u'(' + selectText(*e.select) + u')';
        }
        return {};
    }

    QString binary(const Expr &e, Type &type)
    {
        const QString &op = e.text;
        if (op == u"&") {
            std::vector<const Expr *> parts;
            collectChain(e, op, parts);
            QString sql = QStringLiteral("jet_concat(");
            for (size_t i = 0; i < parts.size(); ++i) {
                Type t = Type::Unknown;
                if (i > 0)
                    sql += QStringLiteral(", ");
                sql += expr(*parts[i], t);
            }
            type = Type::Text;
            return sql + u')';
        }
        if (op == u"+") {
            std::vector<const Expr *> parts;
            collectChain(e, op, parts);
            QStringList texts;
            bool allNumbers = true, allTexts = true;
            for (const Expr *part : parts) {
                Type t = Type::Unknown;
                texts << expr(*part, t);
                allNumbers = allNumbers && (t == Type::Number || t == Type::Boolean);
                allTexts = allTexts && t == Type::Text;
            }
            if (allNumbers) {
                type = Type::Number;
                return u'(' + texts.join(QStringLiteral(" + ")) + u')';
            }
            if (allTexts) {
                type = Type::Text;
                return u'(' + texts.join(QStringLiteral(" || ")) + u')';
            }
            type = Type::Unknown;
            return QStringLiteral("jet_add(") + texts.join(QStringLiteral(", ")) + u')';
        }
        Type lt = Type::Unknown, rt = Type::Unknown;
        QString left = expr(*e.args[0], lt);
        const QString right = expr(*e.args[1], rt);
        if (op == u"AND" || op == u"OR") {
            type = Type::Boolean;
            return u'(' + left + u' ' + op + u' ' + right + u')';
        }
        if (op == u"XOR" || op == u"EQV" || op == u"IMP") {
            type = Type::Boolean;
            const QString a = u'(' + left + QStringLiteral(" <> 0)");
            const QString b = u'(' + right + QStringLiteral(" <> 0)");
            if (op == u"XOR")
                return u'(' + a + QStringLiteral(" <> ") + b + u')';
            if (op == u"EQV")
                return u'(' + a + QStringLiteral(" = ") + b + u')';
            return QStringLiteral("((NOT ") + a + QStringLiteral(") OR ") + b + u')';
        }
        if (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=") {
            type = Type::Boolean;
            left = comparisonLeft(*e.args[0], lt, left, *e.args[1], rt);
            return u'(' + left + u' ' + op + u' ' + right + u')';
        }
        type = Type::Number;
        if (op == u"-" || op == u"*")
            return u'(' + left + u' ' + op + u' ' + right + u')';
        if (op == u"/")
            return QStringLiteral("(CAST(") + left + QStringLiteral(" AS REAL) / ") + right + u')';
        if (op == u"\\")
            return QStringLiteral("jet_intdiv(") + left + QStringLiteral(", ") + right + u')';
        if (op == u"MOD")
            return QStringLiteral("jet_mod(") + left + QStringLiteral(", ") + right + u')';
        if (op == u"^")
            return QStringLiteral("jet_power(") + left + QStringLiteral(", ") + right + u')';
        fail(QStringLiteral("Nieobsługiwany operator '%1'.").arg(op));
    }

    QString function(const Expr &e, Type &type)
    {
        QString key = e.text.toLower();
        if (key.endsWith(u'$'))
            key.chop(1);
        const auto it = functions().constFind(key);
        if (it == functions().constEnd())
            fail(QStringLiteral("Niezdefiniowana funkcja '%1' w wyrażeniu.").arg(e.text));
        const FunctionSpec &fn = *it;
        const int argc = int(e.args.size());
        if (argc < fn.minArgs || argc > fn.maxArgs)
            fail(QStringLiteral("Nieprawidłowa liczba argumentów funkcji '%1' w wyrażeniu.").arg(e.text));
        using E = FunctionSpec::Emit;
        if (fn.how == E::Count) {
            type = Type::Number;
            if (e.args[0]->kind == Expr::Kind::Star)
                return QStringLiteral("count(*)");
            Type t = Type::Unknown;
            return QStringLiteral("count(") + expr(*e.args[0], t) + u')';
        }
        std::vector<QString> args;
        std::vector<Type> types;
        for (const ExprPtr &arg : e.args) {
            Type t = Type::Unknown;
            args.push_back(expr(*arg, t));
            types.push_back(t);
        }
        switch (fn.how) {
        case E::IIf: {
            const Type a = types[1], b = types[2];
            type = a == b ? a : a == Type::Null ? b : b == Type::Null ? a : Type::Unknown;
            return QStringLiteral("(CASE WHEN ") + args[0] + QStringLiteral(" THEN ") + args[1]
                + QStringLiteral(" ELSE ") + args[2] + QStringLiteral(" END)");
        }
        case E::IsNull:
            type = Type::Boolean;
            return u'(' + args[0] + QStringLiteral(" IS NULL)");
        case E::Nz:
            type = argc > 1 && types[0] == types[1] ? types[0] : Type::Unknown;
            return QStringLiteral("coalesce(") + args[0] + QStringLiteral(", ")
                + (argc > 1 ? args[1] : QStringLiteral("''")) + u')';
        case E::Aggregate:
        case E::Call:
        case E::Count:
            break;
        }
        type = fn.type == Type::Unknown ? types[0] : fn.type;
        QString sql = QString::fromLatin1(fn.sqlName) + u'(';
        for (size_t i = 0; i < args.size(); ++i) {
            if (i > 0)
                sql += QStringLiteral(", ");
            sql += args[i];
        }
        return sql + u')';
    }
};

} // namespace

TranslatedSql generateSqlite(const Select &select, bool setsAllowed)
{
    Generator generator(setsAllowed);
    return generator.run(select);
}

} // namespace katarix::jet::sql
