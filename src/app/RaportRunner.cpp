#include "app/RaportRunner.h"

#include "app/Interaction.h"
#include "app/MainFrm.h"
#include "app/PostepRaportu.h"
#include "app/UstawieniaFrm.h"
#include "jet/PrivateFile.h"
#include "rtf/RTFReport.h"

#include <QFile>
#include <QFileInfo>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace katarix::app {

namespace {

bool separator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// Where the file name of a path begins (after its last '/' or '\\').
qsizetype poczatekNazwy(const QString &path)
{
    qsizetype cut = path.size();
    while (cut > 0 && !separator(path[cut - 1]))
        --cut;
    return cut;
}

QString komunikatEdytora(EditorLaunch wynik)
{
    const QString naglowek = QStringLiteral("Nie można uruchomić edytora RTF:\n");
    switch (wynik) {
    case EditorLaunch::OtherError:
        return naglowek + QStringLiteral("Brak pamięci lub zasobów systemowych.");
    case EditorLaunch::ProgramNotFound:
    case EditorLaunch::DocumentNotFound:
        return naglowek + QStringLiteral("Niewłaściwa ścieżka lub nazwa pliku.");
    case EditorLaunch::AccessDenied:
        return naglowek + QStringLiteral("Dostęp do pliku jest zabroniony.");
    case EditorLaunch::LibraryMissing:
        return naglowek + QStringLiteral("Nie znaleziono wymaganej biblioteki dynamicznej (dll).");
    case EditorLaunch::Started:
        break;
    }
    return QString();
}

// What a report held (datasets, rows, the filling's buffers) goes back to the system once the
// document is saved, so that a large report does not leave the program large.
struct ZwolnienieRaportu {
    explicit ZwolnienieRaportu(rtf::TRTFReport &raport) : m_raport(raport) {}
    ~ZwolnienieRaportu()
    {
        m_raport.OnProgress = nullptr;
        m_raport.ClearTables();
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    }
    rtf::TRTFReport &m_raport;
};

// Fills the document: counts its rows (asking about a large one), picks the output name and
// writes the document. Empty when the user answered "Nie".
QString WypelnijDokument(rtf::TRTFReport &raport, const QString &wzorzec, const LiczenieWierszy &liczenie)
{
    PostepRaportu postep;
    qint64 wiersze = 0;
    if (liczenie) {
        wiersze = liczenie(postep);
        if (wiersze > GranicaWierszy &&
            Komunikat(QStringLiteral("Dokument będzie bardzo duży (%1 wierszy). Czy kontynuować?").arg(wiersze),
                      QString(), mb::YesNo | mb::IconQuestion, false) != mb::IdYes)
            return QString();
    }
    const QString plik = WolnaNazwaWyniku(wzorzec);
    raport.OnProgress = [&postep, wiersze](qint64 zapisane) {
        postep.krok(wiersze > 0 ? "Wiersze dokumentu: %1 z %2" : "Wiersze dokumentu: %1", zapisane, wiersze);
    };
    raport.ExecuteAndSave(plik);
    return plik;
}

} // namespace

UstawieniaRaportu biezaceUstawieniaRaportu()
{
    UstawieniaRaportu ustawienia;
    if (UstawieniaFrm) {
        ustawienia.edytor = UstawieniaFrm->edytor();
        ustawienia.katalogSzablonow = UstawieniaFrm->katalogSzablonow();
        ustawienia.katalogWynikowy = UstawieniaFrm->katalogWynikowy();
    }
    return ustawienia;
}

