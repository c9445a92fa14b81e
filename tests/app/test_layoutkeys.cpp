// The sections and keys every kind of window writes into Katarix.ini, pinned: files kept by
// earlier versions hold them, so a window that changes its layout code must still write these.
// The windows are opened from the main window's menu as a clerk opens them, the change windows
// shown, and all of them closed with the main window.
#include "app/IniFile.h"
#include "app/MainFrm.h"
#include "app/support/Child.h"
#include "app/support/RecordingInteraction.h"
#include "app/support/TestApplication.h"
#include "app/support/TestWindows.h"
#include "browsers/Rejestracja.h"
#include "parcels/Rejestracja.h"
#include "persons/Rejestracja.h"
#include "registergen/RegisterBuilder.h"

#include <QAction>
#include <QApplication>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace katarix;

namespace {

registergen::RegisterBuilder rejestr()
{
    registergen::RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("RLOK", {{"ID_JR", 201.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    return b;
}

// What each key holds: two integers, one integer, a dock, a flag, header columns.
const QRegularExpression kPara(QStringLiteral("^-?\\d+,-?\\d+$"));
const QRegularExpression kLiczba(QStringLiteral("^-?\\d+$"));
const QRegularExpression kDok(QStringLiteral("^(Top|Bottom|Left|Right|Floating)$"));
const QRegularExpression kFlaga(QStringLiteral("^1$"));
const QRegularExpression kKolumny(QStringLiteral("^\\d+:-?\\d+(,\\d+:-?\\d+)*$"));

struct Klucz {
    const char *nazwa;
    const QRegularExpression *wartosc;
};

struct Sekcja {
    const char *nazwa;
    std::vector<Klucz> klucze; // in the order the window writes them
};

std::vector<Klucz> posSize() { return {{"Pos", &kPara}, {"Size", &kPara}}; }

std::vector<Klucz> granice()
{
    return {{"Left", &kLiczba}, {"Top", &kLiczba}, {"Width", &kLiczba}, {"Height", &kLiczba}, {"State", &kLiczba}};
}

std::vector<Klucz> rejestrOkno(std::vector<Klucz> dodatkowe)
{
    std::vector<Klucz> klucze = granice();
    for (const Klucz &k : std::vector<Klucz>{{"Panel2.Height", &kLiczba},
                                             {"Panel3.Width", &kLiczba},
                                             {"MainTlbr.DockedTo", &kDok},
                                             {"MainTlbr.Visible", &kFlaga},
                                             {"OsobyGrd.Columns", &kKolumny}})
        klucze.push_back(k);
    klucze.insert(klucze.end(), dodatkowe.begin(), dodatkowe.end());
    return klucze;
}

TEST(LayoutKeysTest, EveryKindOfWindowWritesItsSectionsAndKeys)
{
    test::ensureApplication();
    test::RecordingInteraction recording;
    const test::ProgramFolder folder;
    browsers::zarejestrujOknaRejestrow();
    parcels::zarejestrujKartotekeDzialek();
    persons::zarejestrujKartotekeOsob();
    app::MainFrm = new app::TMainFrm(nullptr, folder.program);
    rejestr().toDatabase(app::MainFrm->baza());
    app::MainFrm->resize(1000, 700);
    app::MainFrm->show();
    for (const char *polecenie : {"KartotekaDzialekMi", "KartotekaOsobMi", "RejestrGruntMi", "Rejestrlokali1"})
        test::child<QAction>(app::MainFrm, polecenie)->trigger();
    for (const auto okno : {app::OknoProgramu::RejestrGruntow, app::OknoProgramu::RejestrLokali})
        test::child<QAction>(app::okno(okno), "ZmianyTBtn")->trigger();
    QApplication::processEvents();
    const QString ini = app::MainFrm->PlikIni;
    delete app::MainFrm;
    app::MainFrm = nullptr;
    for (const auto okno : {app::OknoProgramu::RejestrGruntow, app::OknoProgramu::RejestrLokali,
                            app::OknoProgramu::KartotekaDzialek, app::OknoProgramu::KartotekaOsob})
        app::zarejestrujOkno(okno, nullptr);
    EXPECT_TRUE(recording.messages.empty());

    const Sekcja oczekiwane[] = {
        {"KATARIX.KarDzFrm", posSize()},
        {"KATARIX.DodDlkFrm", {{"Pos", &kPara}}},
        {"Katarix.TWbudFrm/KarDzFrm", posSize()},
        {"KATARIX.KarOsFrm", posSize()},
        {"KATARIX.KART_OS_TOOLBARS.MainTlb", {{"DockedTo", &kDok}, {"Visible", &kFlaga}, {"Index", &kLiczba}}},
        {"KATARIX.KART_OS_TOOLBARS.ToolsTlb", {{"DockedTo", &kDok}, {"Visible", &kFlaga}, {"Index", &kLiczba}}},
        {"KATARIX.TDodFizFrm", {{"Pos", &kPara}}},
        {"KATARIX.TDodPrawFrm", {{"Pos", &kPara}}},
        {"KATARIX.TWjrOsobyFrm", posSize()},
        {"KATARIX.REJESTR_GRUNTOW",
         rejestrOkno({{"KlasouzTW.Left", &kLiczba},
                      {"KlasouzTW.Top", &kLiczba},
                      {"KlasouzTW.Width", &kLiczba},
                      {"KlasouzTW.Height", &kLiczba},
                      {"DzialkiGrd.Columns", &kKolumny},
                      {"BudGrd.Columns", &kKolumny}})},
        {"Katarix.TWbudFrm/RgFrm", posSize()},
        {"Katarix.TWlokFrm/RgFrm", posSize()},
        {"KATARIX.KomentFrm/RgFrm", posSize()},
        {"RejGrun.KATARIX.ZmianyFrm", granice()},
        {"KATARIX.REJESTR_LOKALI", rejestrOkno({})},
        {"KATARIX.KomentFrm/RlFrm", posSize()},
        {"RejLok.KATARIX.ZmianyFrm", granice()},
    };
    const app::IniFile plik(ini);
    QStringList sekcje = plik.ReadSections();
    sekcje.removeAll(QStringLiteral("Baza"));
    QStringList nazwy;
    for (const Sekcja &s : oczekiwane)
        nazwy << QString::fromLatin1(s.nazwa);
    sekcje.sort();
    nazwy.sort();
    EXPECT_EQ(sekcje, nazwy);
    for (const Sekcja &s : oczekiwane) {
        SCOPED_TRACE(s.nazwa);
        const QString sekcja = QString::fromLatin1(s.nazwa);
        QStringList klucze;
        for (const Klucz &k : s.klucze)
            klucze << QString::fromLatin1(k.nazwa);
        EXPECT_EQ(plik.ReadSection(sekcja), klucze);
        for (const Klucz &k : s.klucze) {
            const QString wartosc = plik.ReadString(sekcja, QString::fromLatin1(k.nazwa), QString());
            EXPECT_TRUE(k.wartosc->match(wartosc).hasMatch()) << k.nazwa << " = " << wartosc.toStdString();
        }
    }
}

} // namespace
