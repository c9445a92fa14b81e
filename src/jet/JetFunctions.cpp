#include "JetFunctions.h"
#include "Utf8.h"
#include "Windows1250.h"

#include "JetError.h"

#include <QLocale>
#include <QStringList>

#include <sqlite3.h>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace katarix::jet {

namespace text {

// A magnitude as at most 15 significant decimal digits: 0.d1d2...dn x 10^point.
struct Decimal {
    bool negative = false;
    char digits[17] = {};
    int length = 0; // 0 for zero
    int point = 0;  // digits before the decimal point
};

} // namespace text

// ---------------------------------------------------------------------------------------------
// Regional decimal separator

namespace {

std::atomic<char16_t> g_decimalSeparator{u'.'};

} // namespace

QChar decimalSeparator()
{
    return QChar(g_decimalSeparator.load(std::memory_order_relaxed));
}

void setDecimalSeparator(QChar separator)
{
    g_decimalSeparator.store(separator.unicode(), std::memory_order_relaxed);
}

void useSystemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    setDecimalSeparator(point.isEmpty() ? QChar(u'.') : point.at(0));
}

// ---------------------------------------------------------------------------------------------
// Jet text order

namespace text {

namespace {

// Primary weights: control and punctuation (by code point) < digits < letters (Polish
// alphabet) < everything else. Letters of other Latin alphabets share their base letter's
// primary weight and differ only at the secondary (accent) level.
struct WeightTable {
    uint16_t primary[0x180];
    bool folded[0x180]; // an accented letter that is not one of the Polish ones

