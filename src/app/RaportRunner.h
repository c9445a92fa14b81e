#pragma once

#include <QString>

namespace katarix::rtf {
class TRTFReport;
}

namespace katarix::app {

struct Ustawienia;

// folder + separator + name; a folder that already ends in '/' or '\' gets no second one.
QString polaczSciezke(const QString &folder, const QString &name);

// Produces a document: clears the component's tables, loads szablon from the templates folder,
// fills it into the first writable output name (WolnaNazwaWyniku of "Wynik.rtf") and opens it
// in the editor. Returns 0 when the document was produced and handed to the editor, 1 when not;
// the reason (missing template with a beep, or the error of any step) has been shown. The
// templates and output folders and the editor are the program's settings at the moment of the
// run (ustawieniaProgramu()), or the given ones.
int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon);
int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const Ustawienia &ustawienia);

// The first of wzorzec, then wzorzec with 1..200 before its extension, that can be opened for
// writing; the file is created empty (an existing one truncated). Throws AppError when none can.
QString WolnaNazwaWyniku(const QString &wzorzec);

// Opens plik in the program edytor; when that fails, in the document's associated program.
// A failure of the last attempt is shown in an error box.
void OtworzWEdytorze(const QString &edytor, const QString &plik);

} // namespace katarix::app
