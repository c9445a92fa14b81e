#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QTextBrowser>

class QAction;
class QToolBar;

namespace katarix::app {

// The clerk's guide: Markdown pages with pictures in one folder, the table of contents first.
namespace podrecznik {
inline constexpr const char *SpisTresci = "README.md";
// Where the guide may stand, relative to the folder above the program's folder: beside the
// program's folder (build tree, copied tree) and in the installed data folder (/usr/bin/katarix
// with /usr/share/katarix/Podrecznik).
QStringList katalogiKandydujace(const QString &katalogGlowny);
// The first candidate that holds the table of contents; empty when none does.
QString katalog(const QString &katalogGlowny);
} // namespace podrecznik

// A text browser for the guide's pages: Markdown with relative links between pages; pictures
// wider than the page are shown scaled down to its width; a link to a page that is missing
// gives the Polish message and the page shown stays.
class TPrzegladarkaPodrecznika : public QTextBrowser {
    Q_OBJECT
public:
    explicit TPrzegladarkaPodrecznika(QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
};

// "Podręcznik użytkownika": a window of its own beside the main window, opened with F1.
class TPodrecznikFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit TPodrecznikFrm(QWidget *parent = nullptr);

    // Shows a page of the guide in folder (the table of contents when page is empty); false,
    // after the Polish message, when the page is missing.
    bool Pokaz(const QString &folder, const QString &page = QString());

    QToolBar *NawigacjaTlb = nullptr;
    QAction *SpisTresciAct = nullptr, *WsteczAct = nullptr, *DalejAct = nullptr;
    TPrzegladarkaPodrecznika *Tekst = nullptr;

private:
    QString m_folder;
};

// The message for a guide page that cannot be found (warning icon, application title).
void PodrecznikNieznaleziony(const QString &sciezka);

// F1: the one guide window of the program, brought to the front (created on first use, owned by
// owner); nullptr, after the message, when the guide is not installed.
TPodrecznikFrm *PokazPodrecznik(QWidget *owner, const QString &katalogGlowny);

} // namespace katarix::app
