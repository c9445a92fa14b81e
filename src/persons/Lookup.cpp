#include "persons/Lookup.h"

#include "jet/Dataset.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

namespace katarix::persons {

namespace {

// Keys are written into SQL as they stand: numbers in their shortest form with a full stop.
QString tekstKlucza(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    return jet::Dataset::valueToText(value);
}

} // namespace

void CzyscListeLookup(QComboBox *lookup)
{
    const QSignalBlocker blocker(lookup);
    lookup->clear();
    lookup->addItem(QStringLiteral("wszystkie"), QString());
}

void WypelnijLookup(QComboBox *lookup, jet::Dataset &qry, const QString &poleKlucza, const QString &poleTekstu)
{
    const QString wybrany = KluczLookup(lookup);
    CzyscListeLookup(lookup);
    const QSignalBlocker blocker(lookup);
    const int klucz = qry.fieldIndex(poleKlucza);
    const int tekst = qry.fieldIndex(poleTekstu);
    for (int row = 0; row < qry.recordCount(); ++row)
        lookup->addItem(jet::Dataset::valueToText(qry.valueAt(row, tekst)), tekstKlucza(qry.valueAt(row, klucz)));
    const int indeks = wybrany.isEmpty() ? -1 : lookup->findData(wybrany);
    lookup->setCurrentIndex(std::max(indeks, 0));
}

QString KluczLookup(const QComboBox *lookup)
{
    return lookup->currentIndex() < 0 ? QString() : lookup->currentData().toString();
}

void UstawPustyLookup(QComboBox *lookup) { lookup->setCurrentIndex(lookup->count() > 0 ? 0 : -1); }

bool UstawKluczLookup(QComboBox *lookup, const QString &klucz)
{
    const int indeks = lookup->findData(klucz);
    if (indeks < 0)
        return false;
    lookup->setCurrentIndex(indeks);
    return true;
}

QString CyfryMaski(const QLineEdit *edit)
{
    QString out;
    for (const QChar c : edit->text())
        if (c.isDigit())
            out += c;
    return out;
}

void WymusWielkieLitery(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

} // namespace katarix::persons
