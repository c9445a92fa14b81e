#include "JetFunctions.h"

#include "JetError.h"

#include <QLocale>

#include <sqlite3.h>

#include <QStringList>

#include <atomic>
#include <charconv>
#include <vector>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace katarix::jet {

namespace text {

// A magnitude as at most 15 significant decimal digits: 0.d1d2...dn x 10^point.
struct Decimal {
    bool negative = false;
    char digits[17] = {};
    int length = 0; // 0 for zero
    int point = 0;  // digits before the decimal point
};

Decimal decimalOf(double value);
void roundDecimal(Decimal &d, int decimals); // half away from zero
void appendNumber(QString &out, double value);
bool parseNumber(QStringView text, QChar separator, double *value);
QString formatWithMask(double value, const QString &mask);
int compareUtf8(const char *a, int lengthA, const char *b, int lengthB);

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

int compareUtf8(const char *a, int lengthA, const char *b, int lengthB)
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
// Numbers as text

namespace text {

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
    // d.dddddddddddddde[+-]xx
    const char *p = buffer;
    const char *end = result.ptr;
    const char *e = static_cast<const char *>(std::memchr(p, 'e', size_t(end - p)));
    int length = 0;
    for (const char *q = p; q < e; ++q) {
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
            // 99.9 -> 100: a single 1 one place higher.
            d.digits[0] = '1';
            d.length = 1;
            d.point += 1;
            return;
        }
        d.digits[i] += 1;
        d.length = i + 1;
    }
    while (d.length > 0 && d.digits[d.length - 1] == '0')
        --d.length;
}

namespace {

void appendExponent(QString &out, int exponent)
{
    out += QLatin1Char('E');
    out += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        out += QLatin1Char('0');
    out += QString::number(magnitude);
}

} // namespace

void appendNumber(QString &out, double value)
{
    const Decimal d = decimalOf(value);
    if (d.length == 0) {
        out += QLatin1Char('0');
        return;
    }
    if (d.negative)
        out += QLatin1Char('-');
    const QChar separator = decimalSeparator();
    const int exponent = d.point - 1;
    if (exponent < -4 || exponent >= 15) {
        out += QLatin1Char(d.digits[0]);
        if (d.length > 1) {
            out += separator;
            for (int i = 1; i < d.length; ++i)
                out += QLatin1Char(d.digits[i]);
        }
        appendExponent(out, exponent);
        return;
    }
    if (d.point <= 0) {
        out += QLatin1Char('0');
        out += separator;
        for (int i = d.point; i < 0; ++i)
            out += QLatin1Char('0');
        for (int i = 0; i < d.length; ++i)
            out += QLatin1Char(d.digits[i]);
        return;
    }
    for (int i = 0; i < d.point; ++i)
        out += QLatin1Char(i < d.length ? d.digits[i] : '0');
    if (d.length > d.point) {
        out += separator;
        for (int i = d.point; i < d.length; ++i)
            out += QLatin1Char(d.digits[i]);
    }
}

bool parseNumber(QStringView textView, QChar separator, double *value)
{
    // Optional blanks, sign, digits, one separator, digits, exponent, blanks.
    char buffer[64];
    int n = 0;
    qsizetype i = 0;
    const qsizetype size = textView.size();
    while (i < size && textView[i].isSpace())
        ++i;
    qsizetype end = size;
    while (end > i && textView[end - 1].isSpace())
        --end;
    if (i < end && (textView[i] == u'-' || textView[i] == u'+')) {
        if (textView[i] == u'-')
            buffer[n++] = '-';
        ++i;
    }
    int digits = 0;
    bool seenPoint = false;
    for (; i < end; ++i) {
        const QChar c = textView[i];
        if (c >= u'0' && c <= u'9') {
            if (n >= 60)
                return false;
            buffer[n++] = char(c.unicode());
            ++digits;
        } else if (c == separator && !seenPoint) {
            seenPoint = true;
            buffer[n++] = '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < end && (textView[i] == u'e' || textView[i] == u'E')) {
        buffer[n++] = 'e';
        ++i;
        if (i < end && (textView[i] == u'-' || textView[i] == u'+'))
            buffer[n++] = char(textView[i++].unicode());
        int expDigits = 0;
        for (; i < end && textView[i] >= u'0' && textView[i] <= u'9' && n < 63; ++i, ++expDigits)
            buffer[n++] = char(textView[i].unicode());
        if (expDigits == 0)
            return false;
    }
    if (i != end)
        return false;
    const char *begin = buffer[0] == '-' ? buffer : buffer;
    double parsed = 0;
    const auto result = std::from_chars(begin, buffer + n, parsed);
    if (result.ec != std::errc() || result.ptr != buffer + n)
        return false;
    *value = parsed;
    return true;
}

} // namespace text

