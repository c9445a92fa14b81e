#pragma once

// The engine's UTF-8 text and number core, shared by its source files: the SQL functions
// (JetFunctions.cpp), text order and LIKE (TextOrder.cpp), numbers and Format$ (NumberText.cpp).
// Not for use outside src/jet.

#include <QString>
#include <QChar>

#include <string>

namespace katarix::jet::text {

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

// Jet text order of two UTF-8 texts (the JET collation).
int compareUtf8(const char *a, int lengthA, const char *b, int lengthB);
// LIKE with % and _ and [...] lists, case-insensitive (Polish letters included).
bool likeMatch(const char *p, const char *pEnd, const char *t, const char *tEnd);

void appendInteger(std::string &out, long long value);
// The shortest general form (see numberToText) with the given or the regional separator.
void appendNumber(std::string &out, double value, char32_t separator);
void appendNumber(std::string &out, double value);
bool parseRegionalNumber(const char *p, int length, double *value);

// A parsed Format$ mask, kept by SQLite as auxiliary data of a constant mask argument.
struct FormatMask;
FormatMask *parseFormatMask(const QString &mask);
void applyFormatMask(const FormatMask &mask, std::string &out, double value);
void freeFormatMask(void *mask);

} // namespace katarix::jet::text
