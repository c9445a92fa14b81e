// Numbers as text: the regional decimal separator, the shortest general form, fixed notation,
// numbers in SQL text, parsing, and the Format$ masks. One rounding rule: half away from zero
// on the decimal digits of the number's 15-digit decimal form.
#include "NumberText.h"
#include "JetText.h"
#include "Utf8.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
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

// Keeps the first `keep` significant digits, rounding half away from zero on the decimal
// digits (0.105 kept to two decimals is 0.11, whatever its binary value).
void roundToDigits(Decimal &d, int keep)
{
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

void roundDecimal(Decimal &d, int decimals)
{
    roundToDigits(d, d.point + decimals);
}

constexpr int kFixedPrecision = 10;

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

void appendInteger(std::string &out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

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

// Fixed notation: rounded to `decimals` places from at most 10 significant digits, never an
// exponent, no minus sign on a value that rounds to zero.
void appendFixed(std::string &out, double value, int decimals)
{
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
        return;
    }
    Decimal d = decimalOf(value);
    roundToDigits(d, std::min(kFixedPrecision, d.point + decimals));
    if (d.negative && d.length > 0)
        out += '-';
    if (d.length == 0 || d.point <= 0)
        out += '0';
    for (int i = 0; i < d.point && d.length > 0; ++i)
        out += i < d.length ? d.digits[i] : '0';
    if (decimals <= 0)
        return;
    appendSeparator(out);
    for (int i = 0; i < decimals; ++i) {
        const int index = d.point + i;
        out += index >= 0 && index < d.length ? d.digits[index] : '0';
    }
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

QString fixedText(double value, int decimals)
{
    std::string out;
    text::appendFixed(out, value, decimals);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

QString sqlNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("NULL");
    if (value == 0)
        return QStringLiteral("0");
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, qsizetype(result.ptr - buffer));
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

FormatMask *parseFormatMask(const QString &mask)
{
    return new FormatMask(mask);
}

void applyFormatMask(const FormatMask &mask, std::string &out, double value)
{
    mask.apply(out, value);
}

void freeFormatMask(void *mask)
{
    delete static_cast<FormatMask *>(mask);
}

} // namespace text

QString formatNumber(double value, const QString &mask)
{
    std::string out;
    text::FormatMask(mask).apply(out, value);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

} // namespace katarix::jet