QString numberToText(double value)
{
    QString out;
    text::appendNumber(out, value);
    return out;
}

double textToNumber(const QString &textValue, bool *ok)
{
    double value = 0;
    const bool parsed = text::parseNumber(textValue, decimalSeparator(), &value);
    if (ok)
        *ok = parsed;
    return parsed ? value : 0;
}

// ---------------------------------------------------------------------------------------------
// Format$ masks

namespace text {

namespace {

struct MaskToken {
    enum Kind { Digit0, DigitHash, Point, Literal } kind;
    QString literal;
};

struct ParsedMask {
    std::vector<MaskToken> integerPart;
    std::vector<MaskToken> fractionPart;
    QString suffixAfterFraction; // literals after the fraction placeholders are in fractionPart
    bool hasPoint = false;
    bool grouping = false;
    bool percent = false;
    int fractionPlaces = 0;
};

ParsedMask parseMask(QStringView mask)
{
    ParsedMask m;
    bool inFraction = false;
    bool seenPlaceholder = false;
    auto push = [&](MaskToken token) {
        (inFraction ? m.fractionPart : m.integerPart).push_back(std::move(token));
    };
    auto pushLiteral = [&](QString s) {
        auto &part = inFraction ? m.fractionPart : m.integerPart;
        if (!part.empty() && part.back().kind == MaskToken::Literal)
            part.back().literal += s;
        else
            part.push_back({MaskToken::Literal, std::move(s)});
    };
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case u'0':
            push({MaskToken::Digit0, {}});
            seenPlaceholder = true;
            if (inFraction)
                ++m.fractionPlaces;
            break;
        case u'#':
            push({MaskToken::DigitHash, {}});
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
            if (i + 1 < mask.size())
                pushLiteral(QString(mask[++i]));
            break;
        case u'"': {
            const qsizetype close = mask.indexOf(u'"', i + 1);
            const qsizetype stop = close < 0 ? mask.size() : close;
            pushLiteral(mask.mid(i + 1, stop - i - 1).toString());
            i = stop;
            break;
        }
        default:
            pushLiteral(QString(c));
        }
    }
    return m;
}

QString groupSeparator()
{
    return decimalSeparator() == u',' ? QStringLiteral("\u00A0") : QStringLiteral(",");
}

