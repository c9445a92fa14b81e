#pragma once

#include "app/LayoutStore.h"
#include "browsers/ToolWindows.h"
#include "jet/StrHolder.h"

namespace katarix::widgets {
class THTMLViewer;
}

namespace katarix::browsers {

// The change that created the current record of a register list: its case numbers, who entered
// it and when, the kind of change, the case's documents and description, as a small HTML page.
class TTWzmianyFrm : public TToolWindow {
    Q_OBJECT
public:
    // database: the register (default: the main window's connection). The owner prefixes the
    // storage section and sets the caption.
    explicit TTWzmianyFrm(QWidget *owner, jet::Database *database = nullptr);
    ~TTWzmianyFrm() override;

    // Shows the change zmianaId (a missing change gives empty cells); widoczne false empties
    // the page.
    void PokazZmiane(bool widoczne, double zmianaId);
    // The page with all cells blank.
    void Wyczysc();
    // The case's numbers, each after a space, separated by <br>; empty below 1.
    QString NumerySprawy(double sprawaId);
    // The case's documents, survey works and archived survey works, separated by <br>.
    QString DokumentySprawy(double sprawaId);

    widgets::THTMLViewer *Html;
    app::LayoutStore FrmStrg;
    jet::StrHolder MainSh;
    jet::Query *ZmianaQry, *NrZmnQry, *DokQry;

protected:
    bool pozycjaZapisana() const override;
    void showEvent(QShowEvent *event) override;

private:
    // Lays the page out again only when its text changed: a hidden window is cleared on every
    // row move of the grid it follows.
    void pokazStrone();
    bool m_ukladWczytany = false;
    QString m_strona;
};

// The text with &, < and > written as entities, to stand as text in a page.
QString tekstHtml(QString text);

} // namespace katarix::browsers
