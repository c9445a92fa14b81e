#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace katarix::rtf {

// The Windows code page that goes with an RTF font character set (238 -> 1250); 0 if unknown.
int codePageForCharset(int charset);

// A byte of a single-byte Windows code page as Unicode (1250 and 1252 known; others give
// the Latin-1 reading), and back: 0 when the character has no byte in that code page.
QChar charFromCodePage(unsigned char byte, int codePage);
unsigned char byteInCodePage(QChar c, int codePage);

// Text as RTF body text: backslash and braces escaped, non-ASCII characters as \uN with a
// one-byte fallback in fallbackCodePage (\'hh, or ? when it has none), tabs as \tab, and
// each line break (CR LF, CR or LF) as \line. The result assumes \uc1 is in force.
QByteArray escapeRtfText(const QString &text, int fallbackCodePage);

} // namespace katarix::rtf
