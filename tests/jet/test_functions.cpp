// Jet expression semantics over SQLite: + and &, Format$ masks, numbers as text under both
// decimal separators, text functions with Polish letters, LIKE, Chr$.

#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QVariant>

using namespace katarix::jet;

namespace {

// One row with the values the expressions use: NUL null, I 12, R 2.5, S 'abc', NS '7',
// E '' (empty, not null), PL 'łąka żółta', A 1234 m², A5 5 m².
class FunctionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.openInMemory();
        db.execNative(QStringLiteral(
            "CREATE TABLE w (nul INTEGER, i INTEGER, r REAL, s TEXT COLLATE JET, ns TEXT COLLATE JET,"
            " e TEXT COLLATE JET, pl TEXT COLLATE JET, a REAL, a5 REAL);"
            "INSERT INTO w VALUES (NULL, 12, 2.5, 'abc', '7', '', 'łąka żółta', 1234, 5);"));
    }

    // Value of a Jet expression over the row of w; throws JetError when SQLite fails.
    QVariant eval(const QString &expression)
    {
        const TranslatedSql &t = db.translate(QStringLiteral("SELECT ") + expression + QStringLiteral(" AS v FROM w"));
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = t.sql.toUtf8();
        if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw JetError(QString::fromUtf8(sqlite3_errmsg(db.handle())) + QStringLiteral(" in ") + t.sql);
        QVariant result;
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            switch (sqlite3_column_type(stmt, 0)) {
            case SQLITE_INTEGER:
                result = qlonglong(sqlite3_column_int64(stmt, 0));
                break;
            case SQLITE_FLOAT:
                result = sqlite3_column_double(stmt, 0);
                break;
            case SQLITE_TEXT:
                result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
                break;
            default:
                break;
            }
        }
        const QString error = QString::fromUtf8(sqlite3_errmsg(db.handle()));
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW)
            throw JetError(error);
        return result;
    }

    katarix::test::SeparatorGuard point{QChar(u'.')};
    Database db;
};

const QVariant Null;
QVariant text(const char *s) { return QString::fromUtf8(s); }
QVariant integer(qlonglong n) { return n; }

struct ExpressionCase {
    const char *expression;
    QVariant expected;
};

TEST_F(FunctionsTest, PlusAndAmpersandKeepJetNullAndTypeRules)
{
    const ExpressionCase cases[] = {
        {"s + nul", Null},
        {"nul + s", Null},
        {"'/' + Format$(nul)", Null},
        {"s + 'x' + s", text("abcxabc")},
        {"i + 3", integer(15)},
        {"i + ns", integer(19)},          // a number and a text that reads as a number add
        {"ns + ns", text("77")},          // two texts concatenate
        {"s & nul & 'x'", text("abcx")},  // & treats NULL as empty text
        {"nul & nul", text("")},
        {"i & '/' & r", text("12/2.5")},
        {"'a' & (' ' + nul) & (' ' + s)", text("a abc")},
        {"i / 5", 2.4},
        {"7 / 2", 3.5},                   // always floating point
        {"i / 0", Null},
        {"7 \\ 2", integer(3)},
        {"-7 Mod 3", integer(-1)},
        {"2 ^ 10", integer(1024)},
        {"-i + 2 * 3", integer(-6)},
        {"IIf(nul, 'yes', 'no')", text("no")},   // NULL is false
        {"IIf(-1, 'yes', 'no')", text("yes")},   // any non-zero is true
        {"IIf(IsNull(nul), 0, nul)", integer(0)},
        {"IIf(IsNull(e) or Len(e)=0, '', '-' + e)", text("")},
        {"Format$(i) + IIf(IsNull(e), '', '-' + e)", text("12-")}, // an empty text is not NULL
        {"Format$(i) + IIf(IsNull(nul), '', '-' + nul)", text("12")},
        {"Format$(i) + IIf(IsNull(s), '', '-' + s)", text("12-abc")},
        {"Nz(nul, 5)", integer(5)},
        {"True", integer(-1)},
        {"IsNull(nul)", integer(-1)},                 // conditions as values: True is -1
        {"i > 20 Or s = 'ABC'", integer(-1)},
        {"Not IsNull(nul)", integer(0)},
    };
    for (const ExpressionCase &c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expression)), c.expected) << c.expression;

    try {
        eval(QStringLiteral("i + s"));
        FAIL() << "a number plus a non-numeric text must fail";
    } catch (const JetError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Niezgodność typów"))) << e.message().toStdString();
    }
}

