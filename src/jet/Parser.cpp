#include "Parser.h"

#include "JetError.h"

#include <QSet>

namespace katarix::jet::sql {

namespace {

const QSet<QString> &reservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),     QStringLiteral("WHERE"),
        QStringLiteral("GROUP"),  QStringLiteral("BY"),       QStringLiteral("HAVING"),
        QStringLiteral("ORDER"),  QStringLiteral("UNION"),    QStringLiteral("ALL"),
        QStringLiteral("AS"),     QStringLiteral("ON"),       QStringLiteral("JOIN"),
        QStringLiteral("LEFT"),   QStringLiteral("RIGHT"),    QStringLiteral("INNER"),
        QStringLiteral("OUTER"),  QStringLiteral("AND"),      QStringLiteral("OR"),
        QStringLiteral("NOT"),    QStringLiteral("XOR"),      QStringLiteral("EQV"),
        QStringLiteral("IMP"),    QStringLiteral("LIKE"),     QStringLiteral("BETWEEN"),
        QStringLiteral("IN"),     QStringLiteral("IS"),       QStringLiteral("NULL"),
        QStringLiteral("TRUE"),   QStringLiteral("FALSE"),    QStringLiteral("DISTINCT"),
        QStringLiteral("DISTINCTROW"), QStringLiteral("TOP"), QStringLiteral("MOD"),
        QStringLiteral("ASC"),    QStringLiteral("DESC"),     QStringLiteral("EXISTS"),
        QStringLiteral("INTO"),   QStringLiteral("PERCENT"),
    };
    return words;
}

class Parser {
public:
    explicit Parser(const QString &source) : m_source(source), m_tokens(tokenize(source)) {}

    SelectPtr statement()
    {
        SelectPtr select = compound();
        while (peek().isSymbol(u";"))
            advance();
        if (peek().kind != TokenKind::End)
            fail(QStringLiteral("nieoczekiwany tekst po końcu instrukcji"));
        return select;
    }

private:
    const QString &m_source;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;

    const Token &peek(size_t ahead = 0) const
    {
        const size_t i = m_pos + ahead;
        return i < m_tokens.size() ? m_tokens[i] : m_tokens.back();
    }
    const Token &advance()
    {
        const Token &t = m_tokens[m_pos];
        if (m_pos + 1 < m_tokens.size())
            ++m_pos;
        return t;
    }
    bool acceptKeyword(QStringView word)
    {
        if (peek().isKeyword(word)) {
            advance();
            return true;
        }
        return false;
    }
    bool acceptSymbol(QStringView symbol)
    {
        if (peek().isSymbol(symbol)) {
            advance();
            return true;
        }
        return false;
    }
    [[noreturn]] void fail(const QString &what) const { failAt(peek().offset, what); }
    [[noreturn]] void failAt(int offset, const QString &what) const
    {
        throw JetError(QStringLiteral("Błąd składni w zapytaniu SQL: %1 %2")
                           .arg(what, describePosition(m_source, offset)));
    }
    QString describeCurrent() const
    {
        const Token &t = peek();
        if (t.kind == TokenKind::End)
            return QStringLiteral("koniec tekstu");
        return QStringLiteral("'%1'").arg(m_source.mid(t.offset, t.length));
    }
    void expectSymbol(QStringView symbol)
    {
        if (!acceptSymbol(symbol))
            fail(QStringLiteral("oczekiwano '%1', a jest %2").arg(symbol.toString(), describeCurrent()));
    }
    void expectKeyword(QStringView word)
    {
        if (!acceptKeyword(word))
            fail(QStringLiteral("oczekiwano %1, a jest %2").arg(word.toString(), describeCurrent()));
    }
    static bool isReserved(const Token &t)
    {
        return t.kind == TokenKind::Identifier && reservedWords().contains(t.text.toUpper());
    }
    bool atName() const
    {
        const Token &t = peek();
        return t.kind == TokenKind::QuotedIdentifier || (t.kind == TokenKind::Identifier && !isReserved(t));
    }
    QString name(const QString &what)
    {
        if (!atName())
            fail(QStringLiteral("oczekiwano %1, a jest %2").arg(what, describeCurrent()));
        return advance().text;
    }
    bool atSelect() const { return peek().isKeyword(u"SELECT"); }

    // --- statements ---------------------------------------------------------------------

