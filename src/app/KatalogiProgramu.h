#pragma once

#include <QString>

namespace katarix::app {

// The user's own folders (XDG): where an installed program keeps its configuration and documents.
struct KatalogiUzytkownika {
    QString konfiguracja; // ~/.config, or $XDG_CONFIG_HOME
    QString dokumenty;    // the documents folder, ~/Documents unless the user's XDG folders say otherwise

    // The folders of the user running the program.
    static KatalogiUzytkownika biezace();
};

// Where the program finds its folders. There are two layouts:
//   a tree (the build tree or a copy of it): <root>/Program/katarix with Katarix.ini beside it, and
//     <root>/Szablony, <root>/Tmp and <root>/Bazy; KatalogGlowny is <root>/;
//   an installation (the program in <prefix>/bin beside <prefix>/share/katarix): the templates, the
//     demo register and the default Katarix.ini under <prefix>/share/katarix, which is KatalogGlowny;
//     the configuration file is the user's, documents go to the user's documents folder, and
//     nothing under <prefix> is ever written.
struct KatalogiProgramu {
    bool instalacja = false;
    QString katalogGlowny; // ends in '/'
    QString plikIni;       // the configuration file
    QString szablony;      // the default templates folder ("wydruk"/"szablony")
    QString wyniki;        // the default folder of documents ("wydruk"/"wynik") and of CSV lists
    QString bazy;          // the register dialog's folder when no register is remembered

    // The folders of a tree whose root is katalogGlowny (ending in '/'); plikIni is left empty.
    static KatalogiProgramu drzewo(const QString &katalogGlowny);

    // The folder the register dialog opens in: an installed program starts in the folder of the
    // remembered register while it exists; otherwise bazy.
    QString folderWyboruBazy(const QString &sciezkaBazy) const;
};

// Finds the folders of the program in programFolder and makes them ready to use:
// - a tree keeps Katarix.ini beside the program while that file (or, without it, the folder) can be
//   written; otherwise it uses the user's <konfiguracja>/Katarix/Katarix.ini, copied from beside the
//   program the first time;
// - an installation uses <konfiguracja>/Katarix/Katarix.ini, copied from <prefix>/share/katarix the
//   first time, and creates <dokumenty>/Katarix readable by its owner alone (0700) when it is missing.
KatalogiProgramu przygotujKatalogi(const QString &programFolder, const KatalogiUzytkownika &uzytkownik);

} // namespace katarix::app
