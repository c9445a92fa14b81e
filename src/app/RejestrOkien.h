#pragma once

#include <functional>

class QWidget;

namespace katarix::app {

// Windows the main window opens on demand, one instance each.
enum class OknoProgramu { KartotekaDzialek, KartotekaOsob, RejestrGruntow, RejestrLokali, SpisWladajacych };
constexpr int LiczbaOkienProgramu = 5;

// Creates the window (no parent); the main window places the four MDI windows in its MDI area
// and shows the list-of-holders dialog modally. The window is deleted when it closes.
using FabrykaOkna = std::function<QWidget *()>;
// Makes the window's menu item and toolbar button work; until then they are disabled.
// A null factory unregisters.
void zarejestrujOkno(OknoProgramu okno, FabrykaOkna fabryka);
bool oknoZarejestrowane(OknoProgramu okno);

// The open instance of a window: made by utworzOkno, until it is deleted or closed through
// zamknijOkno; nullptr while there is none.
QWidget *okno(OknoProgramu okno);
// A new instance from the window's factory, remembered as the open one; nullptr when the
// window is not registered or its factory made none.
QWidget *utworzOkno(OknoProgramu okno);
// Closes the open instance (through its MDI frame when it has one) and forgets it; false when
// the window refused to close (it then stays the open one).
bool zamknijOkno(OknoProgramu okno);

// The register windows' entry point for PokazRejestrGruntow/PokazRejestrLokali.
class OknoRejestru {
public:
    virtual ~OknoRejestru() = default;
    virtual void PokazJr(double idJr) = 0;
};

} // namespace katarix::app
