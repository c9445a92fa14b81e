// The Jet functions and the JET collation as SQLite user functions.
#include "JetFunctions.h"
#include "JetText.h"
#include "Utf8.h"
#include "Windows1250.h"

#include "JetError.h"

#include <QString>

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace katarix::jet {

namespace {

using text::decodeUtf8;
using text::foldCase;
using text::likeMatch;

const char *const kTypeMismatch = "Niezgodność typów w wyrażeniu.";
const char *const kInvalidCall = "Nieprawidłowe wywołanie procedury lub nieprawidłowy argument.";


// A value read as Jet reads it: NULL, a number (integer or double) or a text (UTF-8 bytes).
struct Value {
    enum Kind { Null, Integer, Real, Text } kind = Null;
    sqlite3_int64 integer = 0;
    double real = 0;
    const char *text = nullptr;
    int length = 0;

    static Value of(sqlite3_value *v)
    {
        Value r;
        switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            r.kind = Integer;
            r.integer = sqlite3_value_int64(v);
            break;
        case SQLITE_FLOAT:
            r.kind = Real;
            r.real = sqlite3_value_double(v);
            break;
        default:
            r.kind = Text;
            r.text = reinterpret_cast<const char *>(sqlite3_value_text(v));
            r.length = sqlite3_value_bytes(v);
            if (!r.text) {
                r.text = "";
                r.length = 0;
            }
        }
        return r;
    }
    bool isNumber() const { return kind == Integer || kind == Real; }
    double number() const { return kind == Integer ? double(integer) : real; }
};

void appendValueText(std::string &out, const Value &v)
{
    switch (v.kind) {
    case Value::Null:
        break;
    case Value::Integer:
        text::appendInteger(out, v.integer);
        break;
    case Value::Real:
        text::appendNumber(out, v.real);
        break;
    case Value::Text:
        out.append(v.text, size_t(v.length));
        break;
    }
}

void resultText(sqlite3_context *ctx, const std::string &s)
{
    sqlite3_result_text64(ctx, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// The UTF-8 bytes from `from` up to `to` as the text result.
void resultText(sqlite3_context *ctx, const char *from, const char *to)
{
    sqlite3_result_text64(ctx, from, sqlite3_uint64(to - from), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void resultText(sqlite3_context *ctx, const QByteArray &utf8)
{
    resultText(ctx, utf8.constData(), utf8.constData() + utf8.size());
}

void resultNumber(sqlite3_context *ctx, double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.007199254740992e15)
        sqlite3_result_int64(ctx, sqlite3_int64(value));
    else
        sqlite3_result_double(ctx, value);
}

// A text that reads as a number (regional separator).
bool textAsNumber(const Value &v, double *number)
{
    return text::parseRegionalNumber(v.text, v.length, number);
}

// Converts an argument to a number the way the conversion functions do.
bool toNumber(sqlite3_context *ctx, const Value &v, double *number)
{
    if (v.isNumber()) {
        *number = v.number();
        return true;
    }
    if (v.kind == Value::Text && textAsNumber(v, number))
        return true;
    sqlite3_result_error(ctx, kTypeMismatch, -1);
    return false;
}

// Byte offset after skipping n characters.
const char *skipChars(const char *p, const char *end, sqlite3_int64 n)
{
    while (n > 0 && p < end) {
        decodeUtf8(p, end);
        --n;
    }
    return p;
}

sqlite3_int64 charCount(const char *p, const char *end)
{
    sqlite3_int64 n = 0;
    while (p < end) {
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            ++n;
        ++p;
    }
    return n;
}

// Reads a text argument (numbers in their text form). Returns false for NULL.
struct TextArg {
    std::string storage;
    const char *data = nullptr;
    int length = 0;

    bool read(sqlite3_value *v)
    {
        const Value value = Value::of(v);
        if (value.kind == Value::Null)
            return false;
        if (value.kind == Value::Text) {
            data = value.text;
            length = value.length;
        } else {
            appendValueText(storage, value);
            data = storage.data();
            length = int(storage.size());
        }
        return true;
    }
    const char *end() const { return data + length; }
};

// Integer argument; false (with an error set) when it is NULL or not a number.
bool integerArg(sqlite3_context *ctx, sqlite3_value *v, sqlite3_int64 *out)
{
    const Value value = Value::of(v);
    double number = 0;
    if (value.kind == Value::Null) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return false;
    }
    if (!toNumber(ctx, value, &number))
        return false;
    *out = sqlite3_int64(std::nearbyint(number));
    return true;
}

// Reads the text arguments in order; a NULL one makes the result NULL and gives false.
template<typename... Texts>
bool readTexts(sqlite3_context *ctx, sqlite3_value **argv, Texts &...texts)
{
    int i = 0;
    if ((texts.read(argv[i++]) && ...))
        return true;
    sqlite3_result_null(ctx);
    return false;
}

// A count argument: an integer of at least 0; false (with an error set) otherwise.
bool countArg(sqlite3_context *ctx, sqlite3_value *v, sqlite3_int64 *out)
{
    if (!integerArg(ctx, v, out))
        return false;
    if (*out < 0) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return false;
    }
    return true;
}

// An integer argument from least to most: false when it is NULL (the result is NULL), not a
// number or out of range (an error is set).
bool integerInRangeOrNull(sqlite3_context *ctx, sqlite3_value *v, sqlite3_int64 least, sqlite3_int64 most,
                          sqlite3_int64 *out)
{
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return false;
    }
    if (!integerArg(ctx, v, out))
        return false;
    if (*out < least || *out > most) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return false;
    }
    return true;
}