QString applyMask(double value, const ParsedMask &m, bool printSign)
{
    if (m.percent)
        value *= 100;
    Decimal d = decimalOf(value);
    roundDecimal(d, m.fractionPlaces);

    // Integer digits of the rounded magnitude, most significant first.
    std::string integerDigits;
    for (int i = 0; i < d.point; ++i)
        integerDigits += i < d.length ? d.digits[i] : '0';
    if (d.length == 0)
        integerDigits.clear();

    QString out;
    if (printSign && d.negative && d.length > 0)
        out += QLatin1Char('-');

    // Integer part: placeholders take digits from the right; surplus digits go in front of
    // the leftmost placeholder; literals stay where they are.
    int leftmost = -1;
    for (int i = 0; i < int(m.integerPart.size()); ++i) {
        if (m.integerPart[i].kind != MaskToken::Literal) {
            leftmost = i;
            break;
        }
    }
    std::vector<QString> pieces(m.integerPart.size());
    int next = int(integerDigits.size()) - 1;
    if (m.grouping) {
        int required = 0;
        for (const MaskToken &t : m.integerPart)
            if (t.kind == MaskToken::Digit0)
                ++required;
        std::string padded = integerDigits;
        if (int(padded.size()) < required)
            padded.insert(0, size_t(required - int(padded.size())), '0');
        QString grouped;
        const QString separator = groupSeparator();
        for (size_t i = 0; i < padded.size(); ++i) {
            if (i > 0 && (padded.size() - i) % 3 == 0)
                grouped += separator;
            grouped += QLatin1Char(padded[i]);
        }
        for (size_t i = 0; i < m.integerPart.size(); ++i) {
            if (m.integerPart[i].kind == MaskToken::Literal)
                pieces[i] = m.integerPart[i].literal;
            else if (int(i) == leftmost)
                pieces[i] = grouped;
        }
    } else {
        for (int i = int(m.integerPart.size()) - 1; i >= 0; --i) {
            const MaskToken &t = m.integerPart[i];
            if (t.kind == MaskToken::Literal) {
                pieces[i] = t.literal;
                continue;
            }
            if (next >= 0)
                pieces[i] = QLatin1Char(integerDigits[size_t(next--)]);
            else if (t.kind == MaskToken::Digit0)
                pieces[i] = QStringLiteral("0");
            if (i == leftmost) {
                QString surplus;
                while (next >= 0)
                    surplus.prepend(QLatin1Char(integerDigits[size_t(next--)]));
                pieces[i].prepend(surplus);
            }
        }
    }
    if (leftmost < 0 && !integerDigits.empty() && !m.hasPoint) {
        // A mask without placeholders prints the literals only.
    }
    for (const QString &piece : pieces)
        out += piece;

    if (m.hasPoint) {
        out += decimalSeparator();
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
                out += QLatin1Char(digit);
            ++place;
        }
    }
    return out;
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

QString formatWithMask(double value, const QString &mask)
{
    const QString name = mask.trimmed().toLower();
    if (name.isEmpty() || name == u"general number")
        return numberToText(value);
    if (name == u"fixed")
        return applyMask(value, parseMask(u"0.00"), true);
    if (name == u"standard")
        return applyMask(value, parseMask(u"#,##0.00"), true);
    if (name == u"percent")
        return applyMask(value, parseMask(u"0.00%"), true);
    if (name == u"yes/no")
        return value != 0 ? QStringLiteral("Tak") : QStringLiteral("Nie");
    if (name == u"true/false")
        return value != 0 ? QStringLiteral("Prawda") : QStringLiteral("Fałsz");
    if (name == u"on/off")
        return value != 0 ? QStringLiteral("Wł.") : QStringLiteral("Wył.");

    const QStringList sections = splitSections(mask);
    if (sections.size() == 1)
        return applyMask(value, parseMask(sections[0]), true);
    if (value < 0 && !sections[1].isEmpty())
        return applyMask(-value, parseMask(sections[1]), false);
    if (value == 0 && sections.size() > 2 && !sections[2].isEmpty())
        return applyMask(value, parseMask(sections[2]), true);
    return applyMask(value, parseMask(sections[0]), true);
}

} // namespace text

QString formatNumber(double value, const QString &mask)
{
    return text::formatWithMask(value, mask);
}

// ---------------------------------------------------------------------------------------------
// Registration

namespace {

int jetCollation(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    return text::compareUtf8(static_cast<const char *>(a), lengthA, static_cast<const char *>(b), lengthB);
}

} // namespace

void registerJetExtensions(sqlite3 *db)
{
    if (sqlite3_create_collation(db, "JET", SQLITE_UTF8, nullptr, jetCollation) != SQLITE_OK)
        throw JetError(QStringLiteral("Nie można zainstalować porządku tekstów w bazie danych: %1.")
                           .arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

} // namespace katarix::jet
