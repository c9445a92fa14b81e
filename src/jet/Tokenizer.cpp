#include "Tokenizer.h"

#include "JetError.h"

#include <QDateTime>

namespace katarix::jet::sql {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

[[noreturn]] void fail(const QString &source, int offset, const QString &what)
{
    throw JetError(QStringLiteral("Błąd składni w zapytaniu SQL: %1 %2").arg(what, describePosition(source, offset)));
}

// A Jet date literal: ISO (2008-01-15) or US (1/15/2008) date, optionally with a time; a time
// alone is on Jet's day zero, 1899-12-30.
QString dateLiteral(const QString &text, bool *ok)
{
    static const char *const dateFormats[] = {"yyyy-M-d", "M/d/yyyy"};
    static const char *const timeFormats[] = {"", " H:mm:ss", " H:mm"};
    const QString trimmed = text.simplified();
    for (const char *date : dateFormats) {
        for (const char *time : timeFormats) {
            const QDateTime dt = QDateTime::fromString(trimmed, QString::fromLatin1(date) + QString::fromLatin1(time));
            if (dt.isValid()) {
                *ok = true;
                return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            }
        }
    }
    for (const char *time : {"H:mm:ss", "H:mm"}) {
        const QTime t = QTime::fromString(trimmed, QString::fromLatin1(time));
        if (t.isValid()) {
            *ok = true;
            return QStringLiteral("1899-12-30 ") + t.toString(QStringLiteral("HH:mm:ss"));
        }
    }
    *ok = false;
    return {};
}

} // namespace

QString describePosition(const QString &source, int offset)
{
    offset = qBound(0, offset, int(source.size()));
    int line = 1;
    int lineStart = 0;
    for (int i = 0; i < offset; ++i) {
        if (source[i] == u'\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    int lineEnd = int(source.indexOf(u'\n', lineStart));
    if (lineEnd < 0)
        lineEnd = int(source.size());
    const int column = offset - lineStart + 1;
    // At most 40 characters either side of the place, marked with ">>".
    const int from = qMax(lineStart, offset - 40);
    const int to = qMin(lineEnd, offset + 40);
    QString before = source.mid(from, offset - from);
    QString after = source.mid(offset, to - offset);
    before.replace(u'\r', u' ');
    after.replace(u'\r', u' ');
    if (from > lineStart)
        before.prepend(QStringLiteral("…"));
    if (to < lineEnd)
        after.append(QStringLiteral("…"));
    return QStringLiteral("(wiersz %1, kolumna %2):\n%3 >> %4").arg(line).arg(column).arg(before, after);
}

std::vector<Token> tokenize(const QString &source)
{
    std::vector<Token> tokens;
    const int n = int(source.size());
    int i = 0;
    while (true) {
        while (i < n && source[i].isSpace())
            ++i;
        Token t;
        t.offset = i;
        if (i >= n) {
            t.kind = TokenKind::End;
            tokens.push_back(t);
            break;
        }
        const QChar c = source[i];
        if (isNameStart(c)) {
            int j = i + 1;
            while (j < n && isNameChar(source[j]))
                ++j;
            if (j < n && source[j] == u'$')
                ++j;
            t.kind = TokenKind::Identifier;
            t.text = source.mid(i, j - i);
            i = j;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && source[i + 1].isDigit())) {
            int j = i;
            while (j < n && source[j].isDigit())
                ++j;
            if (j < n && source[j] == u'.') {
                ++j;
                while (j < n && source[j].isDigit())
                    ++j;
            }
            if (j < n && (source[j] == u'e' || source[j] == u'E')) {
                int k = j + 1;
                if (k < n && (source[k] == u'+' || source[k] == u'-'))
                    ++k;
                if (k < n && source[k].isDigit()) {
                    while (k < n && source[k].isDigit())
                        ++k;
                    j = k;
                }
            }
            if (j < n && isNameStart(source[j]))
                fail(source, i, QStringLiteral("nieprawidłowa liczba"));
            t.kind = TokenKind::Number;
            t.text = source.mid(i, j - i);
            i = j;
        } else if (c == u'\'' || c == u'"') {
            QString value;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (source[j] == c) {
                    if (j + 1 < n && source[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += source[j++];
            }
            if (!closed)
                fail(source, i, QStringLiteral("niezakończony tekst w cudzysłowie"));
            t.kind = TokenKind::String;
            t.text = value;
            i = j;
        } else if (c == u'#') {
            const int close = int(source.indexOf(u'#', i + 1));
            bool ok = false;
            const QString value = close < 0 ? QString() : dateLiteral(source.mid(i + 1, close - i - 1), &ok);
            if (!ok)
                fail(source, i, QStringLiteral("nieprawidłowa data w znakach #"));
            t.kind = TokenKind::Date;
            t.text = value;
            i = close + 1;
        } else if (c == u'[') {
            const int close = int(source.indexOf(u']', i + 1));
            if (close < 0)
                fail(source, i, QStringLiteral("brak nawiasu zamykającego ']'"));
            t.kind = TokenKind::QuotedIdentifier;
            t.text = source.mid(i + 1, close - i - 1);
            if (t.text.trimmed().isEmpty())
                fail(source, i, QStringLiteral("pusta nazwa w nawiasach kwadratowych"));
            i = close + 1;
        } else if (c == u':' && i + 1 < n && (isNameStart(source[i + 1]) || source[i + 1].isDigit())) {
            int j = i + 1;
            while (j < n && isNameChar(source[j]))
                ++j;
            t.kind = TokenKind::Parameter;
            t.text = source.mid(i + 1, j - i - 1);
            i = j;
        } else {
            t.kind = TokenKind::Symbol;
            const QChar next = i + 1 < n ? source[i + 1] : QChar();
            if ((c == u'<' && (next == u'>' || next == u'=')) || (c == u'>' && next == u'=')) {
                t.text = source.mid(i, 2);
                i += 2;
            } else if (QStringView(u"(),.;*+-/\\&=<>^").contains(c)) {
                t.text = QString(c);
                ++i;
            } else {
                fail(source, i, QStringLiteral("niedozwolony znak '%1'").arg(c));
            }
        }
        t.length = i - t.offset;
        tokens.push_back(std::move(t));
    }
    return tokens;
}

} // namespace katarix::jet::sql