    WeightTable()
    {
        static const char32_t alphabet[] = {U'a', U'ą', U'b', U'c', U'ć', U'd', U'e', U'ę', U'f',
                                            U'g', U'h', U'i', U'j', U'k', U'l', U'ł', U'm', U'n',
                                            U'ń', U'o', U'ó', U'p', U'q', U'r', U's', U'ś', U't',
                                            U'u', U'v', U'w', U'x', U'y', U'z', U'ź', U'ż'};
        constexpr uint16_t letterBase = 0x200;
        constexpr uint16_t digitBase = 0x180;
        for (char32_t c = 0; c < 0x180; ++c) {
            primary[c] = uint16_t(c); // punctuation and symbols keep their code point
            folded[c] = false;
        }
        for (char32_t d = U'0'; d <= U'9'; ++d)
            primary[d] = uint16_t(digitBase + (d - U'0'));
        uint16_t alphabetWeight[0x180] = {};
        for (size_t i = 0; i < sizeof alphabet / sizeof alphabet[0]; ++i)
            alphabetWeight[alphabet[i]] = uint16_t(letterBase + 4 * i);
        for (char32_t c = 0x41; c < 0x180; ++c) {
            const QChar qc{char16_t(c)};
            if (!qc.isLetter())
                continue;
            const char32_t lower = qc.toLower().unicode();
            if (lower < 0x180 && alphabetWeight[lower]) {
                primary[c] = alphabetWeight[lower];
                continue;
            }
            // Other accented Latin letters: the base letter of the canonical decomposition.
            const QString decomposed = qc.decomposition();
            if (!decomposed.isEmpty()) {
                const char32_t base = decomposed.at(0).toLower().unicode();
                if (base < 0x180 && alphabetWeight[base]) {
                    primary[c] = alphabetWeight[base];
                    folded[c] = true;
                    continue;
                }
            }
            // Letters without a Polish base (ß, æ, đ ...): after z, apart from each other.
            primary[c] = uint16_t(letterBase + 4 * 40 + (lower < 0x180 ? lower : c));
        }
    }
};

const WeightTable &weights()
{
    static const WeightTable table;
    return table;
}

inline uint32_t primaryWeight(char32_t c, bool &folded)
{
    if (c < 0x180) {
        const WeightTable &t = weights();
        folded |= t.folded[c];
        return t.primary[c];
    }
    // Everything else after the Latin letters, case-insensitively.
    return 0x10000u + uint32_t(QChar::toLower(c));
}

inline char32_t secondaryKey(char32_t c)
{
    return QChar::toLower(c);
}

struct Utf8Reader {
    const unsigned char *p;
    const unsigned char *end;
    bool atEnd() const { return p >= end; }
    char32_t next()
    {
        const unsigned char c = *p++;
        if (c < 0x80)
            return c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = c & (0x3F >> extra);
        while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80)
            cp = (cp << 6) | (*p++ & 0x3F);
        return cp;
    }
};

struct Utf16Reader {
    const QChar *p;
    const QChar *end;
    bool atEnd() const { return p >= end; }
    char32_t next()
    {
        const char16_t c = (p++)->unicode();
        if (QChar::isHighSurrogate(c) && p < end && p->isLowSurrogate())
            return QChar::surrogateToUcs4(c, (p++)->unicode());
        return c;
    }
};

template<typename Reader>
int compareWith(Reader a, Reader b)
{
    const Reader startA = a;
    const Reader startB = b;
    bool folded = false;
    while (!a.atEnd() && !b.atEnd()) {
        const uint32_t wa = primaryWeight(a.next(), folded);
        const uint32_t wb = primaryWeight(b.next(), folded);
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (!a.atEnd())
        return 1;
    if (!b.atEnd())
        return -1;
    if (!folded)
        return 0;
    // Equal at the primary level: accents decide (é after e), case never does.
    a = startA;
    b = startB;
    while (!a.atEnd() && !b.atEnd()) {
        const char32_t ka = secondaryKey(a.next());
        const char32_t kb = secondaryKey(b.next());
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    return 0;
}

} // namespace

static int compareUtf8Impl(const char *a, int lengthA, const char *b, int lengthB)
{
    // Fast path for the common ASCII prefix: identical bytes compare equal.
    int i = 0;
    const int common = lengthA < lengthB ? lengthA : lengthB;
    while (i < common && a[i] == b[i] && (static_cast<unsigned char>(a[i]) < 0x80))
        ++i;
    if (i == lengthA && i == lengthB)
        return 0;
    // Restart at the last character boundary (i is one, since the prefix was ASCII).
    const auto *pa = reinterpret_cast<const unsigned char *>(a);
    const auto *pb = reinterpret_cast<const unsigned char *>(b);
    return compareWith(Utf8Reader{pa + i, pa + lengthA}, Utf8Reader{pb + i, pb + lengthB});
}

} // namespace text

int compareJetText(QStringView a, QStringView b)
{
    return text::compareWith(text::Utf16Reader{a.data(), a.data() + a.size()},
                             text::Utf16Reader{b.data(), b.data() + b.size()});
}

// ---------------------------------------------------------------------------------------------
// Numbers as text (UTF-8 core, shared by the SQL functions and the Qt-facing API)

namespace text {

namespace {

using jet::appendUtf8;

char32_t currentSeparator()
{
    return char32_t(g_decimalSeparator.load(std::memory_order_relaxed));
}

void appendSeparator(std::string &out)
{
    appendUtf8(out, currentSeparator());
}

Decimal decimalOf(double value)
{
    Decimal d;
    if (value < 0) {
        d.negative = true;
        value = -value;
    }
    if (value == 0 || !std::isfinite(value))
        return d;
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const char *end = result.ptr;
    const char *e = static_cast<const char *>(std::memchr(buffer, 'e', size_t(end - buffer)));
    int length = 0;
    for (const char *q = buffer; q < e; ++q) {
        if (*q != '.')
            d.digits[length++] = *q;
    }
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    while (length > 0 && d.digits[length - 1] == '0')
        --length;
    d.length = length;
    d.point = exponent + 1;
    return d;
}

// Rounds half away from zero to the given number of decimals.
void roundDecimal(Decimal &d, int decimals)
{
    const int keep = d.point + decimals;
    if (keep >= d.length)
        return;
    if (keep < 0) {
        d.length = 0;
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.length = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            --i;
        if (i < 0) {
            d.digits[0] = '1';
            d.length = 1;
            d.point += 1;
            return;
        }
        d.digits[i] = char(d.digits[i] + 1);
        d.length = i + 1;
    }
    while (d.length > 0 && d.digits[d.length - 1] == '0')
        --d.length;
}

void appendInteger(std::string &out, sqlite3_int64 value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendExponent(std::string &out, int exponent)
{
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        out += '0';
    appendInteger(out, magnitude);
}

} // namespace

// Shortest form with at most 15 significant digits; exponent form below 1E-4 and from 1E+15.
void appendNumber(std::string &out, double value, char32_t separator)
{
    const Decimal d = decimalOf(value);
    if (d.length == 0) {
        out += '0';
        return;
    }
    if (d.negative)
        out += '-';
    const int exponent = d.point - 1;
    if (exponent < -4 || exponent >= 15) {
        out += d.digits[0];
        if (d.length > 1) {
            appendUtf8(out, separator);
            out.append(d.digits + 1, size_t(d.length - 1));
        }
        appendExponent(out, exponent);
        return;
    }
    if (d.point <= 0) {
        out += '0';
        appendUtf8(out, separator);
        out.append(size_t(-d.point), '0');
        out.append(d.digits, size_t(d.length));
        return;
    }
    for (int i = 0; i < d.point; ++i)
        out += i < d.length ? d.digits[i] : '0';
    if (d.length > d.point) {
        appendUtf8(out, separator);
        out.append(d.digits + d.point, size_t(d.length - d.point));
    }
}

void appendNumber(std::string &out, double value)
{
    appendNumber(out, value, currentSeparator());
}

// Parses blanks, sign, digits with one decimal separator, exponent, blanks.
bool parseNumber(const char *p, const char *end, char32_t separator, double *value)
{
    char buffer[80];
    int n = 0;
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    while (end > p && (end[-1] == ' ' || end[-1] == '\t'))
        --end;
    if (p < end && (*p == '-' || *p == '+')) {
        if (*p == '-')
            buffer[n++] = '-';
        ++p;
    }
    std::string separatorUtf8;
    appendUtf8(separatorUtf8, separator);
    int digits = 0;
    bool seenPoint = false;
    while (p < end) {
        if (*p >= '0' && *p <= '9') {
            if (n >= 70)
                return false;
            buffer[n++] = *p++;
            ++digits;
        } else if (!seenPoint && size_t(end - p) >= separatorUtf8.size()
                   && std::memcmp(p, separatorUtf8.data(), separatorUtf8.size()) == 0) {
            seenPoint = true;
            buffer[n++] = '.';
            p += separatorUtf8.size();
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        buffer[n++] = 'e';
        ++p;
        if (p < end && (*p == '-' || *p == '+'))
            buffer[n++] = *p++;
        int expDigits = 0;
        while (p < end && *p >= '0' && *p <= '9' && n < 78) {
            buffer[n++] = *p++;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (p != end)
        return false;
    double parsed = 0;
    const auto result = std::from_chars(buffer, buffer + n, parsed);
    if (result.ec != std::errc() || result.ptr != buffer + n)
        return false;
    *value = parsed;
    return true;
}

bool parseRegionalNumber(const char *p, int length, double *value)
{
    return parseNumber(p, p + length, char32_t(g_decimalSeparator.load(std::memory_order_relaxed)), value);
}

} // namespace text

QString numberToText(double value)
{
    std::string out;
    text::appendNumber(out, value);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

double textToNumber(const QString &textValue, bool *ok)
{
    const QByteArray utf8 = textValue.toUtf8();
    double value = 0;
    const bool parsed = text::parseRegionalNumber(utf8.constData(), int(utf8.size()), &value);
    if (ok)
        *ok = parsed;
    return parsed ? value : 0;
}

// ---------------------------------------------------------------------------------------------
// Format$ masks

namespace text {

namespace {

struct MaskToken {
    enum Kind { Digit0, DigitHash, Literal } kind;
    std::string literal;
};

struct Mask {
    std::vector<MaskToken> integerPart;
    std::vector<MaskToken> fractionPart;
    bool hasPoint = false;
    bool grouping = false;
    bool percent = false;
    int fractionPlaces = 0;
};

// One section of a custom mask: 0 and # placeholders, the first '.' as the decimal point,
// ',' between integer placeholders for grouping, '%', \x and "..." literals.
Mask parseSection(const QString &section)
{
    Mask m;
    bool inFraction = false;
    bool seenPlaceholder = false;
    auto pushLiteral = [&](const QString &s) {
        auto &part = inFraction ? m.fractionPart : m.integerPart;
        const QByteArray utf8 = s.toUtf8();
        if (!part.empty() && part.back().kind == MaskToken::Literal)
            part.back().literal.append(utf8.constData(), size_t(utf8.size()));
        else
            part.push_back({MaskToken::Literal, std::string(utf8.constData(), size_t(utf8.size()))});
    };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        switch (c.unicode()) {
        case u'0':
        case u'#':
            (inFraction ? m.fractionPart : m.integerPart)
                .push_back({c == u'0' ? MaskToken::Digit0 : MaskToken::DigitHash, {}});
            seenPlaceholder = true;
            if (inFraction)
                ++m.fractionPlaces;
            break;
        case u'.':
            if (!inFraction) {
                m.hasPoint = true;
                inFraction = true;
            } else {
                pushLiteral(QStringLiteral("."));
            }
            break;
        case u',':
            if (!inFraction && seenPlaceholder)
                m.grouping = true;
            else
                pushLiteral(QStringLiteral(","));
            break;
        case u'%':
            m.percent = true;
            pushLiteral(QStringLiteral("%"));
            break;
        case u'\\':
            if (i + 1 < section.size())
                pushLiteral(QString(section[++i]));
            break;
        case u'"': {
            const qsizetype close = section.indexOf(u'"', i + 1);
            const qsizetype stop = close < 0 ? section.size() : close;
            pushLiteral(section.mid(i + 1, stop - i - 1));
            i = stop;
            break;
        }
        default:
            pushLiteral(QString(c));
        }
    }
    return m;
}

void applyMask(std::string &out, double value, const Mask &m, bool printSign)
{
    if (m.percent)
        value *= 100;
    Decimal d = decimalOf(value);
    roundDecimal(d, m.fractionPlaces);

    std::string integerDigits;
    if (d.length > 0) {
        for (int i = 0; i < d.point; ++i)
            integerDigits += i < d.length ? d.digits[i] : '0';
    }
    if (printSign && d.negative && d.length > 0)
        out += '-';

    int leftmost = -1;
    for (int i = 0; i < int(m.integerPart.size()); ++i) {
        if (m.integerPart[i].kind != MaskToken::Literal) {
            leftmost = i;
            break;
        }
    }
    std::vector<std::string> pieces(m.integerPart.size());
    if (m.grouping) {
        int required = 0;
        for (const MaskToken &t : m.integerPart)
            required += t.kind == MaskToken::Digit0;
        std::string padded = integerDigits;
        if (int(padded.size()) < required)
            padded.insert(0, size_t(required - int(padded.size())), '0');
        std::string grouped;
        const bool polish = g_decimalSeparator.load(std::memory_order_relaxed) == u',';
        for (size_t i = 0; i < padded.size(); ++i) {
            if (i > 0 && (padded.size() - i) % 3 == 0)
                grouped += polish ? "\xC2\xA0" : ",";
            grouped += padded[i];
        }
        for (size_t i = 0; i < m.integerPart.size(); ++i) {
            if (m.integerPart[i].kind == MaskToken::Literal)
                pieces[i] = m.integerPart[i].literal;
            else if (int(i) == leftmost)
                pieces[i] = grouped;
        }
    } else {
        // Placeholders take the digits from the right; digits left over go in front of the
        // leftmost placeholder; literals are always printed.
        int next = int(integerDigits.size()) - 1;
        for (int i = int(m.integerPart.size()) - 1; i >= 0; --i) {
            const MaskToken &t = m.integerPart[size_t(i)];
            if (t.kind == MaskToken::Literal) {
                pieces[size_t(i)] = t.literal;
                continue;
            }
            if (next >= 0)
                pieces[size_t(i)] = integerDigits[size_t(next--)];
            else if (t.kind == MaskToken::Digit0)
                pieces[size_t(i)] = "0";
            if (i == leftmost && next >= 0)
                pieces[size_t(i)].insert(0, integerDigits, 0, size_t(next + 1));
        }
    }
    for (const std::string &piece : pieces)
        out += piece;

    if (m.hasPoint) {
        appendSeparator(out);
        int lastNonZero = -1;
        for (int i = 0; i < m.fractionPlaces; ++i) {
            const int index = d.point + i;
            if (index >= 0 && index < d.length && d.digits[index] != '0')
                lastNonZero = i;
        }
        int place = 0;
        for (const MaskToken &t : m.fractionPart) {
            if (t.kind == MaskToken::Literal) {
                out += t.literal;
                continue;
            }
            const int index = d.point + place;
            const char digit = index >= 0 && index < d.length ? d.digits[index] : '0';
            if (t.kind == MaskToken::Digit0 || place <= lastNonZero)
                out += digit;
            ++place;
        }
    }
}

QStringList splitSections(const QString &mask)
{
    QStringList sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'"')
            quoted = !quoted;
        if (c == u'\\' && i + 1 < mask.size()) {
            current += c;
            current += mask[++i];
            continue;
        }
        if (c == u';' && !quoted) {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

} // namespace

// A parsed Format$ mask; kept by SQLite as auxiliary data of a constant mask argument.
struct FormatMask {
    enum Kind { Plain, Custom, YesNo, TrueFalse, OnOff } kind = Plain;
    std::vector<Mask> sections; // positive; negative; zero

    explicit FormatMask(const QString &maskText)
    {
        const QString name = maskText.trimmed().toLower();
        if (name.isEmpty() || name == u"general number") {
            kind = Plain;
        } else if (name == u"fixed") {
            kind = Custom;
            sections.push_back(parseSection(QStringLiteral("0.00")));
        } else if (name == u"standard") {
            kind = Custom;
            sections.push_back(parseSection(QStringLiteral("#,##0.00")));
        } else if (name == u"percent") {
            kind = Custom;
            sections.push_back(parseSection(QStringLiteral("0.00%")));
        } else if (name == u"yes/no") {
            kind = YesNo;
        } else if (name == u"true/false") {
            kind = TrueFalse;
        } else if (name == u"on/off") {
            kind = OnOff;
        } else {
            kind = Custom;
            const QStringList parts = splitSections(maskText);
            for (qsizetype i = 0; i < parts.size() && i < 3; ++i)
                sections.push_back(parseSection(parts[i]));
        }
    }

    void apply(std::string &out, double value) const
    {
        switch (kind) {
        case Plain:
            appendNumber(out, value);
            return;
        case YesNo:
            out += value != 0 ? "Tak" : "Nie";
            return;
        case TrueFalse:
            out += value != 0 ? "Prawda" : "Fałsz";
            return;
        case OnOff:
            out += value != 0 ? "Wł." : "Wył.";
            return;
        case Custom:
            break;
        }
        if (value < 0 && sections.size() > 1 && !isEmpty(sections[1])) {
            applyMask(out, -value, sections[1], false);
            return;
        }
        if (value == 0 && sections.size() > 2 && !isEmpty(sections[2])) {
            applyMask(out, value, sections[2], true);
            return;
        }
        applyMask(out, value, sections[0], true);
    }

private:
    static bool isEmpty(const Mask &m) { return m.integerPart.empty() && m.fractionPart.empty() && !m.hasPoint; }
};

} // namespace text

QString formatNumber(double value, const QString &mask)
{
    std::string out;
    text::FormatMask(mask).apply(out, value);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

// ---------------------------------------------------------------------------------------------
// SQL functions

namespace {

using text::appendUtf8;

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

inline char32_t decodeUtf8(const char *&p, const char *end)
{
    const auto c = static_cast<unsigned char>(*p++);
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = c & (0x3F >> extra);
    while (extra-- > 0 && p < end && (static_cast<unsigned char>(*p) & 0xC0) == 0x80)
        cp = (cp << 6) | (static_cast<unsigned char>(*p++) & 0x3F);
    return cp;
}

inline char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toLower(c);
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
        sqlite3_result_text64(ctx, acc.text, sqlite3_uint64(acc.length), SQLITE_TRANSIENT, SQLITE_UTF8);
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
        mask = new text::FormatMask(QString::fromUtf8(maskText ? maskText : ""));
        mask->apply(out, number);
        sqlite3_set_auxdata(ctx, 1, mask, [](void *p) { delete static_cast<text::FormatMask *>(p); });
    } else {
        mask->apply(out, number);
    }
    resultText(ctx, out);
}

void jetLen(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, charCount(s.data, s.end()));
}

void jetLeft(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_int64 n = 0;
    if (!integerArg(ctx, argv[1], &n))
        return;
    if (n < 0) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    const char *stop = skipChars(s.data, s.end(), n);
    sqlite3_result_text64(ctx, s.data, sqlite3_uint64(stop - s.data), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void jetRight(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_int64 n = 0;
    if (!integerArg(ctx, argv[1], &n))
        return;
    if (n < 0) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    const sqlite3_int64 total = charCount(s.data, s.end());
    const char *start = skipChars(s.data, s.end(), total > n ? total - n : 0);
    sqlite3_result_text64(ctx, start, sqlite3_uint64(s.end() - start), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void jetMid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
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
    sqlite3_result_text64(ctx, from, sqlite3_uint64(to - from), SQLITE_TRANSIENT, SQLITE_UTF8);
}

template<bool Left, bool Right>
void jetTrim(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const char *from = s.data;
    const char *to = s.end();
    if (Left)
        while (from < to && *from == ' ')
            ++from;
    if (Right)
        while (to > from && to[-1] == ' ')
            --to;
    sqlite3_result_text64(ctx, from, sqlite3_uint64(to - from), SQLITE_TRANSIENT, SQLITE_UTF8);
}

template<bool Upper>
void jetChangeCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
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
    sqlite3_result_text64(ctx, out.constData(), sqlite3_uint64(out.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void jetChr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_int64 code = 0;
    if (!integerArg(ctx, argv[0], &code))
        return;
    if (code < 0 || code > 255) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    std::string out;
    appendUtf8(out, windows1250ToUnicode(static_cast<unsigned char>(code)));
    resultText(ctx, out);
}

void jetAsc(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
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

// LIKE with % and _ and [...] lists, case-insensitive (Polish letters included).
bool likeMatch(const char *p, const char *pEnd, const char *t, const char *tEnd)
{
    const char *starP = nullptr;
    const char *starT = nullptr;
    while (t < tEnd) {
        if (p < pEnd && *p == '%') {
            while (p < pEnd && *p == '%')
                ++p;
            if (p == pEnd)
                return true;
            starP = p;
            starT = t;
            continue;
        }
        const char *nextP = p;
        const char *nextT = t;
        bool matched = false;
        if (p < pEnd) {
            const char32_t pc = decodeUtf8(nextP, pEnd);
            const char32_t tc = foldCase(decodeUtf8(nextT, tEnd));
            if (pc == '_') {
                matched = true;
            } else if (pc == '[') {
                const char *q = nextP;
                bool negate = false;
                if (q < pEnd && (*q == '!' || *q == '^')) {
                    negate = true;
                    ++q;
                }
                bool inSet = false;
                bool first = true;
                bool closed = false;
                while (q < pEnd) {
                    if (*q == ']' && !first) {
                        ++q;
                        closed = true;
                        break;
                    }
                    first = false;
                    const char32_t lo = foldCase(decodeUtf8(q, pEnd));
                    char32_t hi = lo;
                    if (q + 1 < pEnd && *q == '-' && q[1] != ']') {
                        ++q;
                        hi = foldCase(decodeUtf8(q, pEnd));
                    }
                    if (tc >= lo && tc <= hi)
                        inSet = true;
                }
                if (closed) {
                    matched = inSet != negate;
                    nextP = q;
                } else {
                    matched = tc == '[';
                }
            } else {
                matched = foldCase(pc) == tc;
            }
        }
        if (matched) {
            p = nextP;
            t = nextT;
            continue;
        }
        if (!starP)
            return false;
        decodeUtf8(starT, tEnd);
        t = starT;
        p = starP;
    }
    while (p < pEnd && *p == '%')
        ++p;
    return p == pEnd;
}

void jetLike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg pattern, subject;
    if (!pattern.read(argv[0]) || !subject.read(argv[1])) {
        sqlite3_result_null(ctx);
        return;
    }
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
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double number = 0;
    if (!toNumber(ctx, v, &number))
        return;
    // Str always prints '.' and a leading blank for the sign of a positive number.
    std::string out = number >= 0 ? " " : "";
    text::appendNumber(out, number, U'.');
    resultText(ctx, out);
}

void jetCStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    TextArg s;
    if (!s.read(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_text64(ctx, s.data, sqlite3_uint64(s.length), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void jetCDbl(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double number = 0;
    if (toNumber(ctx, v, &number))
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
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double number = 0;
    if (!toNumber(ctx, v, &number))
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
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double number = 0;
    if (toNumber(ctx, v, &number))
        sqlite3_result_int(ctx, number > 0 ? 1 : number < 0 ? -1 : 0);
}

void jetSqr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value v = Value::of(argv[0]);
    if (v.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double number = 0;
    if (!toNumber(ctx, v, &number))
        return;
    if (number < 0) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
    sqlite3_result_double(ctx, std::sqrt(number));
}

void jetPower(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value a = Value::of(argv[0]);
    const Value b = Value::of(argv[1]);
    if (a.kind == Value::Null || b.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double x = 0, y = 0;
    if (!toNumber(ctx, a, &x) || !toNumber(ctx, b, &y))
        return;
    resultNumber(ctx, std::pow(x, y));
}

// a \ b and a Mod b: both sides rounded to integers first; division by zero gives NULL.
template<bool Remainder>
void jetIntegerDivision(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Value a = Value::of(argv[0]);
    const Value b = Value::of(argv[1]);
    if (a.kind == Value::Null || b.kind == Value::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    double x = 0, y = 0;
    if (!toNumber(ctx, a, &x) || !toNumber(ctx, b, &y))
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
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        if (!integerArg(ctx, argv[0], &start))
            return;
        if (start < 1) {
            sqlite3_result_error(ctx, kInvalidCall, -1);
            return;
        }
        first = 1;
    }
    TextArg haystack, needle;
    if (!haystack.read(argv[first]) || !needle.read(argv[first + 1])) {
        sqlite3_result_null(ctx);
        return;
    }
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
    if (!s.read(argv[0]) || !find.read(argv[1]) || !with.read(argv[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    QString q = QString::fromUtf8(s.data, s.length);
    const QString f = QString::fromUtf8(find.data, find.length);
    if (!f.isEmpty())
        q.replace(f, QString::fromUtf8(with.data, with.length), Qt::CaseInsensitive);
    const QByteArray out = q.toUtf8();
    sqlite3_result_text64(ctx, out.constData(), sqlite3_uint64(out.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void jetSpace(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_int64 n = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!integerArg(ctx, argv[0], &n))
        return;
    if (n < 0 || n > 1000000) {
        sqlite3_result_error(ctx, kInvalidCall, -1);
        return;
    }
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
    return text::compareUtf8Impl(static_cast<const char *>(a), lengthA, static_cast<const char *>(b), lengthB);
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