    SelectPtr compound()
    {
        auto select = std::make_unique<Select>();
        select->cores.push_back(coreOrParenthesised());
        while (true) {
            size_t save = m_pos;
            while (peek().isSymbol(u";"))
                advance();
            if (!acceptKeyword(u"UNION")) {
                m_pos = save;
                break;
            }
            select->unionAll.push_back(acceptKeyword(u"ALL"));
            select->cores.push_back(coreOrParenthesised());
        }
        if (acceptKeyword(u"ORDER")) {
            expectKeyword(u"BY");
            do {
                OrderItem item;
                item.expr = expression();
                if (acceptKeyword(u"DESC"))
                    item.descending = true;
                else
                    acceptKeyword(u"ASC");
                select->orderBy.push_back(std::move(item));
            } while (acceptSymbol(u","));
        }
        return select;
    }

    SelectCore coreOrParenthesised()
    {
        if (peek().isSymbol(u"(") && peek(1).isKeyword(u"SELECT")) {
            const int offset = peek().offset;
            advance();
            SelectPtr inner = compound();
            expectSymbol(u")");
            if (inner->cores.size() != 1 || !inner->orderBy.empty())
                failAt(offset, QStringLiteral("zagnieżdżona instrukcja UNION lub ORDER BY w nawiasach nie jest obsługiwana"));
            return std::move(inner->cores.front());
        }
        return core();
    }

    SelectCore core()
    {
        if (!atSelect())
            fail(QStringLiteral("oczekiwano SELECT, a jest %1").arg(describeCurrent()));
        advance();
        SelectCore c;
        if (acceptKeyword(u"DISTINCT"))
            c.distinct = true;
        else if (!acceptKeyword(u"DISTINCTROW"))
            acceptKeyword(u"ALL");
        if (acceptKeyword(u"TOP")) {
            if (peek().kind != TokenKind::Number)
                fail(QStringLiteral("oczekiwano liczby po TOP, a jest %1").arg(describeCurrent()));
            bool ok = false;
            const qint64 n = advance().text.toLongLong(&ok);
            if (!ok || n < 0)
                fail(QStringLiteral("liczba po TOP musi być całkowita"));
            if (peek().isKeyword(u"PERCENT"))
                fail(QStringLiteral("TOP ... PERCENT nie jest obsługiwane"));
            c.top = n;
        }
        do {
            c.items.push_back(selectItem());
        } while (acceptSymbol(u","));
        if (peek().isKeyword(u"INTO"))
            fail(QStringLiteral("SELECT ... INTO nie jest dozwolone"));
        if (acceptKeyword(u"FROM")) {
            do {
                c.from.push_back(joinChain());
            } while (acceptSymbol(u","));
        }
        if (acceptKeyword(u"WHERE"))
            c.where = expression();
        if (acceptKeyword(u"GROUP")) {
            expectKeyword(u"BY");
            do {
                c.groupBy.push_back(expression());
            } while (acceptSymbol(u","));
        }
        if (acceptKeyword(u"HAVING"))
            c.having = expression();
        return c;
    }

    SelectItem selectItem()
    {
        SelectItem item;
        const Token &t = peek();
        if (t.isSymbol(u"*")) {
            item.expr = std::make_unique<Expr>();
            item.expr->kind = Expr::Kind::Star;
            item.expr->offset = t.offset;
            advance();
            return item;
        }
        item.expr = expression();
        if (acceptKeyword(u"AS"))
            item.alias = peek().kind == TokenKind::String ? advance().text : name(QStringLiteral("nazwy kolumny po AS"));
        else if (atName())
            item.alias = advance().text;
        return item;
    }

    TableRefPtr joinChain()
    {
        TableRefPtr left = tablePrimary();
        while (true) {
            TableRef::JoinType type;
            const Token &t = peek();
            if (t.isKeyword(u"INNER")) {
                advance();
                type = TableRef::JoinType::Inner;
            } else if (t.isKeyword(u"LEFT") || t.isKeyword(u"RIGHT")) {
                advance();
                type = t.isKeyword(u"LEFT") ? TableRef::JoinType::Left : TableRef::JoinType::Right;
                acceptKeyword(u"OUTER");
            } else if (t.isKeyword(u"JOIN")) {
                type = TableRef::JoinType::Inner;
            } else {
                break;
            }
            expectKeyword(u"JOIN");
            auto join = std::make_unique<TableRef>();
            join->kind = TableRef::Kind::Join;
            join->joinType = type;
            join->left = std::move(left);
            join->right = tablePrimary();
            expectKeyword(u"ON");
            join->on = expression();
            left = std::move(join);
        }
        return left;
    }

