#pragma once

#include <QString>
#include <vector>

namespace katarix::jet::sql {

enum class TokenKind {
    End,
    Identifier,        // name, keyword or function (a trailing '$' belongs to the name)
    QuotedIdentifier,  // [name]
    Number,
    String,            // '...' or "..." (Jet reads both as text)
    Parameter,         // :Name (text holds the name without the colon)
    Date,              // #...# date literal; text: 'yyyy-MM-dd HH:mm:ss', the form dates are stored in
    Symbol,            // ( ) , . ; * + - / \ & = <> < > <= >= ^
};

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;
    int offset = 0; // position in the source text
    int length = 0;

    bool isSymbol(QStringView s) const { return kind == TokenKind::Symbol && text == s; }
    bool isKeyword(QStringView word) const
    {
        return kind == TokenKind::Identifier && text.compare(word, Qt::CaseInsensitive) == 0;
    }
};

// Splits Jet SQL into tokens; throws JetError for an unterminated literal or a stray character.
std::vector<Token> tokenize(const QString &source);

// The Polish description of a place in the source: line, column and the line with a marker.
QString describePosition(const QString &source, int offset);

} // namespace katarix::jet::sql
