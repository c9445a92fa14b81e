#pragma once

#include <QString>

class QComboBox;
class QLineEdit;

namespace katarix::jet {
class Dataset;
}

namespace katarix::persons {

// Lookup combo boxes of the person searches: a first entry "wszystkie" with the empty key, then
// one entry per row with the row's key (as text) beside the shown text.

// Refills the list from the open dataset; the entry chosen before stays chosen when its key is
// still listed, otherwise the empty entry is. Emits no change signals.
void WypelnijLookup(QComboBox *lookup, jet::Dataset &qry, const QString &poleKlucza, const QString &poleTekstu);
// Only the empty entry.
void CzyscListeLookup(QComboBox *lookup);
// The key of the chosen entry; empty for "wszystkie" or no choice.
QString KluczLookup(const QComboBox *lookup);
void UstawPustyLookup(QComboBox *lookup);
// Chooses the entry with the key; false when there is none.
bool UstawKluczLookup(QComboBox *lookup, const QString &klucz);

// The digits of a masked edit (literals and empty places dropped).
QString CyfryMaski(const QLineEdit *edit);
// Typed letters become capitals as they are typed.
void WymusWielkieLitery(QLineEdit *edit);

} // namespace katarix::persons