TEST_F(FunctionsTest, FormatMasksFillFromTheRightAndRoundHalfAwayFromZero)
{
    struct Case {
        const char *expression;
        const char *point;  // separator '.'
        const char *comma;  // separator ','
    };
    const Case cases[] = {
        {"Format$(20080115, '####-##-##')", "2008-01-15", "2008-01-15"},
        {"Format$(90305, '##:##:##')", "9:03:05", "9:03:05"},
        {"Format$(143005, '##:##:##')", "14:30:05", "14:30:05"},
        {"Format$(a/10000, '#########0.0000')", "0.1234", "0,1234"},
        {"Format$(a/10000, '#########0.00')", "0.12", "0,12"},
        {"Format$(a5/10000, '#########0.0000')", "0.0005", "0,0005"},
        {"Format$(a5/10000, '#########0.00')", "0.00", "0,00"},
        {"Format$(0, '#########0.0000')", "0.0000", "0,0000"},
        {"Format$(-1234.5, '#########0.00')", "-1234.50", "-1234,50"},
        {"Format$(0.125, '0.00')", "0.13", "0,13"},        // half away from zero
        {"Format$(-0.125, '0.00')", "-0.13", "-0,13"},
        {"Format$(1.005, '0.00')", "1.01", "1,01"},        // on the 15-digit decimal form
        {"Format$(9.996, '0.00')", "10.00", "10,00"},
        {"Format$(123456, '##:##')", "1234:56", "1234:56"}, // surplus digits all printed
        {"Format$(5, '000')", "005", "005"},
        {"Format$(1.5, '0.0#')", "1.5", "1,5"},
        {"Format$(85, 'Fixed')", "85.00", "85,00"},
        {"Format$(0.5, 'fixed')", "0.50", "0,50"},
        {"Format$(1234567.891, 'Standard')", "1,234,567.89", "1\u00A0234\u00A0567,89"},
        {"Format$(0.256, 'Percent')", "25.60%", "25,60%"},
        {"Format$(12)", "12", "12"},
        {"Format$(2.5)", "2.5", "2,5"},
        {"Format$(i / 4)", "3", "3"},
        {"Format$(1/3)", "0.333333333333333", "0,333333333333333"},
        {"Format$(0.1 + 0.2)", "0.3", "0,3"},
        {"Format$(9999999999)", "9999999999", "9999999999"},
        {"Format$(1E+20)", "1E+20", "1E+20"},
        {"Format$(0.00001)", "1E-05", "1E-05"},
        {"Format$(s, '####-##-##')", "abc", "abc"},        // a text is returned as it is
        {"Left$(Format$(19781231),4)", "1978", "1978"},
        {"Format$(ns, '000')", "007", "007"},
    };
    for (const Case &c : cases) {
        setDecimalSeparator(u'.');
        EXPECT_EQ(eval(QString::fromUtf8(c.expression)), text(c.point)) << c.expression;
        setDecimalSeparator(u',');
        EXPECT_EQ(eval(QString::fromUtf8(c.expression)), text(c.comma)) << c.expression << " (Polish)";
    }
    setDecimalSeparator(u'.');
    EXPECT_EQ(eval(QStringLiteral("Format$(nul, '####-##-##')")), Null);
    EXPECT_EQ(eval(QStringLiteral("Left$(nul, 4)")), Null);
    EXPECT_EQ(eval(QStringLiteral("Len(nul)")), Null);
}

