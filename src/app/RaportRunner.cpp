#include "app/RaportRunner.h"

#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/Ustawienia.h"
#include "jet/PrivateFile.h"
#include "rtf/RTFReport.h"

#include <QFile>

namespace katarix::app {

namespace {

bool separator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
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

} // namespace

QString polaczSciezke(const QString &folder, const QString &name)
{
    if (!folder.isEmpty() && separator(folder.back()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon)
{
    return UruchomRaport(raport, szablon, ustawieniaProgramu());
}

int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon, const Ustawienia &ustawienia)
{
    try {
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
        const QString plik = WolnaNazwaWyniku(wzorzec);
        raport.ExecuteAndSave(plik);
        OtworzWEdytorze(edytor, plik);
        return 0;
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    } catch (...) {
        PokazWyjatek(QStringLiteral("Nieznany błąd podczas tworzenia raportu."));
    }
    return 1;
}

QString WolnaNazwaWyniku(const QString &wzorzec)
{
    qsizetype cut = wzorzec.size();
    while (cut > 0 && !separator(wzorzec[cut - 1]))
        --cut;
    const QString folder = wzorzec.left(cut);
    QString nazwa = wzorzec.mid(cut);
    const qsizetype kropka = nazwa.lastIndexOf(QLatin1Char('.'));
    const QString rozszerzenie = kropka < 0 ? QString() : nazwa.mid(kropka);
    if (!rozszerzenie.isEmpty())
        nazwa.remove(nazwa.indexOf(rozszerzenie), rozszerzenie.size());

    for (int i = 0; i <= 200; ++i) {
        const QString kandydat =
            folder + nazwa + (i == 0 ? QString() : QString::number(i)) + rozszerzenie;
        QFile plik(kandydat);
        if (jet::openPrivate(plik, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            plik.close();
            return kandydat;
        }
    }
    throw AppError(QStringLiteral("Nie udało się określić poprawnej ścieżki dostępu dla pliku wynikowego.\n"
                                  "Sprawdź w ustawieniach czy katalog wynikowy dla raportów jest poprawny."));
}

void OtworzWEdytorze(const QString &edytor, const QString &plik)
{
    EditorLaunch wynik = interaction().launchEditor(edytor, plik);
    if (wynik != EditorLaunch::Started)
        wynik = interaction().launchEditor(QString(), plik);
    const QString tekst = komunikatEdytora(wynik);
    if (!tekst.isEmpty())
        Komunikat(tekst, QString(), mb::IconError);
}

} // namespace katarix::app
