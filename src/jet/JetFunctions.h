#pragma once

#include <QString>
#include <QStringView>

struct sqlite3;

namespace katarix::jet {

// Installs the Jet user functions and the JET collation on a connection.
void registerJetExtensions(sqlite3 *db);

// Jet text order: case-insensitive, Polish alphabet (a < ą < b ... l < ł ... z < ź < ż).
int compareJetText(QStringView a, QStringView b);

// Application-wide regional setting: the decimal separator of every number printed or parsed.
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);
void useSystemDecimalSeparator(); // from the user's locale (LC_NUMERIC / LANG)

// A number as Jet turns it into text: shortest form (12, not 12.0), regional separator.
QString numberToText(double value);
// Format$(value, mask) with digit masks and the named formats; an empty mask is the plain form.
QString formatNumber(double value, const QString &mask);
// Parses a number typed with the regional separator; ok=false when it is not a number.
double textToNumber(const QString &text, bool *ok);

} // namespace katarix::jet