TEST(NumberText, PrintsAndParsesWithTheRegionalSeparator)
{
    struct Case {
        double value;
        const char *point;
        const char *comma;
    };
    const Case cases[] = {
        {12.0, "12", "12"},
        {0.1234, "0.1234", "0,1234"},
        {-2.5, "-2.5", "-2,5"},
        {0.1 + 0.2, "0.3", "0,3"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"},
        {0.0001, "0.0001", "0,0001"},
        {1.5e-7, "1.5E-07", "1,5E-07"},
        {0.0, "0", "0"},
    };
    const katarix::test::SeparatorGuard restore(QChar(u'.'));
    for (const Case &c : cases) {
        for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
            setDecimalSeparator(separator);
            const QString expected = QString::fromUtf8(separator == u'.' ? c.point : c.comma);
            EXPECT_EQ(numberToText(c.value), expected) << c.value;
            bool ok = false;
            const double back = textToNumber(expected, &ok);
            EXPECT_TRUE(ok) << expected.toStdString();
            EXPECT_DOUBLE_EQ(back, c.value) << expected.toStdString();
        }
    }
    setDecimalSeparator(u',');
    bool ok = true;
    textToNumber(QStringLiteral("1.5"), &ok);
    EXPECT_FALSE(ok) << "the point is not the Polish separator";
    textToNumber(QStringLiteral("12a"), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(formatNumber(1234.0 / 10000, QStringLiteral("#########0.0000")), QStringLiteral("0,1234"));
}

TEST_F(FunctionsTest, TextFunctionsHandlePolishLettersAndWindows1250)
{
    const ExpressionCase cases[] = {
        {"UCase(pl)", text("ŁĄKA ŻÓŁTA")},
        {"LCase('ĄĆĘŁŃÓŚŹŻ Abc')", text("ąćęłńóśźż abc")},
        {"Len(pl)", integer(10)},
        {"Left(pl, 4)", text("łąka")},
        {"Left$(pl, 40)", text("łąka żółta")},
        {"Right(pl, 5)", text("żółta")},
        {"Mid(pl, 6, 3)", text("żół")},
        {"Trim('  x  ')", text("x")},
        {"Len(i)", integer(2)},
        {"Chr$(39)", text("'")},
        {"Chr$(13) & Chr$(10)", text("\r\n")},
        {"Chr$(163) & Chr$(185) & Chr$(191) & Chr$(140)", text("ŁążŚ")},
        {"Asc('ł')", integer(179)},
        {"'O' + Chr$(39) + 'Brien'", text("O'Brien")},
        {"InStr(pl, 'ŻÓŁ')", integer(6)},
        {"Val(' 12.5abc')", 12.5},
        {"CLng(2.5)", integer(2)},
        {"CLng(3.5)", integer(4)},
        {"Int(-2.5)", integer(-3)},
        {"Fix(-2.5)", integer(-2)},
        {"Str(12)", text(" 12")},
        {"CStr(r)", text("2.5")},
        {"\"double quoted\" & 'x'", text("double quotedx")},
        {"#2008-01-15#", text("2008-01-15 00:00:00")},   // dates are stored as this text
        {"#1/15/2008 14:30#", text("2008-01-15 14:30:00")},
    };
    for (const ExpressionCase &c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expression)), c.expected) << c.expression;
}

TEST_F(FunctionsTest, LikeIsCaseInsensitiveWithPolishLetters)
{
    const struct {
        const char *expression;
        bool expected;
    } cases[] = {
        {"pl LIKE 'Ł%'", 1},
        {"pl LIKE 'ŁĄKA ŻÓŁTA'", 1},
        {"pl LIKE 'lak%'", 0},          // ł is not l
        {"pl LIKE '%ŻÓŁ%'", 1},
        {"pl LIKE '_ąka%'", 1},
        {"pl LIKE '[ł-ż]%'", 1},
        {"pl LIKE '[!ł]%'", 0},
        {"UCase(s) LIKE 'ABC'", 1},
        {"s LIKE 'a%c'", 1},
        {"s LIKE 'a%b'", 0},
        {"s NOT LIKE 'x%'", 1},
        {"i LIKE '1%'", 1},
        {"IIf(nul LIKE '%', 1, 0)", 0},
        {"s = 'ABC'", 1},     // text columns compare without case
        {"UCase(s) = 'abc'", 1},
        {"'Łąka' = 'łĄKA'", 1},
        {"'a' < 'ą' and 'ą' < 'b' and 'l' < 'ł' and 'ł' < 'm' and 'z' < 'ź' and 'ź' < 'ż'", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expression)), QVariant(c.expected ? -1LL : 0LL)) << c.expression;
}

TEST(JetTextOrder, PolishAlphabetWithoutRegardToCase)
{
    const char *ordered[] = {"", " ", "1", "9", "a", "A", "ą", "Ąb", "b", "c", "ć", "e", "é", "ę", "l", "ł",
                             "Łódź", "n", "ń", "o", "ó", "s", "ś", "z", "ź", "ż", "Żaba"};
    const int n = int(sizeof ordered / sizeof ordered[0]);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const QString a = QString::fromUtf8(ordered[i]);
            const QString b = QString::fromUtf8(ordered[j]);
            const int cmp = compareJetText(a, b);
            const bool sameLetterOtherCase = a.compare(b, Qt::CaseInsensitive) == 0;
            if (sameLetterOtherCase) {
                EXPECT_EQ(cmp, 0) << ordered[i] << " vs " << ordered[j];
            } else if (i < j) {
                EXPECT_LT(cmp, 0) << ordered[i] << " vs " << ordered[j];
            } else if (i > j) {
                EXPECT_GT(cmp, 0) << ordered[i] << " vs " << ordered[j];
            }
        }
    }
}

} // namespace
