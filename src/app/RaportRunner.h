#pragma once

#include <QString>

namespace katarix::rtf {
class TRTFReport;
}

namespace katarix::app {

// Where a report run takes its template, where it writes the document and which editor opens
// it; read from the settings dialog at the moment of each run.
struct UstawieniaRaportu {
    QString edytor;           // "wydruk"/"przeglad"
    QString katalogSzablonow; // "wydruk"/"szablony"
    QString katalogWynikowy;  // "wydruk"/"wynik"
};

// The current values of the settings dialog (empty texts while it does not exist).
UstawieniaRaportu biezaceUstawieniaRaportu();

// folder + separator + name; a folder that already ends in '/' or '\' gets no second one.
QString polaczSciezke(const QString &folder, const QString &name);

// Produces a document: clears the component's tables, loads szablon from the templates folder,
// fills it into the first writable output name (WolnaNazwaWyniku of "Wynik.rtf") and opens it
// in the editor. Returns 0 when the document was produced and handed to the editor, 1 when not;
// the reason (missing template with a beep, or the error of any step) has been shown.
int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon);
int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const UstawieniaRaportu &ustawienia);

// The first of wzorzec, then wzorzec with 1..200 before its extension, that can be opened for
// writing; the file is created empty (an existing one truncated). Throws AppError when none can.
QString WolnaNazwaWyniku(const QString &wzorzec);

// Opens plik in the program edytor; when that fails, in the document's associated program.
// A failure of the last attempt is shown in an error box.
void OtworzWEdytorze(const QString &edytor, const QString &plik);

} // namespace katarix::app