// A numeric argument: false when it is NULL (the result is NULL) or not a number (an error is
// set).
bool numberOrNull(sqlite3_context *ctx, sqlite3_value *v, double *out)
{
    const Value value = Value::of(v);
    if (value.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return false;
    }
    return toNumber(ctx, value, out);
}

// The two numeric arguments: NULL on either side makes the result NULL before either is
// converted; false also when one is not a number (an error is set).
bool twoNumbersOrNull(sqlite3_context *ctx, sqlite3_value **argv, double *x, double *y)
{
    const Value a = Value::of(argv[0]);
    const Value b = Value::of(argv[1]);
    if (a.kind == Value::Null || b.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return false;
    }
    return toNumber(ctx, a, x) && toNumber(ctx, b, y);
}

// x + y: NULL wins; numbers add; texts concatenate; a number and a numeric text add.
void jetAdd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    Value acc = Value::of(argv[0]);
    if (acc.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string textAcc;
    bool textOwned = false;
    for (int i = 1; i < argc; ++i) {
        const Value v = Value::of(argv[i]);
        if (v.kind == Value::Null) {
            sqlite3_result_null(ctx);
            return;
        }
        if (acc.kind == Value::Text && v.kind == Value::Text) {
            if (!textOwned) {
                textAcc.assign(acc.text, size_t(acc.length));
                textOwned = true;
            }
            textAcc.append(v.text, size_t(v.length));
            acc.text = textAcc.data();
            acc.length = int(textAcc.size());
            continue;
        }
        double a = 0, b = 0;
        if (acc.kind == Value::Text) {
            if (!textAsNumber(acc, &a)) {
                sqlite3_result_error(ctx, kTypeMismatch, -1);
                return;
            }
        } else {
            a = acc.number();
        }
        if (v.kind == Value::Text) {
            if (!textAsNumber(v, &b)) {
                sqlite3_result_error(ctx, kTypeMismatch, -1);
                return;
            }
        } else {
            b = v.number();
        }
        sqlite3_int64 sum = 0;
        if (acc.kind == Value::Integer && v.kind == Value::Integer
            && !__builtin_add_overflow(acc.integer, v.integer, &sum)) {
            acc.kind = Value::Integer;
            acc.integer = sum;
        } else {
            acc.kind = Value::Real;
            acc.real = a + b;
        }
        textOwned = false;
    }
    switch (acc.kind) {
    case Value::Integer:
        sqlite3_result_int64(ctx, acc.integer);
        break;
    case Value::Real:
        sqlite3_result_double(ctx, acc.real);
        break;
    case Value::Text:
        resultText(ctx, acc.text, acc.text + acc.length);
        break;
    case Value::Null:
        sqlite3_result_null(ctx);
    }
}

// x & y: NULL is empty text, numbers in their text form.
void jetConcat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    std::string out;
    for (int i = 0; i < argc; ++i)
        appendValueText(out, Value::of(argv[i]));
    resultText(ctx, out);
}

