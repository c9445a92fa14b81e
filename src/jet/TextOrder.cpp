// Jet text order (case-insensitive, Polish alphabet) and LIKE.
#include "JetFunctions.h"
#include "JetText.h"

#include <QChar>
#include <QString>

#include <cstdint>

namespace katarix::jet {

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
    const char *p;
    const char *end;
    bool atEnd() const { return p >= end; }
    char32_t next() { return decodeUtf8(p, end); }
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
    return compareWith(Utf8Reader{a + i, a + lengthA}, Utf8Reader{b + i, b + lengthB});
}

} // namespace text

int compareJetText(QStringView a, QStringView b)
{
    return text::compareWith(text::Utf16Reader{a.data(), a.data() + a.size()},
                             text::Utf16Reader{b.data(), b.data() + b.size()});
}

namespace text {

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

} // namespace text

} // namespace katarix::jet
