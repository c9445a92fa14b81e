#pragma once

#include <QChar>
#include <QString>

namespace katarix::jet {

// Application-wide regional setting: the decimal separator of every number printed or parsed.
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);
void useSystemDecimalSeparator(); // from the user's locale (LC_NUMERIC / LANG)

// Numbers as text. One rounding rule throughout: half away from zero on the decimal digits
// (0.105 to two decimals is 0.11), never on the binary value.
// The shortest general form, as Jet turns a number into text: at most 15 significant digits,
// no trailing zeros (12, not 12.0), exponent below 1E-4 and from 1E+15, regional separator.
QString numberToText(double value);
// Fixed notation: rounded to `decimals` places from at most 10 significant digits, regional
// separator, no thousands separators, never an exponent (1E10 with 2 decimals: 10000000000.00).
QString fixedText(double value, int decimals);
// A number written into SQL text (ids, keys): its exact shortest form with a full stop,
// never an exponent or a thousands separator (1000000, 12.5).
QString sqlNumber(double value);
// Format$(value, mask) with digit masks and the named formats; an empty mask is the plain form.
QString formatNumber(double value, const QString &mask);
// Parses a number typed with the regional separator; ok=false when it is not a number.
double textToNumber(const QString &text, bool *ok);

} // namespace katarix::jet