void jetFormat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double number = 0;
    if (v.kind == Value::Text) {
        // A text keeps its form unless a mask is given and the text reads as a number.
        if (argc < 2 || sqlite3_value_type(argv[1]) == SQLITE_NULL || !textAsNumber(v, &number)) {
            sqlite3_result_value(ctx, argv[0]);
            return;
        }
    } else {
        number = v.number();
    }
    std::string out;
    if (argc < 2 || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        if (v.kind == Value::Integer)
            text::appendInteger(out, v.integer);
        else
            text::appendNumber(out, number);
        resultText(ctx, out);
        return;
    }
    auto *mask = static_cast<text::FormatMask *>(sqlite3_get_auxdata(ctx, 1));
    if (!mask) {
        const char *maskText = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
        mask = text::parseFormatMask(QString::fromUtf8(maskText ? maskText : ""));
        text::applyFormatMask(*mask, out, number);
        sqlite3_set_auxdata(ctx, 1, mask, text::freeFormatMask);
    } else {
        text::applyFormatMask(*mask, out, number);
    }
    resultText(ctx, out);
}

void jetLen(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    sqlite3_result_int64(ctx, charCount(s.data, s.end()));
}

void jetLeft(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    sqlite3_int64 n = 0;
    if (!countArg(ctx, argv[1], &n))
        return;
    const char *stop = skipChars(s.data, s.end(), n);
    resultText(ctx, s.data, stop);
}

void jetRight(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    sqlite3_int64 n = 0;
    if (!countArg(ctx, argv[1], &n))
        return;
    const sqlite3_int64 total = charCount(s.data, s.end());
    const char *start = skipChars(s.data, s.end(), total > n ? total - n : 0);
    resultText(ctx, start, s.end());
}

void jetMid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    sqlite3_int64 start = 0;
    if (!integerArg(ctx, argv[1], &start))
        return;
    sqlite3_int64 count = -1;
    if (argc > 2 && !integerArg(ctx, argv[2], &count))
        return;
    if (start < 1 || (argc > 2 && count < 0)) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    const char *from = skipChars(s.data, s.end(), start - 1);
    const char *to = count < 0 ? s.end() : skipChars(from, s.end(), count);
    resultText(ctx, from, to);
}

template<bool Left, bool Right>
void jetTrim(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    const char *from = s.data;
    const char *to = s.end();
    if (Left)
        while (from < to && *from == ' ')
            ++from;
    if (Right)
        while (to > from && to[-1] == ' ')
            --to;
    resultText(ctx, from, to);
}

template<bool Upper>
void jetChangeCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    bool ascii = true;
    for (int i = 0; i < s.length; ++i) {
        if (static_cast<unsigned char>(s.data[i]) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        std::string out(s.data, size_t(s.length));
        for (char &c : out) {
            if (Upper && c >= 'a' && c <= 'z')
                c = char(c - 32);
            else if (!Upper && c >= 'A' && c <= 'Z')
                c = char(c + 32);
        }
        resultText(ctx, out);
        return;
    }
    const QString q = QString::fromUtf8(s.data, s.length);
    const QByteArray out = (Upper ? q.toUpper() : q.toLower()).toUtf8();
    resultText(ctx, out);
}

void jetChr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_int64 code = 0;
    if (!integerInRangeOrNull(ctx, argv[0], 0, 255, &code))
        return;
    std::string out;
    appendUtf8(out, windows1250ToUnicode(static_cast<unsigned char>(code)));
    resultText(ctx, out);
}

void jetAsc(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    if (s.length == 0) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    const char *p = s.data;
    const char32_t c = decodeUtf8(p, s.end());
    sqlite3_int64 code = c;
    if (c >= 0x80) {
        const int byte = unicodeToWindows1250(c);
        code = byte < 0 ? '?' : byte;
    }
    sqlite3_result_int64(ctx, code);
}

void jetLike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg pattern, subject;
    if (!readTexts(ctx, argv, pattern, subject))
        return;
    sqlite3_result_int(ctx, likeMatch(pattern.data, pattern.end(), subject.data, subject.end()) ? 1 : 0);
}

void jetVal(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    if (v.isNumber()) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    // Leading number, blanks ignored, '.' as the decimal point whatever the region.
    std::string digits;
    bool point = false, exponent = false;
    for (int i = 0; i < v.length; ++i) {
        const char c = v.text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if ((c == '-' || c == '+') && (digits.empty() || (exponent && (digits.back() == 'e')))) {
            digits += c;
        } else if (c == '.' && !point && !exponent) {
            point = true;
            digits += c;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && !exponent && !digits.empty()) {
            exponent = true;
            digits += 'e';
        } else {
            break;
        }
    }
    while (!digits.empty() && (digits.back() == 'e' || digits.back() == '-' || digits.back() == '+'))
        digits.pop_back();
    double number = 0;
    if (!digits.empty()) {
        const char *begin = digits.data() + (digits[0] == '+' ? 1 : 0);
        std::from_chars(begin, digits.data() + digits.size(), number);
    }
    resultNumber(ctx, number);
}

void jetStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double number = 0;
    if (!numberOrNull(ctx, argv[0], &number))
        return;
    // Str always prints '.' and a leading blank for the sign of a positive number.
    std::string out = number >= 0 ? " " : "";
    text::appendNumber(out, number, U'.');
    resultText(ctx, out);
}

void jetCStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!readTexts(ctx, argv, s))
        return;
    resultText(ctx, s.data, s.end());
}

void jetCDbl(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double number = 0;
    if (numberOrNull(ctx, argv[0], &number))
        sqlite3_result_double(ctx, number);
}

// Rounding conversions: CLng/CInt round half to even; Int rounds down; Fix truncates.
template<int Mode>
void jetToInteger(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    if (v.kind == Value::Integer) {
        sqlite3_result_int64(ctx, v.integer);
        return;
    }
    double number = 0;
    if (!toNumber(ctx, v, &number))
        return;
    const double r = Mode == 0 ? std::nearbyint(number) : Mode == 1 ? std::floor(number) : std::trunc(number);
    resultNumber(ctx, r);
}

void jetRound(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    double number = 0;
    if (!numberOrNull(ctx, argv[0], &number))
        return;
    sqlite3_int64 places = 0;
    if (argc > 1 && !integerArg(ctx, argv[1], &places))
        return;
    const double scale = std::pow(10.0, double(places));
    const double r = std::nearbyint(number * scale) / scale;
    if (places == 0)
        resultNumber(ctx, r);
    else
        sqlite3_result_double(ctx, r);
}

void jetSgn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double number = 0;
    if (numberOrNull(ctx, argv[0], &number))
        sqlite3_result_int(ctx, number > 0 ? 1 : number < 0 ? -1 : 0);
}

void jetSqr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double number = 0;
    if (!numberOrNull(ctx, argv[0], &number))
        return;
    if (number < 0) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    sqlite3_result_double(ctx, std::sqrt(number));
}

void jetPower(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double x = 0, y = 0;
    if (!twoNumbersOrNull(ctx, argv, &x, &y))
        return;
    resultNumber(ctx, std::pow(x, y));
}

// a \ b and a Mod b: both sides rounded to integers first; division by zero gives NULL.
template<bool Remainder>
void jetIntegerDivision(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double x = 0, y = 0;
    if (!twoNumbersOrNull(ctx, argv, &x, &y))
        return;
    const auto ix = sqlite3_int64(std::nearbyint(x));
    const auto iy = sqlite3_int64(std::nearbyint(y));
    if (iy == 0) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, Remainder ? ix % iy : ix / iy);
}

void jetInStr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    sqlite3_int64 start = 1;
    int first = 0;
    if (argc >= 3) {
        if (!integerInRangeOrNull(ctx, argv[0], 1, std::numeric_limits<sqlite3_int64>::max(), &start))
            return;
        first = 1;
    }
    TextArg haystack, needle;
    if (!readTexts(ctx, argv + first, haystack, needle))
        return;
    const QString h = QString::fromUtf8(haystack.data, haystack.length);
    const QString n = QString::fromUtf8(needle.data, needle.length);
    if (start > h.size() + 1) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const qsizetype at = h.indexOf(n, qsizetype(start - 1), Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, at < 0 ? 0 : at + 1);
}

void jetReplace(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s, find, with;
    if (!readTexts(ctx, argv, s, find, with))
        return;
    QString q = QString::fromUtf8(s.data, s.length);
    const QString f = QString::fromUtf8(find.data, find.length);
    if (!f.isEmpty())
        q.replace(f, QString::fromUtf8(with.data, with.length), Qt::CaseInsensitive);
    const QByteArray out = q.toUtf8();
    resultText(ctx, out);
}

void jetSpace(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_int64 n = 0;
    if (!integerInRangeOrNull(ctx, argv[0], 0, 1000000, &n))
        return;
    resultText(ctx, std::string(size_t(n), ' '));
}

