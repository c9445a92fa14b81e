#include "OsobyTestSupport.h"

#include "app/Formularze.h"
#include "app/support/TestApplication.h"
#include "app/Ustawienia.h"
#include "jet/JetFunctions.h"
#include "persons/Rejestracja.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLocale>

namespace katarix::test {

void rejestrOsob(registergen::RegisterBuilder &b)
{
    b.add("SLO_NAZWISKA", {{"MSLINK", 12}, {"NAZWISKO", "Kowalski"}});
    b.add("SLO_NAZWISKA", {{"MSLINK", 13}, {"NAZWISKO", "Nowak"}});
    b.add("SLO_IMIONA", {{"MSLINK", 7}, {"IMIE", "Jan"}});
    b.add("SLO_IMIONA", {{"MSLINK", 8}, {"IMIE", "Maria"}});
    b.add("SLO_IMIONA", {{"MSLINK", 9}, {"IMIE", "Piotr"}});
    b.add("SLO_IMIONA", {{"MSLINK", 10}, {"IMIE", "Łukasz"}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 1.0}, {"NAZWA", "Kraków"}});
    b.add("SLO_MIEJSC", {{"MIEJSC_ID", 2.0}, {"NAZWA", "Wieliczka"}});
    b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 1}, {"PRZEDROSTEK", "ul."}});
    b.add("SLO_ULICE", {{"ULICA_ID", 501}, {"NAZWA", "Długa"}, {"RODZ_UL_ID", 1}, {"MIEJSC_ID", 1.0}});
    b.add("SLO_ULICE", {{"ULICA_ID", 502}, {"NAZWA", "Krótka"}, {"RODZ_UL_ID", 1}, {"MIEJSC_ID", 1.0}});
    b.add("SLO_ULICE", {{"ULICA_ID", 503}, {"NAZWA", "Rynek"}, {"MIEJSC_ID", 2.0}});
    b.add("KOD_POCZT", {{"KOD_ID", 1}, {"KOD", "30-001"}});
    b.add("KOD_POCZT", {{"KOD_ID", 2}, {"KOD", "30-950"}});
    b.add("KOD_POCZT", {{"KOD_ID", 3}, {"KOD", "31-100"}});
    b.add("ADRES", {{"ADRES_ID", 1001.0}, {"ULICA_ID", 501}, {"KOD_ID", 1}, {"NUMER", "5"}, {"NUMER2", "2"},
                    {"ADR_FULL", "Kraków, ul. Długa 5/2"}});
    b.add("ADRES", {{"ADRES_ID", 1002.0}, {"ULICA_ID", 502}, {"KOD_ID", 2}, {"NUMER", "5'A"},
                    {"ADR_FULL", "Kraków, ul. Krótka 5'A"}});
    b.add("ADRES", {{"ADRES_ID", 1003.0}, {"ULICA_ID", 503}, {"KOD_ID", 3}, {"NUMER", "7"},
                    {"ADR_FULL", "Wieliczka, Rynek 7"}});
    b.add("OSFIZ", {{"OSFIZ_ID", osoby::Kowalski}, {"NAZWISKO_ID", 12}, {"IMIE_ID", 7}, {"IMIE2_ID", 8},
                    {"OJCIEC_ID", 9}, {"PESEL", "80010112345"}, {"NIP", "1234563218"}, {"ADRES_ID", 1001.0}});
    b.add("OSFIZ", {{"OSFIZ_ID", osoby::Lukasz}, {"NAZWISKO_ID", 12}, {"IMIE_ID", 10}, {"PESEL", "9"},
                    {"ADRES_ID", 1002.0}});
    b.add("OSFIZ", {{"OSFIZ_ID", osoby::Nowak}, {"NAZWISKO_ID", 13}, {"IMIE_ID", 7}, {"PESEL", "10"},
                    {"ADRES_ID", 1003.0}});
    b.add("OSFIZ", {{"OSFIZ_ID", 0.0}, {"NAZWISKO_ID", 12}, {"IMIE_ID", 7}, {"ADRES_ID", 1001.0}});
    b.add("OSPRAW", {{"OSPRAW_ID", osoby::Zgoda}, {"NAZWA", "PRZEDSIĘBIORSTWO BUDOWLANE 'ZGODA'"}, {"SKROT", "PB'Z"},
                     {"REGON", "123456785"}, {"NIP", "9876543210"}, {"ADRES_ID", 1001.0}});
    b.add("OSPRAW", {{"OSPRAW_ID", osoby::Handlowe}, {"NAZWA", "PRZEDSIĘBIORSTWO HANDLOWE"}, {"SKROT", "ABC"},
                     {"ADRES_ID", 1003.0}});
    b.add("OSPRAW", {{"OSPRAW_ID", 299999999.0}, {"NAZWA", "POZA ZAKRESEM"}, {"SKROT", "ABC"}});
    b.add("OSPRAW", {{"OSPRAW_ID", 500000000.0}, {"NAZWA", "MAŁŻEŃSTWO"}, {"SKROT", "ABC"}});
}

void pisz(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

ProgramOsob::ProgramOsob()
{
    ensureApplication();
    persons::zarejestrujKartotekeOsob();
    app::UtworzFormularze();
    registergen::RegisterBuilder builder;
    rejestrOsob(builder);
    builder.toDatabase(app::MainFrm->baza());
}

ProgramOsob::~ProgramOsob()
{
    app::ZwolnijFormularze();
    app::zarejestrujOkno(app::OknoProgramu::KartotekaOsob, nullptr);
}

void OsobyTest::SetUp()
{
    ensureApplication();
    // Polish regional settings: decimal comma (the fixture's guard), Polish order.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QDir(root.path()).mkpath(QStringLiteral("Program"));
    main = new app::TMainFrm(nullptr, root.filePath(QStringLiteral("Program")));
    app::MainFrm = main;
    registergen::RegisterBuilder builder;
    rejestrOsob(builder);
    builder.toDatabase(main->baza());
    frm = new persons::TKarOsFrm;
}

void OsobyTest::TearDown()
{
    delete frm;
    delete main;
    app::MainFrm = nullptr;
    app::ustawieniaProgramu() = app::Ustawienia();
    QLocale::setDefault(QLocale::c());
}

std::vector<double> OsobyTest::wiersze(const persons::TKarOsFrm *frm)
{
    std::vector<double> out;
    for (int i = 0; i < frm->iloscWierszy(); ++i)
        out.push_back(frm->wiersz(i)->Ident.mslink);
    return out;
}

std::vector<double> OsobyTest::zaznaczone(const persons::TKarOsFrm *frm)
{
    std::vector<double> out;
    for (int i = 0; i < frm->iloscWierszy(); ++i)
        if (frm->wiersz(i)->isSelected())
            out.push_back(frm->wiersz(i)->Ident.mslink);
    return out;
}

} // namespace katarix::test