    TableRefPtr tablePrimary()
    {
        if (acceptSymbol(u"(")) {
            if (atSelect()) {
                auto ref = std::make_unique<TableRef>();
                ref->kind = TableRef::Kind::Subquery;
                ref->subquery = compound();
                expectSymbol(u")");
                ref->alias = alias();
                return ref;
            }
            TableRefPtr inner = joinChain();
            expectSymbol(u")");
            return inner;
        }
        auto ref = std::make_unique<TableRef>();
        ref->kind = TableRef::Kind::Table;
        ref->name = name(QStringLiteral("nazwy tabeli"));
        ref->alias = alias();
        return ref;
    }

    QString alias()
    {
        if (acceptKeyword(u"AS"))
            return name(QStringLiteral("aliasu po AS"));
        if (atName())
            return advance().text;
        return {};
    }

    // --- expressions ----------------------------------------------------------------------

    ExprPtr node(Expr::Kind kind, int offset, QString text = {})
    {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->offset = offset;
        e->text = std::move(text);
        return e;
    }
    ExprPtr binary(QString op, ExprPtr left, ExprPtr right)
    {
        auto e = node(Expr::Kind::Binary, left->offset, std::move(op));
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return e;
    }

    ExprPtr expression() { return logical(0); }

    // IMP < EQV < XOR < OR < AND, then NOT.
    ExprPtr logical(int level)
    {
        static const QStringView ops[] = {u"IMP", u"EQV", u"XOR", u"OR", u"AND"};
        if (level == 5)
            return negation();
        ExprPtr left = logical(level + 1);
        while (peek().isKeyword(ops[level])) {
            advance();
            left = binary(ops[level].toString(), std::move(left), logical(level + 1));
        }
        return left;
    }

    ExprPtr negation()
    {
        if (peek().isKeyword(u"NOT")) {
            const int offset = advance().offset;
            auto e = node(Expr::Kind::Unary, offset, QStringLiteral("NOT"));
            e->args.push_back(negation());
            return e;
        }
        return comparison();
    }

    ExprPtr comparison()
    {
        ExprPtr left = concatenation();
        while (true) {
            const Token &t = peek();
            if (t.kind == TokenKind::Symbol
                && (t.text == u"=" || t.text == u"<>" || t.text == u"<" || t.text == u">" || t.text == u"<="
                    || t.text == u">=")) {
                const QString op = advance().text;
                left = binary(op, std::move(left), concatenation());
                continue;
            }
            bool negated = false;
            if (t.isKeyword(u"NOT") && (peek(1).isKeyword(u"LIKE") || peek(1).isKeyword(u"BETWEEN")
                                        || peek(1).isKeyword(u"IN"))) {
                advance();
                negated = true;
            }
            if (acceptKeyword(u"LIKE")) {
                auto e = node(Expr::Kind::Like, left->offset);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(concatenation());
                left = std::move(e);
            } else if (acceptKeyword(u"BETWEEN")) {
                auto e = node(Expr::Kind::Between, left->offset);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(concatenation());
                expectKeyword(u"AND");
                e->args.push_back(concatenation());
                left = std::move(e);
            } else if (acceptKeyword(u"IN")) {
                expectSymbol(u"(");
                auto e = node(Expr::Kind::InList, left->offset);
                e->negated = negated;
                e->args.push_back(std::move(left));
                if (atSelect()) {
                    e->kind = Expr::Kind::InSelect;
                    e->select = compound();
                } else if (peek().isSymbol(u")")) {
                    fail(QStringLiteral("pusta lista IN ()"));
                } else {
                    do {
                        e->args.push_back(expression());
                    } while (acceptSymbol(u","));
                }
                expectSymbol(u")");
                left = std::move(e);
            } else if (!negated && acceptKeyword(u"IS")) {
                auto e = node(Expr::Kind::IsNull, left->offset);
                e->negated = acceptKeyword(u"NOT");
                expectKeyword(u"NULL");
                e->args.push_back(std::move(left));
                left = std::move(e);
            } else {
                break;
            }
        }
        return left;
    }

    ExprPtr concatenation()
    {
        ExprPtr left = additive();
        while (acceptSymbol(u"&"))
            left = binary(QStringLiteral("&"), std::move(left), additive());
        return left;
    }

    ExprPtr additive()
    {
        ExprPtr left = modulo();
        while (peek().isSymbol(u"+") || peek().isSymbol(u"-")) {
            const QString op = advance().text;
            left = binary(op, std::move(left), modulo());
        }
        return left;
    }