void jetIsNumeric(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value v = Value::of(argv[0]);
    double number = 0;
    const bool numeric = v.isNumber() || (v.kind == Value::Text && textAsNumber(v, &number));
    sqlite3_result_int(ctx, numeric ? -1 : 0);
}

// First and Last: the value of the first / last row of the group.
template<bool Last>
void jetFirstLastStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    auto **slot = static_cast<sqlite3_value **>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value *)));
    if (!slot)
        return;
    if (*slot && !Last)
        return;
    sqlite3_value_free(*slot);
    *slot = sqlite3_value_dup(argv[0]);
}

void jetFirstLastFinal(sqlite3_context *ctx)
{
    auto **slot = static_cast<sqlite3_value **>(sqlite3_aggregate_context(ctx, 0));
    if (slot && *slot) {
        sqlite3_result_value(ctx, *slot);
        sqlite3_value_free(*slot);
        *slot = nullptr;
    } else {
        sqlite3_result_null(ctx);
    }
}

int jetCollation(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    return text::compareUtf8(static_cast<const char *>(a), lengthA, static_cast<const char *>(b), lengthB);
}

struct FunctionDef {
    const char *name;
    int arguments; // -1: any number
    void (*function)(sqlite3_context *, int, sqlite3_value **);
};

const FunctionDef kFunctions[] = {
    {"jet_add", -1, jetAdd},
    {"jet_concat", -1, jetConcat},
    {"jet_format", 1, jetFormat},
    {"jet_format", 2, jetFormat},
    {"jet_len", 1, jetLen},
    {"jet_left", 2, jetLeft},
    {"jet_right", 2, jetRight},
    {"jet_mid", 2, jetMid},
    {"jet_mid", 3, jetMid},
    {"jet_trim", 1, jetTrim<true, true>},
    {"jet_ltrim", 1, jetTrim<true, false>},
    {"jet_rtrim", 1, jetTrim<false, true>},
    {"jet_ucase", 1, jetChangeCase<true>},
    {"jet_lcase", 1, jetChangeCase<false>},
    {"jet_chr", 1, jetChr},
    {"jet_asc", 1, jetAsc},
    {"like", 2, jetLike},
    {"like", 3, jetLike},
    {"jet_val", 1, jetVal},
    {"jet_str", 1, jetStr},
    {"jet_cstr", 1, jetCStr},
    {"jet_cdbl", 1, jetCDbl},
    {"jet_clng", 1, jetToInteger<0>},
    {"jet_int", 1, jetToInteger<1>},
    {"jet_fix", 1, jetToInteger<2>},
    {"jet_round", 1, jetRound},
    {"jet_round", 2, jetRound},
    {"jet_sgn", 1, jetSgn},
    {"jet_sqr", 1, jetSqr},
    {"jet_power", 2, jetPower},
    {"jet_intdiv", 2, jetIntegerDivision<false>},
    {"jet_mod", 2, jetIntegerDivision<true>},
    {"jet_instr", 2, jetInStr},
    {"jet_instr", 3, jetInStr},
    {"jet_replace", 3, jetReplace},
    {"jet_space", 1, jetSpace},
    {"jet_isnumeric", 1, jetIsNumeric},
};

} // namespace

void registerJetExtensions(sqlite3 *db)
{
    auto fail = [db](const char *what) {
        throw JetError(QStringLiteral("Nie można zainstalować %1 w bazie danych: %2.")
                           .arg(QString::fromUtf8(what), QString::fromUtf8(sqlite3_errmsg(db))));
    };
    if (sqlite3_create_collation(db, "JET", SQLITE_UTF8, nullptr, jetCollation) != SQLITE_OK)
        fail("porządku tekstów");
    for (const FunctionDef &f : kFunctions) {
        if (sqlite3_create_function_v2(db, f.name, f.arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                       f.function, nullptr, nullptr, nullptr)
            != SQLITE_OK)
            fail("funkcji");
    }
    if (sqlite3_create_function_v2(db, "jet_first", 1, SQLITE_UTF8, nullptr, nullptr,
                                   jetFirstLastStep<false>, jetFirstLastFinal, nullptr)
            != SQLITE_OK
        || sqlite3_create_function_v2(db, "jet_last", 1, SQLITE_UTF8, nullptr, nullptr,
                                      jetFirstLastStep<true>, jetFirstLastFinal, nullptr)
            != SQLITE_OK)
        fail("funkcji");
    // An unknown name in double quotes is an error, never a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
}

} // namespace katarix::jet
