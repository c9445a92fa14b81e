#pragma once

#include <string>

namespace katarix::jet {

// Appends one code point to a UTF-8 string.
inline void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// UTF-16 code units to UTF-8 as QString::toUtf8 writes them: a surrogate pair is one code point,
// a lone surrogate becomes '?'.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(std::string &out) : m_out(out) {}
    ~Utf16ToUtf8() { finish(); }

    void put(char16_t unit)
    {
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const bool low = unit >= 0xDC00 && unit < 0xE000;
        if (m_high) {
            if (low) {
                appendUtf8(m_out, 0x10000 + ((char32_t(m_high) - 0xD800) << 10) + (unit - 0xDC00));
                m_high = 0;
                return;
            }
            m_out += '?';
            m_high = 0;
        }
        if (high)
            m_high = unit;
        else if (low)
            m_out += '?';
        else if (unit < 0x80)
            m_out += char(unit);
        else
            appendUtf8(m_out, unit);
    }
    void finish()
    {
        if (m_high)
            m_out += '?';
        m_high = 0;
    }

private:
    std::string &m_out;
    char16_t m_high = 0;
};

} // namespace katarix::jet