    ExprPtr modulo()
    {
        ExprPtr left = integerDivision();
        while (acceptKeyword(u"MOD"))
            left = binary(QStringLiteral("MOD"), std::move(left), integerDivision());
        return left;
    }

    ExprPtr integerDivision()
    {
        ExprPtr left = multiplicative();
        while (acceptSymbol(u"\\"))
            left = binary(QStringLiteral("\\"), std::move(left), multiplicative());
        return left;
    }

    ExprPtr multiplicative()
    {
        ExprPtr left = unary();
        while (peek().isSymbol(u"*") || peek().isSymbol(u"/")) {
            const QString op = advance().text;
            left = binary(op, std::move(left), unary());
        }
        return left;
    }

    ExprPtr unary()
    {
        if (peek().isSymbol(u"-") || peek().isSymbol(u"+")) {
            const Token &t = advance();
            auto e = node(Expr::Kind::Unary, t.offset, t.text);
            e->args.push_back(unary());
            return e;
        }
        return power();
    }

    ExprPtr power()
    {
        ExprPtr left = primary();
        while (acceptSymbol(u"^"))
            left = binary(QStringLiteral("^"), std::move(left), primary());
        return left;
    }

    ExprPtr primary()
    {
        const Token &t = peek();
        switch (t.kind) {
        case TokenKind::Number:
            advance();
            return node(Expr::Kind::Number, t.offset, t.text);
        case TokenKind::String:
        case TokenKind::Date:
            advance();
            return node(Expr::Kind::String, t.offset, t.text);
        case TokenKind::Parameter:
            advance();
            return node(Expr::Kind::Parameter, t.offset, t.text);
        case TokenKind::Symbol:
            if (t.isSymbol(u"(")) {
                advance();
                if (atSelect()) {
                    auto e = node(Expr::Kind::Subquery, t.offset);
                    e->select = compound();
                    expectSymbol(u")");
                    return e;
                }
                ExprPtr inner = expression();
                expectSymbol(u")");
                inner->parenthesised = true;
                return inner;
            }
            break;
        case TokenKind::Identifier:
            if (t.isKeyword(u"NULL")) {
                advance();
                return node(Expr::Kind::Null, t.offset);
            }
            if (t.isKeyword(u"TRUE") || t.isKeyword(u"FALSE")) {
                advance();
                return node(Expr::Kind::Boolean, t.offset, t.isKeyword(u"TRUE") ? QStringLiteral("-1") : QStringLiteral("0"));
            }
            if (t.isKeyword(u"EXISTS")) {
                advance();
                expectSymbol(u"(");
                auto e = node(Expr::Kind::Exists, t.offset);
                e->select = compound();
                expectSymbol(u")");
                return e;
            }
            if (peek(1).isSymbol(u"(")) {
                // Function call; LEFT and RIGHT are keywords but also functions.
                advance();
                advance();
                auto e = node(Expr::Kind::Function, t.offset, t.text);
                if (!acceptSymbol(u")")) {
                    do {
                        if (peek().isSymbol(u"*")) {
                            e->args.push_back(node(Expr::Kind::Star, advance().offset));
                        } else {
                            e->args.push_back(expression());
                        }
                    } while (acceptSymbol(u","));
                    expectSymbol(u")");
                }
                return e;
            }
            if (isReserved(t))
                break;
            [[fallthrough]];
        case TokenKind::QuotedIdentifier: {
            advance();
            if (peek().isSymbol(u".")) {
                advance();
                if (peek().isSymbol(u"*")) {
                    advance();
                    auto e = node(Expr::Kind::Star, t.offset);
                    e->qualifier = t.text;
                    return e;
                }
                // After the dot any word is a column name, keywords included.
                if (peek().kind != TokenKind::Identifier && peek().kind != TokenKind::QuotedIdentifier)
                    fail(QStringLiteral("oczekiwano nazwy kolumny po kropce, a jest %1").arg(describeCurrent()));
                auto e = node(Expr::Kind::Column, t.offset, advance().text);
                e->qualifier = t.text;
                return e;
            }
            return node(Expr::Kind::Column, t.offset, t.text);
        }
        case TokenKind::End:
            break;
        }
        fail(QStringLiteral("oczekiwano wyrażenia, a jest %1").arg(describeCurrent()));
    }
};

} // namespace

SelectPtr parseSelect(const QString &source)
{
    Parser parser(source);
    return parser.statement();
}

} // namespace katarix::jet::sql
