#pragma once

#include <QString>
#include <functional>

namespace katarix::rtf {
class TRTFReport;
}

namespace katarix::app {

class PostepRaportu;

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

// The rows a report's document will write, counted with the report's own queries before anything
// is written (a list that must be built first is built here); it reports through postep.
using LiczenieWierszy = std::function<qint64(PostepRaportu &postep)>;

// A document of more rows than this is announced, and written only when the user agrees.
inline constexpr qint64 GranicaWierszy = 100000;

// Produces a document: clears the component's tables, loads szablon from the templates folder,
// counts the document's rows when the report can (asking "Dokument będzie bardzo duży (N
// wierszy). Czy kontynuować?" beyond GranicaWierszy; "Nie" writes nothing), fills it into the
// first free output name (WolnaNazwaWyniku of "Wynik.rtf") as it is filled, forgets the datasets
// and opens it in the editor. From the count on, the progress dialog "Tworzenie raportu..." shows
// once the report has run for a second; its "Anuluj" removes the partial document, shows nothing
// and starts no editor. Returns 0 when the document was produced and handed to the editor, 1 when
// not; the reason (missing template with a beep, or the error of any step) has been shown, except
// after "Anuluj" or "Nie". A failed document (out of memory included) leaves no file behind.
int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const LiczenieWierszy &liczenie = {});
int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const UstawieniaRaportu &ustawienia,
                  const LiczenieWierszy &liczenie = {});

// The first of wzorzec, then wzorzec with 1..200 before its extension, that is free: not held by
// an editor (LibreOffice's lock file ".~lock.<name>#" or Word's owner file, "~$" and the name
// without its first two characters, or one or none of them for a short name, lies beside it, a
// stale one included) and writable as it is (see
// jet::openPrivate). A new file is created empty; an existing one is not touched before it is
// written. Throws AppError when none is free.
QString WolnaNazwaWyniku(const QString &wzorzec);

// Whether an editor holds the document at path: its lock file lies beside it.
bool ZablokowanyPrzezEdytor(const QString &path);

// Opens plik in the program edytor; when that fails, in the document's associated program.
// A failure of the last attempt is shown in an error box.
void OtworzWEdytorze(const QString &edytor, const QString &plik);

} // namespace katarix::app
