// Every message in the guide's tables of messages (docs/podrecznik/08-komunikaty.md) is one the
// program can show: its text, with "…" for a variable part and line breaks read as spaces, is made
// of the program's own string literals (src/**/*.cpp, *.h, *.ui), and so is its caption.
#include "support/Podrecznik.h"
#include "support/QtPrinters.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <functional>

using namespace katarix;

namespace {

const QChar Wielokropek(0x2026);

// Runs of white space (line breaks included) as one space; "%1" … "%9" as the variable mark.
QString znormalizuj(QString text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    text.replace(placeholder, QString(Wielokropek));
    text.replace(space, QStringLiteral(" "));
    return text;
}

QString odkodujEscape(const QString &body)
{
    QString text;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != QLatin1Char('\\') || i + 1 >= body.size()) {
            text += body[i];
            continue;
        }
        const QChar next = body[++i];
        switch (next.unicode()) {
        case 'n': text += QLatin1Char('\n'); break;
        case 't': text += QLatin1Char('\t'); break;
        case 'r': text += QLatin1Char('\r'); break;
        default: text += next; break;
        }
    }
    return text;
}

// The string literals of one C++ file; literals that follow each other with only white space or
// comments between them are one literal, as the compiler joins them.
QStringList literalyCpp(const QString &source)
{
    QStringList literals;
    QString current;
    bool joining = false;
    const qsizetype n = source.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = source[i];
        if (c == QLatin1Char('/') && i + 1 < n && source[i + 1] == QLatin1Char('/')) {
            while (i < n && source[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && source[i + 1] == QLatin1Char('*')) {
            const qsizetype end = source.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char('\'')) {
            ++i;
            while (i < n && source[i] != QLatin1Char('\'')) {
                if (source[i] == QLatin1Char('\\'))
                    ++i;
                ++i;
            }
            ++i;
            if (joining)
                literals << current;
            joining = false;
        } else if (c == QLatin1Char('R') && i + 1 < n && source[i + 1] == QLatin1Char('"')) {
            const qsizetype open = source.indexOf(QLatin1Char('('), i + 2);
            const QString delimiter = QLatin1Char(')') + source.mid(i + 2, open - i - 2) + QLatin1Char('"');
            const qsizetype close = source.indexOf(delimiter, open);
            const QString body = source.mid(open + 1, close - open - 1);
            current = joining ? current + body : body;
            joining = true;
            i = close + delimiter.size();
        } else if (c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            while (j < n && source[j] != QLatin1Char('"')) {
                if (source[j] == QLatin1Char('\\'))
                    ++j;
                ++j;
            }
            const QString body = odkodujEscape(source.mid(i + 1, j - i - 1));
            current = joining ? current + body : body;
            joining = true;
            i = j + 1;
        } else {
            if (!c.isSpace() && joining) {
                // A prefix such as u8 or L belongs to the next literal; anything else ends this one.
                literals << current;
                joining = false;
            }
            ++i;
        }
    }
    if (joining)
        literals << current;
    return literals;
}

QStringList literalyUi(const QString &form)
{
    static const QRegularExpression text(QStringLiteral("<string[^>]*>([^<]*)</string>"));
    QStringList literals;
    for (auto it = text.globalMatch(form); it.hasNext();) {
        QString value = it.next().captured(1);
        value.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        literals << value;
    }
    return literals;
}

// Every text the program's source spells out, normalised.
const QStringList &literalyProgramu()
{
    static const QStringList literals = [] {
        QSet<QString> found;
        QDirIterator it(QStringLiteral(KATARIX_SOURCE_DIR "/src"), {"*.cpp", "*.h", "*.ui"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString content = QString::fromUtf8(file.readAll());
            for (const QString &literal : path.endsWith(QLatin1String(".ui")) ? literalyUi(content) : literalyCpp(content))
                found.insert(znormalizuj(literal));
        }
        found.remove(QString());
        return QStringList(found.begin(), found.end());
    }();
    return literals;
}

// Where a piece may begin and end within a literal: anywhere next to a variable part of the
// message, else only where the literal (or a variable part of it) begins or ends.
struct Kawalek {
    QString tekst;
    bool odPoczatku = true; // the message's own start, not a variable part, comes before it
    bool doKonca = true;    // the message's own end comes after it
};

bool poczatekWolno(const QString &literal, qsizetype at, bool anchored)
{
    return !anchored || at == 0 || literal[at - 1] == Wielokropek;
}

bool koniecWolno(const QString &literal, qsizetype end, bool anchored)
{
    return !anchored || end == literal.size() || literal[end] == Wielokropek;
}

// A piece of a message is one literal's text, or the end of one literal, whole literals and the
// start of another (the program joins texts with +).
bool zlozonyZLiteralow(const Kawalek &piece, const QStringList &literals)
{
    const QString &text = piece.tekst;
    for (const QString &literal : literals)
        for (qsizetype at = literal.indexOf(text); at >= 0; at = literal.indexOf(text, at + 1))
            if (poczatekWolno(literal, at, piece.odPoczatku) && koniecWolno(literal, at + text.size(), piece.doKonca))
                return true;
    QHash<qsizetype, bool> memo;
    std::function<bool(qsizetype)> reszta = [&](qsizetype pos) -> bool {
        if (pos == text.size())
            return true;
        if (auto it = memo.find(pos); it != memo.end())
            return *it;
        bool ok = false;
        const QStringView rest = QStringView(text).mid(pos);
        for (const QString &literal : literals) {
            if ((literal.startsWith(rest) && koniecWolno(literal, rest.size(), piece.doKonca)) ||
                (!literal.isEmpty() && rest.startsWith(literal) && reszta(pos + literal.size()))) {
                ok = true;
                break;
            }
        }
        memo.insert(pos, ok);
        return ok;
    };
    for (qsizetype head = 1; head < text.size(); ++head) {
        const QStringView start = QStringView(text).left(head);
        for (const QString &literal : literals)
            if (literal.endsWith(start) && poczatekWolno(literal, literal.size() - head, piece.odPoczatku) &&
                reszta(head))
                return true;
    }
    return false;
}

// The pieces of a message that the program must spell: the text around each "…", without the
// pieces that carry no word.
QList<Kawalek> kawalkiKomunikatu(const QString &message)
{
    static const QRegularExpression word(QStringLiteral("\\w{2,}"));
    const QStringList parts = znormalizuj(message).split(Wielokropek);
    QList<Kawalek> pieces;
    for (qsizetype i = 0; i < parts.size(); ++i)
        if (word.match(parts[i]).hasMatch())
            pieces.append({parts[i], i == 0, i == parts.size() - 1});
    return pieces;
}

// The pieces the literals do not give; empty when the message is the program's.
QStringList brakujace(const QString &message, const QStringList &literals)
{
    QStringList missing;
    for (const Kawalek &piece : kawalkiKomunikatu(message))
        if (!zlozonyZLiteralow(piece, literals))
            missing << piece.tekst;
    return missing;
}

TEST(KomunikatyPodrecznika, TheCheckFindsComposedMessagesAndRefusesAltered)
{
    const QStringList literals = {znormalizuj(QStringLiteral("Plik bazy danych: ")),
                                  znormalizuj(QStringLiteral(" jest tylko do odczytu.\nZmień właściwości.")),
                                  znormalizuj(QStringLiteral("Nie można uruchomić edytora RTF:\n")),
                                  znormalizuj(QStringLiteral("Niewłaściwa ścieżka lub nazwa pliku.")),
                                  znormalizuj(QStringLiteral("Ekran (%1x%2).\nZaleca się 800x600."))};
    const struct {
        const char *message;
        bool program;
    } cases[] = {
        {"Plik bazy danych: … jest tylko do odczytu. Zmień właściwości.", true},
        {"Nie można uruchomić edytora RTF: Niewłaściwa ścieżka lub nazwa pliku.", true},
        {"Ekran (…x…). Zaleca się 800x600.", true},
        {"Nie można uruchomić edytora RTF: Niewłaściwa ścieżka", false}, // cut short
        {"bazy danych: … jest tylko do odczytu. Zmień właściwości.", false},    // its start left out
        {"Nie mozna uruchomić edytora RTF: Niewłaściwa ścieżka lub nazwa pliku.", false},
        {"Plik bazy danych: … jest tylko do odczytu. Zmień ustawienia.", false},
        {"Niewłaściwa ścieżka lub nazwa pliku. Nie można uruchomić edytora RTF:", false},
        {"Ekran (…x…). Zaleca się 1024x768.", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(brakujace(QString::fromUtf8(c.message), literals).isEmpty(), c.program);
    }
}

TEST(KomunikatyPodrecznika, EveryMessageAndCaptionOfTheGuideIsTheProgramsOwn)
{
    const QString page = test::stronaPodrecznika(QStringLiteral("08-komunikaty.md"));
    ASSERT_FALSE(page.isEmpty());
    const std::vector<test::TabelaMarkdown> tables = test::tabeleMarkdown(page);
    ASSERT_GE(tables.size(), 3u);
    const QStringList &literals = literalyProgramu();
    ASSERT_GT(literals.size(), 500);

    int checked = 0;
    for (const test::TabelaMarkdown &table : tables) {
        ASSERT_GE(table.naglowek.size(), 2);
        ASSERT_EQ(table.naglowek[0], QStringLiteral("Komunikat"));
        ASSERT_EQ(table.naglowek[1], QStringLiteral("Tytuł okienka"));
        for (const QStringList &row : table.wiersze) {
            const QString &message = row.value(0);
            const QString &caption = row.value(1);
            SCOPED_TRACE(message.toStdString());
            EXPECT_FALSE(kawalkiKomunikatu(message).isEmpty()) << "a message with no text of its own";
            EXPECT_EQ(brakujace(message, literals), QStringList()) << "text the program never shows";
            // "Katarix" is the application title the program gives message boxes without a caption.
            if (caption != QLatin1String("Katarix")) {
                EXPECT_TRUE(literals.contains(znormalizuj(caption))) << "caption: " << caption.toStdString();
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 30);
}

} // namespace
