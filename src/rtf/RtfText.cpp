#include "RtfText.h"

#include "jet/Windows1250.h"

namespace katarix::rtf {

namespace {

// Upper halves (0x80..0xFF) of the Windows code pages; 0 marks an unassigned byte.
const char16_t kCp1252[128] = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

const char16_t *upperHalf(int codePage)
{
    switch (codePage) {
    case 1250:
        return jet::kWindows1250Upper.data();
    case 1252:
        return kCp1252;
    default:
        return nullptr;
    }
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

QChar charFromCodePage(unsigned char byte, int codePage)
{
    if (byte < 0x80)
        return QChar(byte);
    const char16_t *table = upperHalf(codePage);
    if (!table)
        return QChar(byte);
    const char16_t c = table[byte - 0x80];
    return c ? QChar(c) : QChar(QChar::ReplacementCharacter);
}

unsigned char byteInCodePage(QChar c, int codePage)
{
    if (c.unicode() < 0x80)
        return static_cast<unsigned char>(c.unicode());
    const char16_t *table = upperHalf(codePage);
    if (!table)
        return 0;
    for (int i = 0; i < 128; ++i) {
        if (table[i] == c.unicode())
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

QByteArray escapeRtfText(const QString &text, int fallbackCodePage)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += "\\line ";
        } else if (u == u'\n') {
            out += "\\line ";
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u < 0x20) {
            continue; // other control characters have no place in a document
        } else if (u < 0x80) {
            out += char(u);
        } else {
            // \u takes a signed 16-bit number; surrogate halves go one by one.
            out += "\\u";
            out += QByteArray::number(u > 0x7FFF ? int(u) - 0x10000 : int(u));
            const unsigned char fallback = byteInCodePage(c, fallbackCodePage);
            if (fallback) {
                out += "\\'";
                out += hex[fallback >> 4];
                out += hex[fallback & 0xF];
            } else {
                out += '?';
            }
        }
    }
    return out;
}

} // namespace katarix::rtf
