#include "app/Ustawienia.h"

#include "app/IniFile.h"
#include "widgets/ColorPanel.h"

#include <algorithm>

namespace katarix::app {

namespace {

const QString kWydruk = QStringLiteral("wydruk");
const QString kRgrun = QStringLiteral("Rgrun");
const QString kRaportJR = QStringLiteral("RaportJR");

} // namespace

Ustawienia::Ustawienia()
    : kolorWla(widgets::colorFromWindows(DomyslnyWlaColor)),
      kolorUw(widgets::colorFromWindows(DomyslnyUwColor)),
      kolorUk2(widgets::colorFromWindows(DomyslnyUk2Color)),
      kolorUk3(widgets::colorFromWindows(DomyslnyUk3Color))
{
}

QString Ustawienia::domyslnyEdytor()
{
    // LibreOffice Writer's launcher as Debian and most distributions install it.
    return QStringLiteral("/usr/bin/lowriter");
}

Ustawienia Ustawienia::wczytaj(const QString &plikIni, const KatalogiProgramu &katalogi)
{
    const IniFile ini(plikIni);
    Ustawienia u;
    u.edytor = ini.ReadString(kWydruk, QStringLiteral("przeglad"), domyslnyEdytor());
    u.katalogSzablonow = ini.ReadString(kWydruk, QStringLiteral("szablony"), katalogi.szablony);
    u.katalogWynikowy = ini.ReadString(kWydruk, QStringLiteral("wynik"), katalogi.wyniki);
    u.kolorWla = widgets::colorFromWindows(ini.ReadInteger(kRgrun, QStringLiteral("WlaColor"), DomyslnyWlaColor));
    u.kolorUw = widgets::colorFromWindows(ini.ReadInteger(kRgrun, QStringLiteral("UwColor"), DomyslnyUwColor));
    u.kolorUk2 = widgets::colorFromWindows(ini.ReadInteger(kRgrun, QStringLiteral("Uk2Color"), DomyslnyUk2Color));
    u.kolorUk3 = widgets::colorFromWindows(ini.ReadInteger(kRgrun, QStringLiteral("Uk3Color"), DomyslnyUk3Color));
    u.zakresDlk = std::clamp(ini.ReadInteger(kRaportJR, QStringLiteral("ZakresDlk"), 0), -1, LiczbaZakresow - 1);
    return u;
}

void Ustawienia::zapisz(const QString &plikIni) const
{
    IniFile ini(plikIni);
    ini.WriteString(kWydruk, QStringLiteral("przeglad"), edytor);
    ini.WriteString(kWydruk, QStringLiteral("szablony"), katalogSzablonow);
    ini.WriteString(kWydruk, QStringLiteral("wynik"), katalogWynikowy);
    ini.WriteInteger(kRgrun, QStringLiteral("WlaColor"), widgets::colorToWindows(kolorWla));
    ini.WriteInteger(kRgrun, QStringLiteral("UwColor"), widgets::colorToWindows(kolorUw));
    ini.WriteInteger(kRgrun, QStringLiteral("Uk2Color"), widgets::colorToWindows(kolorUk2));
    ini.WriteInteger(kRgrun, QStringLiteral("Uk3Color"), widgets::colorToWindows(kolorUk3));
    ini.WriteInteger(kRaportJR, QStringLiteral("ZakresDlk"), zakresDlk);
}

Ustawienia &ustawieniaProgramu()
{
    static Ustawienia settings;
    return settings;
}

} // namespace katarix::app