QString polaczSciezke(const QString &folder, const QString &name)
{
    if (!folder.isEmpty() && separator(folder.back()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const LiczenieWierszy &liczenie)
{
    return UruchomRaport(raport, szablon, biezaceUstawieniaRaportu(), liczenie);
}

int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const UstawieniaRaportu &ustawienia,
                  const LiczenieWierszy &liczenie)
{
    try {
        ZwolnienieRaportu zwolnienie(raport);
        raport.ClearTables();
        const QString edytor = ustawienia.edytor;
        const QString wzorzec = polaczSciezke(ustawienia.katalogWynikowy, QStringLiteral("Wynik.rtf"));
        const QString sciezkaSzablonu = polaczSciezke(ustawienia.katalogSzablonow, szablon);
        if (!raport.LoadTemplate(sciezkaSzablonu)) {
            interaction().beep();
            Komunikat(QStringLiteral("Nie udało się załadować szablonu ") + sciezkaSzablonu +
                          QStringLiteral(".\nSprawdź czy ten plik istnieje."),
                      QString(), mb::IconWarning, false);
            return 1;
        }
        const QString plik = WypelnijDokument(raport, wzorzec, liczenie);
        if (plik.isEmpty())
            return 1;
        OtworzWEdytorze(edytor, plik);
        return 0;
    } catch (const RaportPrzerwany &) {
        // "Anuluj": the document is gone and nothing more is said.
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    } catch (...) {
        PokazWyjatek(QStringLiteral("Nieznany błąd podczas tworzenia raportu."));
    }
    return 1;
}

QString WolnaNazwaWyniku(const QString &wzorzec)
{
    const qsizetype cut = poczatekNazwy(wzorzec);
    const QString folder = wzorzec.left(cut);
    QString nazwa = wzorzec.mid(cut);
    const qsizetype kropka = nazwa.lastIndexOf(QLatin1Char('.'));
    const QString rozszerzenie = kropka < 0 ? QString() : nazwa.mid(kropka);
    if (!rozszerzenie.isEmpty())
        nazwa.remove(nazwa.indexOf(rozszerzenie), rozszerzenie.size());

    for (int i = 0; i <= 200; ++i) {
        const QString kandydat =
            folder + nazwa + (i == 0 ? QString() : QString::number(i)) + rozszerzenie;
        // The lock first: an open document must not even be opened for writing.
        if (ZablokowanyPrzezEdytor(kandydat))
            continue;
        QFile plik(kandydat);
        if (jet::openPrivate(plik, QIODevice::WriteOnly)) {
            plik.close();
            return kandydat;
        }
    }
    throw AppError(QStringLiteral("Nie udało się określić poprawnej ścieżki dostępu dla pliku wynikowego.\n"
                                  "Sprawdź w ustawieniach czy katalog wynikowy dla raportów jest poprawny."));
}

bool ZablokowanyPrzezEdytor(const QString &path)
{
    const qsizetype cut = poczatekNazwy(path);
    const QString folder = path.left(cut);
    const QString nazwa = path.mid(cut);
    // Word's owner file replaces the name's first two characters by "~$"; for a short name it
    // keeps one or all of them ("Wynik.rtf" may give "~$Wynik.rtf").
    if (QFileInfo::exists(folder + QStringLiteral(".~lock.") + nazwa + QLatin1Char('#')))
        return true;
    for (int skipped = 2; skipped >= 0; --skipped)
        if (QFileInfo::exists(folder + QStringLiteral("~$") + nazwa.mid(skipped)))
            return true;
    return false;
}

void OtworzWEdytorze(const QString &edytor, const QString &plik)
{
    EditorLaunch wynik = interaction().launchEditor(edytor, plik);
    if (wynik != EditorLaunch::Started)
        wynik = interaction().launchEditor(QString(), plik);
    const QString tekst = komunikatEdytora(wynik);
    if (!tekst.isEmpty())
        interaction().messageBox(MainFrm, tekst, TytulAplikacji(), mb::IconError);
}

int TMainFrm::UruchomRaport(rtf::TRTFReport &raport, const QString &szablon)
{
    return app::UruchomRaport(raport, szablon);
}

QString TMainFrm::WolnaNazwaWyniku(const QString &wzorzec)
{
    return app::WolnaNazwaWyniku(wzorzec);
}

void TMainFrm::OtworzWEdytorze(const QString &edytor, const QString &plik)
{
    app::OtworzWEdytorze(edytor, plik);
}

} // namespace katarix::app
